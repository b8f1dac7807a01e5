#include "records/report/ReportCsv.h"

#include <QSaveFile>

namespace zorva::report {

namespace {

void appendField(QByteArray& out, const QString& value) {
    const QByteArray bytes = value.toUtf8();
    const bool quoted = bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
                        bytes.contains('\r');
    if (!quoted) {
        out += bytes;
        return;
    }
    out += '"';
    for (char c : bytes) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

void appendLine(QByteArray& out, const QStringList& values) {
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i) out += ',';
        appendField(out, values.at(i));
    }
    out += "\r\n";
}

} // namespace

QByteArray reportCsv(const Report& r) {
    QList<const Element*> cells;
    QStringList heading;
    for (const auto& [header, detail] : r.columns) {
        const Element* h = r.element(header);
        const Element* d = r.element(detail);
        if (!d || !d->visible) continue;
        heading << (h ? h->text : QString());
        cells << d;
    }
    QByteArray out;
    appendLine(out, heading);
    QStringList values;
    for (qsizetype row = 0; row < qsizetype(r.rows.size()); ++row) {
        values.clear();
        for (const Element* d : cells) values << r.valueOf(*d, row);
        appendLine(out, values);
    }
    return out;
}

bool writeCsv(const Report& r, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(reportCsv(r)) < 0 || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zorva::report

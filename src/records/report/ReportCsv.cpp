#include "records/report/ReportCsv.h"
#include "platform/Csv.h"

#include <QSaveFile>

namespace zorva::report {

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
    appendCsvLine(out, heading);
    QStringList values;
    for (qsizetype row = 0; row < qsizetype(r.rows.size()); ++row) {
        values.clear();
        for (const Element* d : cells) values << r.valueOf(*d, row);
        appendCsvLine(out, values);
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

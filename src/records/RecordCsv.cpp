#include "records/RecordCsv.h"
#include "platform/Csv.h"
#include "platform/Database.h"
#include "platform/SchemaServer.h"
#include "records/RecordDetail.h"

#include <QSaveFile>
#include <QSqlField>
#include <QSqlRecord>

namespace zorva {

namespace {

// The column names of IP_Info as the export heads them, read from an empty answer.
bool appendHeading(QByteArray& out, QString* error) {
    auto q = runSql(QStringLiteral("SELECT rowid AS zorva_key, * FROM IP_Info WHERE 1 = 0"), {}, error);
    if (!q) return false;
    QStringList names;
    for (const ProgramField& c : programFields(q->record(), QStringLiteral("IP_Info"), 1)) names << c.name;
    appendCsvLine(out, names);
    return true;
}

} // namespace

bool writeRecordsCsv(const std::vector<qint64>& keys, const QString& path, QString* error,
                     const RecordsCsvOptions& options) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    constexpr size_t kChunk = 500;
    bool heading = true;
    if (keys.empty() && options.headingAlways) {
        QByteArray out;
        if (!appendHeading(out, error)) return false;
        file.write(out);
    }
    for (size_t at = 0; at < keys.size(); at += kChunk) {
        const size_t end = std::min(keys.size(), at + kChunk);
        QStringList marks;
        QVariantList values;
        for (size_t i = at; i < end; ++i) {
            marks << QStringLiteral("?");
            values << keys[i];
        }
        auto q = runSql(QStringLiteral("SELECT rowid AS zorva_key, * FROM IP_Info WHERE rowid IN (") +
                            marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                        values, error);
        if (!q) return false;
        QHash<qint64, QStringList> lines;
        QByteArray out;
        while (q->next()) {
            const QSqlRecord r = q->record();
            const QList<ProgramField> columns = programFields(r, QStringLiteral("IP_Info"), 1);
            if (heading) {
                QStringList names;
                for (const ProgramField& c : columns) names << c.name;
                appendCsvLine(out, names);
                heading = false;
            }
            QStringList fields;
            for (const ProgramField& c : columns)
                fields << (c.name == QLatin1String("DateIssue") ? issueDateText(r.value(c.index))
                                                                : r.value(c.index).toString());
            lines.insert(r.value(0).toLongLong(), fields);
        }
        for (size_t i = at; i < end; ++i)
            if (lines.contains(keys[i])) appendCsvLine(out, lines.value(keys[i]));
        if (file.write(out) != out.size()) break;
        if (options.progress && !options.progress(qint64(end), qint64(keys.size()))) {
            file.cancelWriting();
            if (error) *error = QStringLiteral("Cancelled.");
            return false;
        }
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zorva

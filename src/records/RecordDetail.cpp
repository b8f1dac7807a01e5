#include "records/RecordDetail.h"
#include "platform/Database.h"

namespace zorva {

QString issueDateText(const QVariant& stored) {
    const QString text = stored.toString();
    const QDate d = QDate::fromString(text.left(10), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : text;
}

QString issueDateValue(const QDate& date) { return date.toString(Qt::ISODate); }

QString updateNote(const QSqlRecord& record) {
    return QStringLiteral("Last Update by ") + record.value(QStringLiteral("InputBy")).toString() +
           QStringLiteral(" on ") + issueDateText(record.value(QStringLiteral("DateIssue")));
}

namespace {
std::optional<QSqlRecord> first(QWidget* parent, const QString& where, const QVariantList& values) {
    auto q = runSqlOrReport(parent, QStringLiteral("SELECT rowid AS zorva_key, * FROM IP_Info Where ") + where,
                            values);
    if (!q || !q->next()) return std::nullopt;
    return q->record();
}
} // namespace

std::optional<QSqlRecord> readRecord(QWidget* parent, const RecordQuery& query) {
    return first(parent, query.where, query.values);
}

std::optional<QSqlRecord> readRecord(QWidget* parent, const QVariant& key) {
    return first(parent, QStringLiteral("rowid = ?"), {key});
}

} // namespace zorva

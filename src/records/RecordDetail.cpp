#include "records/RecordDetail.h"
#include "platform/Database.h"

#include <QTimeZone>

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

QString reclaimNote(const QString& address) {
    auto q = runSql(QStringLiteral("SELECT MarkedBy, MarkedAt FROM Monitor_Reclaim WHERE IP_Address = ?"), {address});
    if (!q || !q->next()) return {};
    // The monitor keeps the moment in UTC.
    QDateTime at = QDateTime::fromString(q->value(1).toString().left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    at.setTimeZone(QTimeZone::utc());
    const QString by = q->value(0).toString();
    return QStringLiteral("Marked for reclaim by %1 on %2")
        .arg(by.isEmpty() ? QStringLiteral("?") : by,
             at.isValid() ? at.toLocalTime().date().toString(Qt::ISODate) : q->value(1).toString());
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

#include "monitor/MonitorViews.h"
#include "monitor/MonitorStore.h"
#include "platform/Database.h"

#include <QSqlRecord>

namespace zorva {

namespace {

std::optional<MonitorTable> table(QSqlDatabase db, const QStringList& columns, const QString& sql,
                                  const QVariantList& values, QString* error) {
    auto q = runSqlOn(db, sql, values, error);
    if (!q) return std::nullopt;
    MonitorTable out{columns, {}};
    while (q->next()) {
        QVariantList row;
        for (int i = 0; i < columns.size(); ++i) row << q->value(i);
        out.rows << row;
    }
    return out;
}

// The address numbers of an area (its octet 1); everything without an area. An area without
// an octet 1 covers nothing.
std::optional<std::pair<qint64, qint64>> areaNumbers(QSqlDatabase db, const QString& area, QString* error) {
    if (area.isEmpty()) return std::pair<qint64, qint64>{0, 0xffffffffLL};
    auto q = runSqlOn(db, QStringLiteral("SELECT AssignIP FROM Region WHERE Region = ?"), {area}, error);
    if (!q) return std::nullopt;
    if (!q->next() || q->value(0).isNull()) return std::pair<qint64, qint64>{-1, -1};
    const qint64 first = (q->value(0).toLongLong() & 0xff) << 24;
    return std::pair<qint64, qint64>{first, first + 0xffffff};
}

const QString kRecordedSeen = QStringLiteral(
    "SELECT s.IP_Address, i.[Name], i.Region, i.CityOwner, s.LastSeen, s.LastChecked, r.MarkedAt "
    "FROM Monitor_Seen s JOIN IP_Info i ON i.IP_Address = s.IP_Address "
    "LEFT JOIN Monitor_Reclaim r ON r.IP_Address = s.IP_Address "
    "WHERE %1 AND (? = '' OR i.Region = ?) ORDER BY s.IP_Num");
const QStringList kRecordedColumns = {QStringLiteral("Address"),   QStringLiteral("Name"),
                                      QStringLiteral("Area"),      QStringLiteral("City"),
                                      QStringLiteral("Last seen"), QStringLiteral("Last checked"),
                                      QStringLiteral("Marked for reclaim")};

// An empty text bound as text: a null QString would bind NULL, for which "? = ''" is never true.
QString given(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }

} // namespace

QString firstLabel(const QString& name) {
    return name.trimmed().section(QLatin1Char('.'), 0, 0);
}

std::optional<MonitorTable> liveUnrecorded(QSqlDatabase db, const QString& area, QString* error) {
    const auto range = areaNumbers(db, area, error);
    if (!range) return std::nullopt;
    return table(db,
                 {QStringLiteral("Address"), QStringLiteral("First seen"), QStringLiteral("Last seen"),
                  QStringLiteral("Reply (ms)"), QStringLiteral("DNS name"), QStringLiteral("Hardware address")},
                 QStringLiteral("SELECT s.IP_Address, s.FirstSeen, s.LastSeen, s.ReplyMs, s.DnsName, s.MacAddress "
                                "FROM Monitor_Seen s WHERE s.State = ? AND s.IP_Num BETWEEN ? AND ? "
                                "AND NOT EXISTS (SELECT 1 FROM IP_Info i WHERE i.IP_Address = s.IP_Address) "
                                "ORDER BY s.IP_Num"),
                 {monitor::kUp, range->first, range->second}, error);
}

std::optional<MonitorTable> recordedNotSeen(QSqlDatabase db, int days, const QString& area, QString* error) {
    const QVariant cutoff = monitor::storedTime(QDateTime::currentDateTimeUtc().addDays(-qMax(0, days)));
    return table(db, kRecordedColumns, kRecordedSeen.arg(QStringLiteral("s.LastSeen < ?")),
                 {cutoff, given(area), given(area)}, error);
}

std::optional<MonitorTable> recordedNeverSeen(QSqlDatabase db, const QString& area, QString* error) {
    return table(db, kRecordedColumns, kRecordedSeen.arg(QStringLiteral("s.LastSeen IS NULL")), {given(area), given(area)}, error);
}

std::optional<MonitorTable> nameMismatches(QSqlDatabase db, const QString& area, QString* error) {
    auto all = table(db,
                     {QStringLiteral("Address"), QStringLiteral("Recorded name"), QStringLiteral("DNS name"),
                      QStringLiteral("Area"), QStringLiteral("Last seen")},
                     QStringLiteral("SELECT s.IP_Address, i.[Name], s.DnsName, i.Region, s.LastSeen "
                                    "FROM Monitor_Seen s JOIN IP_Info i ON i.IP_Address = s.IP_Address "
                                    "WHERE s.DnsName IS NOT NULL AND (? = '' OR i.Region = ?) ORDER BY s.IP_Num"),
                     {given(area), given(area)}, error);
    if (!all) return std::nullopt;
    // The comparison of first labels is the same on both engines when made here.
    MonitorTable out{all->columns, {}};
    for (const QVariantList& row : all->rows) {
        const QString recorded = firstLabel(row[1].toString()), dns = firstLabel(row[2].toString());
        if (!dns.isEmpty() && recorded.compare(dns, Qt::CaseInsensitive) != 0) out.rows << row;
    }
    return out;
}

std::optional<MonitorTable> hardwareAnomalies(QSqlDatabase db, const QString& area, QString* error) {
    const auto range = areaNumbers(db, area, error);
    if (!range) return std::nullopt;
    return table(db,
                 {QStringLiteral("Address"), QStringLiteral("Hardware address"), QStringLiteral("Addresses with it"),
                  QStringLiteral("Previous hardware address"), QStringLiteral("Changed at")},
                 QStringLiteral("SELECT s.IP_Address, s.MacAddress, m.Sharing, s.PrevMacAddress, s.MacChangedAt "
                                "FROM Monitor_Seen s JOIN (SELECT MacAddress, count(*) AS Sharing FROM Monitor_Seen "
                                "WHERE MacAddress IS NOT NULL GROUP BY MacAddress) m ON m.MacAddress = s.MacAddress "
                                "WHERE s.IP_Num BETWEEN ? AND ? AND (m.Sharing > 1 OR s.PrevMacAddress IS NOT NULL) "
                                "ORDER BY s.MacAddress, s.IP_Num"),
                 {range->first, range->second}, error);
}

std::optional<MonitorTable> lastSweepChanges(QSqlDatabase db, const QString& watch, const QString& area,
                                             QString* error) {
    auto last = runSqlOn(db, QStringLiteral("SELECT rowid FROM Monitor_Sweep WHERE (? = '' OR Watch = ?) AND Outcome = ? "
                                            "ORDER BY StartedAt DESC, rowid DESC LIMIT 1"),
                         {given(watch), given(watch), QStringLiteral("done")}, error);
    if (!last) return std::nullopt;
    const qint64 id = last->next() ? last->value(0).toLongLong() : -1;
    const auto range = areaNumbers(db, area, error);
    if (!range) return std::nullopt;
    return table(db,
                 {QStringLiteral("At"), QStringLiteral("Address"), QStringLiteral("Change"), QStringLiteral("Old"),
                  QStringLiteral("New")},
                 QStringLiteral("SELECT c.At, c.IP_Address, c.Kind, c.Old, c.New FROM Monitor_Change c "
                                "JOIN Monitor_Seen s ON s.IP_Address = c.IP_Address "
                                "WHERE c.SweepId = ? AND s.IP_Num BETWEEN ? AND ? ORDER BY c.rowid"),
                 {id, range->first, range->second}, error);
}

} // namespace zorva

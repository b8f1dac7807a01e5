// The write of a whole sweep: what each address answered against what was stored, in one
// transaction, in groups of rows per statement (a /16 is 65,536 rows).
#include "monitor/MonitorStore.h"
#include "platform/Database.h"
#include "platform/SqlDialect.h"

#include <QHash>
#include <QSqlError>

namespace zorva {

namespace {

constexpr int kValuesPerStatement = 200;

struct SeenRow {
    QVariant firstSeen, lastSeen, replyMs, dnsName, mac, prevMac, macChangedAt;
    QString state;
};

struct Change {
    QString address, kind, old, now;
};

const QStringList kSeenColumns = {
    QStringLiteral("IP_Address"), QStringLiteral("IP_Num"),        QStringLiteral("FirstSeen"),
    QStringLiteral("LastSeen"),   QStringLiteral("LastChecked"),   QStringLiteral("ReplyMs"),
    QStringLiteral("DnsName"),    QStringLiteral("MacAddress"),    QStringLiteral("PrevMacAddress"),
    QStringLiteral("MacChangedAt"), QStringLiteral("State")};

QString placeholders(int columns, int rows) {
    const QString one = QLatin1Char('(') + QStringList(columns, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    return QStringList(rows, one).join(QLatin1Char(','));
}

bool failed(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

bool blank(const QVariant& v) { return v.isNull() || v.toString().isEmpty(); }

// The stored rows of the swept spans, by address number.
std::optional<QHash<quint32, SeenRow>> storedRows(QSqlDatabase db, const QList<AddressSpan>& spans, QString* error) {
    QHash<quint32, SeenRow> out;
    for (const AddressSpan& s : spans) {
        auto q = runSqlOn(db, QStringLiteral("SELECT IP_Num, FirstSeen, LastSeen, ReplyMs, DnsName, MacAddress, "
                                             "PrevMacAddress, MacChangedAt, State FROM Monitor_Seen "
                                             "WHERE IP_Num BETWEEN ? AND ?"),
                          {qint64(s.first), qint64(s.last)}, error);
        if (!q) return std::nullopt;
        while (q->next())
            out.insert(quint32(q->value(0).toLongLong()),
                       {q->value(1), q->value(2), q->value(3), q->value(4), q->value(5), q->value(6),
                        q->value(7), q->value(8).toString()});
    }
    return out;
}

// Runs the statement head + "VALUES" + groups of rows, each row `columns` values. Each size of
// group is prepared once. The groups stay small: the file's driver looks every value's name up
// among all of the statement's, which costs the square of the values per statement.
bool writeGroups(QSqlDatabase db, const QString& head, const QString& tail, int columns,
                 const QVariantList& values, QString* error) {
    const qsizetype rows = values.size() / columns;
    const int group = qMax(1, kValuesPerStatement / columns);
    QSqlQuery q(db);
    int prepared = 0;
    for (qsizetype at = 0; at < rows; at += group) {
        const int n = int(qMin<qsizetype>(group, rows - at));
        if (n != prepared) {
            if (!q.prepare(sqlFor(db, head + QStringLiteral(" VALUES ") + placeholders(columns, n) + tail)))
                return failed(error, sqlErrorText(q));
            prepared = n;
        }
        for (qsizetype i = at * columns; i < (at + n) * columns; ++i) q.addBindValue(values[i]);
        if (!q.exec()) return failed(error, sqlErrorText(q));
    }
    return true;
}

} // namespace

std::optional<SweepCounts> MonitorStore::recordSweep(const SweepResult& r, QString* error) {
    const QVariant now = monitor::storedTime(r.endedAt);
    Transaction t(db_);
    // First the watch: this takes the write lock on the file, and it proves that the lease is
    // still ours (a monitor whose lease ran out and was taken over records nothing).
    const QDateTime next = qMax(r.startedAt.addSecs(qint64(r.intervalMinutes) * 60), r.endedAt);
    auto lease = runSqlOn(db_, QStringLiteral("UPDATE Monitor_Watch SET LastSweep = ?, NextDue = ?, "
                                              "LeaseHolder = NULL, LeaseUntil = NULL "
                                              "WHERE [Name] = ? AND LeaseHolder = ?"),
                          {monitor::storedTime(r.startedAt), monitor::storedTime(next), r.watch, r.holder}, error);
    if (!lease) return std::nullopt;
    if (lease->numRowsAffected() != 1) {
        failed(error, QStringLiteral("The sweep of \"%1\" no longer held the watch; nothing was recorded.").arg(r.watch));
        return std::nullopt;
    }
    const auto stored = storedRows(db_, r.spans, error);
    if (!stored) return std::nullopt;

    SweepCounts counts;
    counts.addresses = r.sightings.size();
    QVariantList seen;
    seen.reserve(r.sightings.size() * kSeenColumns.size());
    QList<Change> changes;
    for (const Sighting& s : r.sightings) {
        const QString address = addressText(s.address);
        const auto found = stored->constFind(s.address);
        const bool known = found != stored->constEnd();
        SeenRow row = known ? *found : SeenRow{};
        const QString was = known ? row.state : QString();
        if (s.up) {
            ++counts.live;
            if (blank(row.firstSeen)) {
                row.firstSeen = now;
                changes.append({address, monitor::kNew, {}, monitor::kUp});
                ++counts.fresh;
            } else if (was != monitor::kUp) {
                changes.append({address, monitor::kCameUp, was, monitor::kUp});
                ++counts.cameUp;
            }
            row.lastSeen = now;
            row.replyMs = s.replyMs;
            if (!s.dnsName.isEmpty()) {
                if (!blank(row.dnsName) && row.dnsName.toString().compare(s.dnsName, Qt::CaseInsensitive) != 0) {
                    changes.append({address, monitor::kNameChanged, row.dnsName.toString(), s.dnsName});
                    ++counts.nameChanged;
                }
                row.dnsName = s.dnsName;
            }
        } else if (was == monitor::kUp) {
            changes.append({address, monitor::kWentDown, monitor::kUp, monitor::kDown});
            ++counts.wentDown;
        }
        if (!s.mac.isEmpty()) {
            if (!blank(row.mac) && row.mac.toString().compare(s.mac, Qt::CaseInsensitive) != 0) {
                changes.append({address, monitor::kHardwareChanged, row.mac.toString(), s.mac});
                ++counts.hardwareChanged;
                row.prevMac = row.mac;
                row.macChangedAt = now;
            }
            row.mac = s.mac;
        }
        const QVariant none(QMetaType(QMetaType::QString));
        const QVariant noNumber(QMetaType(QMetaType::LongLong));
        seen << address << qint64(s.address) << (blank(row.firstSeen) ? none : row.firstSeen)
             << (blank(row.lastSeen) ? none : row.lastSeen) << now
             << (s.up ? QVariant(qint64(s.replyMs)) : noNumber) << (blank(row.dnsName) ? none : row.dnsName)
             << (blank(row.mac) ? none : row.mac) << (blank(row.prevMac) ? none : row.prevMac)
             << (blank(row.macChangedAt) ? none : row.macChangedAt)
             << (s.up ? monitor::kUp : monitor::kDown);
    }

    auto sweep = runSqlOn(db_, QStringLiteral("INSERT INTO Monitor_Sweep (Watch, StartedAt, EndedAt, Addresses, Live, "
                                              "Computer, Outcome) VALUES (?, ?, ?, ?, ?, ?, ?) RETURNING rowid"),
                          {r.watch, monitor::storedTime(r.startedAt), now, counts.addresses, counts.live,
                           QSysInfo::machineHostName(), QStringLiteral("done")},
                          error);
    if (!sweep) return std::nullopt;
    if (!sweep->next()) {
        failed(error, QStringLiteral("The sweep's row was not written."));
        return std::nullopt;
    }
    counts.sweepId = sweep->value(0).toLongLong();
    sweep->finish();

    QStringList update;
    for (const QString& c : kSeenColumns.mid(1)) update << QStringLiteral("%1 = excluded.%1").arg(c);
    if (!writeGroups(db_, QStringLiteral("INSERT INTO Monitor_Seen (%1)").arg(kSeenColumns.join(QStringLiteral(", "))),
                     QStringLiteral(" ON CONFLICT (IP_Address) DO UPDATE SET ") + update.join(QStringLiteral(", ")),
                     int(kSeenColumns.size()), seen, error))
        return std::nullopt;
    QVariantList changeValues;
    for (const Change& c : changes)
        changeValues << counts.sweepId << now << c.address << c.kind
                     << (c.old.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(c.old)) << c.now;
    if (!writeGroups(db_, QStringLiteral("INSERT INTO Monitor_Change (SweepId, At, IP_Address, Kind, Old, New)"), {}, 6,
                     changeValues, error))
        return std::nullopt;
    if (!t.commit()) {
        failed(error, db_.lastError().text());
        return std::nullopt;
    }
    return counts;
}

} // namespace zorva

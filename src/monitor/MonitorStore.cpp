#include "monitor/MonitorStore.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/History.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
#include <QTime>
#include <QTimeZone>

namespace zorva {

namespace monitor {

QVariant storedTime(const QDateTime& utc) {
    if (!utc.isValid()) return QVariant(QMetaType(QMetaType::QString));
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDateTime timeFrom(const QVariant& stored) {
    if (stored.isNull() || stored.toString().isEmpty()) return {};
    QDateTime t = QDateTime::fromString(stored.toString().left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    t.setTimeZone(QTimeZone::utc());
    return t;
}

} // namespace monitor

namespace {

bool refuse(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

std::optional<QTime> windowTime(const QString& text) {
    const QTime t = QTime::fromString(text, QStringLiteral("HH:mm"));
    return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
}

const QString kWatchColumns = QStringLiteral(
    "[Name], Kind, Scope, IntervalMinutes, WindowFrom, WindowTo, RateLimit, LastSweep, NextDue");

Watch watchFrom(const QSqlQuery& q) {
    Watch w;
    w.name = q.value(0).toString();
    w.kind = watchKindFrom(q.value(1).toString()).value_or(WatchKind::Range);
    w.scope = q.value(2).toString();
    w.intervalMinutes = q.value(3).toInt();
    w.windowFrom = q.value(4).toString();
    w.windowTo = q.value(5).toString();
    w.rateLimit = q.value(6).toInt();
    w.lastSweep = monitor::timeFrom(q.value(7));
    w.nextDue = monitor::timeFrom(q.value(8));
    return w;
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

} // namespace

bool watchIsDue(const Watch& w, const QDateTime& now) {
    if (w.nextDue.isValid() && w.nextDue > now) return false;
    const auto from = windowTime(w.windowFrom), to = windowTime(w.windowTo);
    if (!from || !to) return true;
    const QTime local = now.toLocalTime().time();
    return *from <= *to ? local >= *from && local < *to : local >= *from || local < *to;
}

MonitorStore::MonitorStore(QSqlDatabase db) : db_(db) {}

bool MonitorStore::addWatch(const Watch& w, QString* error) {
    if (w.name.trimmed().isEmpty()) return refuse(error, QStringLiteral("A watch needs a name."));
    if (w.intervalMinutes < 1) return refuse(error, QStringLiteral("The interval must be at least one minute."));
    if (w.rateLimit < 1) return refuse(error, QStringLiteral("The rate must be at least one echo per second."));
    if (w.windowFrom.isEmpty() != w.windowTo.isEmpty() ||
        (!w.windowFrom.isEmpty() && (!windowTime(w.windowFrom) || !windowTime(w.windowTo))))
        return refuse(error, QStringLiteral("A window needs a start and an end, each as HH:mm."));
    QString why;
    if (!resolveWatch(w.kind, w.scope, &why))
        return refuse(error, QStringLiteral("The watch \"%1\" covers no addresses: %2").arg(w.name, why));
    if (const auto existing = watch(w.name, &why); existing || !why.isEmpty())
        return refuse(error, why.isEmpty() ? QStringLiteral("A watch named \"%1\" exists already.").arg(w.name) : why);
    return runSqlOn(db_, QStringLiteral("INSERT INTO Monitor_Watch ([Name], Kind, Scope, IntervalMinutes, "
                                        "WindowFrom, WindowTo, RateLimit) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                    {w.name.trimmed(), watchKindText(w.kind), w.scope.trimmed(), w.intervalMinutes,
                     textOrNull(w.windowFrom), textOrNull(w.windowTo), w.rateLimit},
                    error)
        .has_value();
}

std::optional<QList<Watch>> MonitorStore::watches(QString* error) {
    auto q = runSqlOn(db_, QStringLiteral("SELECT %1 FROM Monitor_Watch ORDER BY [Name]").arg(kWatchColumns), {}, error);
    if (!q) return std::nullopt;
    QList<Watch> out;
    while (q->next()) out << watchFrom(*q);
    return out;
}

std::optional<Watch> MonitorStore::watch(const QString& name, QString* error) {
    auto q = runSqlOn(db_, QStringLiteral("SELECT %1 FROM Monitor_Watch WHERE [Name] = ?").arg(kWatchColumns),
                      {name.trimmed()}, error);
    if (!q || !q->next()) return std::nullopt;
    return watchFrom(*q);
}

std::optional<bool> MonitorStore::takeLease(const QString& name, const QString& holder,
                                            const QDateTime& until, bool onlyIfDue, QString* error) {
    const QVariant now = monitor::storedTime(QDateTime::currentDateTimeUtc());
    auto q = runSqlOn(db_,
                      QStringLiteral("UPDATE Monitor_Watch SET LeaseHolder = ?, LeaseUntil = ? "
                                     "WHERE [Name] = ? AND (LeaseHolder IS NULL OR LeaseUntil < ?) "
                                     "AND (? = 0 OR NextDue IS NULL OR NextDue <= ?)"),
                      {holder, monitor::storedTime(until), name, now, onlyIfDue ? 1 : 0, now}, error);
    if (!q) return std::nullopt;
    return q->numRowsAffected() == 1;
}

void MonitorStore::releaseLease(const QString& name, const QString& holder) {
    runSqlOn(db_, QStringLiteral("UPDATE Monitor_Watch SET LeaseHolder = NULL, LeaseUntil = NULL "
                                 "WHERE [Name] = ? AND LeaseHolder = ?"),
             {name, holder});
}

bool MonitorStore::recordFailedSweep(const SweepResult& r, const QString& outcome, QString* error) {
    Transaction t(db_);
    if (!runSqlOn(db_, QStringLiteral("INSERT INTO Monitor_Sweep (Watch, StartedAt, EndedAt, Addresses, Live, "
                                      "Computer, Outcome) VALUES (?, ?, ?, 0, 0, ?, ?)"),
                  {r.watch, monitor::storedTime(r.startedAt), monitor::storedTime(r.endedAt),
                   QSysInfo::machineHostName(), outcome},
                  error))
        return false;
    if (!runSqlOn(db_, QStringLiteral("UPDATE Monitor_Watch SET LeaseHolder = NULL, LeaseUntil = NULL "
                                      "WHERE [Name] = ? AND LeaseHolder = ?"),
                  {r.watch, r.holder}, error))
        return false;
    return t.commit() || refuse(error, db_.lastError().text());
}

namespace {

// The mark and its history entry stand or fall together.
bool changeMark(QSqlDatabase db, const QString& address, bool mark, QString* error) {
    const QString a = address.trimmed();
    Transaction t(db);
    if (mark) {
        auto known = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_Info WHERE IP_Address = ?"), {a}, error);
        if (!known) return false;
        if (!known->next() || known->value(0).toLongLong() == 0)
            return refuse(error, QStringLiteral("%1 is not a recorded address.").arg(a));
        auto marked = runSqlOn(db, QStringLiteral("SELECT count(*) FROM Monitor_Reclaim WHERE IP_Address = ?"), {a}, error);
        if (!marked) return false;
        if (marked->next() && marked->value(0).toLongLong() > 0)
            return refuse(error, QStringLiteral("%1 is marked for reclaim already.").arg(a));
        if (!runSqlOn(db, QStringLiteral("INSERT INTO Monitor_Reclaim (IP_Address, MarkedBy, MarkedAt) VALUES (?, ?, ?)"),
                      {a, textOrNull(appState().gUserID), monitor::storedTime(QDateTime::currentDateTimeUtc())}, error))
            return false;
    } else {
        auto q = runSqlOn(db, QStringLiteral("DELETE FROM Monitor_Reclaim WHERE IP_Address = ?"), {a}, error);
        if (!q) return false;
        if (q->numRowsAffected() < 1) return refuse(error, QStringLiteral("%1 is not marked for reclaim.").arg(a));
    }
    const QString note = QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("reclaim"), mark}}).toJson(QJsonDocument::Compact));
    if (!writeHistoryEntry(db, mark ? monitor::kReclaimMarked : monitor::kReclaimUnmarked, a, note, error))
        return false;
    return t.commit() || refuse(error, db.lastError().text());
}

} // namespace

bool MonitorStore::markReclaim(const QString& address, QString* error) {
    return changeMark(db_, address, true, error);
}

bool MonitorStore::unmarkReclaim(const QString& address, QString* error) {
    return changeMark(db_, address, false, error);
}

bool MonitorStore::removeWatch(const QString& name, QString* error) {
    const QVariant now = monitor::storedTime(QDateTime::currentDateTimeUtc());
    auto q = runSqlOn(db_, QStringLiteral("DELETE FROM Monitor_Watch WHERE [Name] = ? AND (LeaseHolder IS NULL OR LeaseUntil < ?)"),
                      {name, now}, error);
    if (!q) return false;
    if (q->numRowsAffected() == 1) return true;
    QString why;
    if (!watch(name, &why))
        return refuse(error, why.isEmpty() ? QStringLiteral("There is no watch named \"%1\".").arg(name) : why);
    return refuse(error, QStringLiteral("The watch \"%1\" is being swept now; remove it when the sweep is over.").arg(name));
}

} // namespace zorva

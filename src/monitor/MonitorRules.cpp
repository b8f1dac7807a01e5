#include "monitor/MonitorRules.h"
#include "platform/Database.h"

namespace zorva {

QString icmpHint() {
    return QStringLiteral(
        "Echoes need an ICMP socket. Allow them for the users' groups (as root):\n"
        "  sysctl -w net.ipv4.ping_group_range=\"0 2147483647\"\n"
        "or give the program the capability (as root):\n"
        "  setcap cap_net_raw+ep ZorvaMon\n");
}

namespace {

std::optional<CheckedWatch> refused(QString* error, const QString& why) {
    if (error) *error = why;
    return std::nullopt;
}

QString areaOf(const Watch& watch) { return watch.scope.section(QLatin1Char('/'), 0, 0).trimmed(); }

QString localTime(const QDateTime& utc) {
    return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("-");
}

} // namespace

std::optional<CheckedWatch> checkWatchInput(const WatchInput& input, QString* error) {
    CheckedWatch out;
    Watch& w = out.watch;
    w.name = input.name.trimmed();
    if (w.name.isEmpty()) return refused(error, QStringLiteral("Give the watch a name."));
    if (input.fromPlan) {
        const QString area = input.area.trimmed(), city = input.city.trimmed(), equipment = input.equipment.trimmed();
        if (area.isEmpty()) return refused(error, QStringLiteral("Choose the area to watch."));
        if (!equipment.isEmpty() && city.isEmpty())
            return refused(error, QStringLiteral("Choose the city of the equipment range."));
        w.kind = !equipment.isEmpty() ? WatchKind::Equipment : !city.isEmpty() ? WatchKind::City : WatchKind::Area;
        w.scope = QStringList{area, city, equipment}.mid(0, int(w.kind == WatchKind::Area ? 1 : w.kind == WatchKind::City ? 2 : 3))
                      .join(QLatin1Char('/'));
    } else {
        w.kind = WatchKind::Range;
        w.scope = input.ranges.trimmed();
        if (w.scope.isEmpty())
            return refused(error, QStringLiteral("Type the addresses to watch, as 10.1.2.0/24 or 10.1.2.10-200."));
    }
    if (input.intervalMinutes < 1) return refused(error, QStringLiteral("The interval is at least one minute."));
    if (input.rateLimit < 1) return refused(error, QStringLiteral("The rate is at least one echo per second."));
    w.intervalMinutes = input.intervalMinutes;
    w.rateLimit = input.rateLimit;
    if (input.daily) {
        if (!input.from.isValid() || !input.to.isValid() || input.from == input.to)
            return refused(error, QStringLiteral("The daily window needs a start and a different end."));
        w.windowFrom = input.from.toString(QStringLiteral("HH:mm"));
        w.windowTo = input.to.toString(QStringLiteral("HH:mm"));
    }
    QString why;
    const auto range = resolveWatch(w.kind, w.scope, &why);
    if (!range) return refused(error, QStringLiteral("The watch covers no addresses: %1").arg(why));
    out.range = *range;
    return out;
}

QString outsideArea(QSqlDatabase db, const Watch& watch, const WatchRange& range, const QString& area) {
    if (area.isEmpty()) return {};
    if (watch.kind != WatchKind::Range)
        return areaOf(watch).compare(area, Qt::CaseInsensitive) == 0
                   ? QString()
                   : QStringLiteral("You may watch the area %1 only.").arg(area);
    QString error;
    auto q = runSqlOn(db, QStringLiteral("SELECT AssignIP FROM Region WHERE Region = ?"), {area}, &error);
    if (!q) return error;
    if (!q->next() || q->value(0).isNull())
        return QStringLiteral("The area %1 has no first octet in the plan; it cannot be watched.").arg(area);
    const quint32 octet = q->value(0).toUInt() & 0xff;
    const quint32 first = octet << 24, last = first | 0xffffff;
    for (const AddressSpan& s : range.spans)
        if (s.first < first || s.last > last)
            return QStringLiteral("%1-%2 lies outside the area %3 (%4.0.0.0/8). You may watch the area %3 only.")
                .arg(addressText(s.first), addressText(s.last), area)
                .arg(octet);
    return {};
}

bool watchInArea(QSqlDatabase db, const Watch& watch, const QString& area) {
    if (area.isEmpty()) return true;
    if (watch.kind != WatchKind::Range) return areaOf(watch).compare(area, Qt::CaseInsensitive) == 0;
    const auto range = parseWatchRange(watch.scope);
    return range && outsideArea(db, watch, *range, area).isEmpty();
}

SweepNews sweepNews(MonitorSweep::Outcome outcome, const QString& watch, const QString& message,
                    const SweepCounts& c, double seconds) {
    using O = MonitorSweep::Outcome;
    switch (outcome) {
    case O::Done:
        return {Icon::None, QStringLiteral("%1: %2 addresses, %3 live, %4 new, %5 came up, %6 went down (%7 s)")
                                .arg(watch).arg(c.addresses).arg(c.live).arg(c.fresh).arg(c.cameUp).arg(c.wentDown)
                                .arg(seconds, 0, 'f', 1)};
    case O::Skipped:
        return {Icon::Information, message};
    case O::Cancelled:
        return {Icon::Information, message};
    case O::NetworkFailed:
        return {Icon::Critical, QStringLiteral("No echo could be sent for the watch \"%1\" (%2); nothing was recorded.\n\n%3")
                                    .arg(watch, message, icmpHint())};
    case O::Failed:
        break;
    }
    return {Icon::Critical, QStringLiteral("The sweep of \"%1\" failed: %2\nNothing of it was recorded; the watch stays due.")
                                .arg(watch, message)};
}

QStringList watchColumns() {
    return {QStringLiteral("Watch"),    QStringLiteral("Kind"),   QStringLiteral("Scope"),
            QStringLiteral("Interval"), QStringLiteral("Rate"),   QStringLiteral("Window"),
            QStringLiteral("Last sweep"), QStringLiteral("Next due")};
}

QStringList watchRow(const Watch& w) {
    return {w.name,
            watchKindText(w.kind),
            w.scope,
            QStringLiteral("%1 min").arg(w.intervalMinutes),
            QStringLiteral("%1/s").arg(w.rateLimit),
            w.windowFrom.isEmpty() ? QStringLiteral("-") : w.windowFrom + QLatin1Char('-') + w.windowTo,
            localTime(w.lastSweep),
            w.nextDue.isValid() ? localTime(w.nextDue) : QStringLiteral("now")};
}

} // namespace zorva

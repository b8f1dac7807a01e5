#include "net/Ping.h"
#include "net/IcmpEcho.h"

#include <QHash>

namespace zorva {

QString pingStatusText(qint32 status) {
    static const QHash<qint32, QString> texts = {
        {0, QStringLiteral("Success")},
        {11000, QStringLiteral("Status base")},
        {11001, QStringLiteral("Buffer to small")},
        {11002, QStringLiteral("Destination network unreachable")},
        {11003, QStringLiteral("Destination host unreachable")},
        {11004, QStringLiteral("Destination protocol unreachable")},
        {11005, QStringLiteral("Destination port unreachable")},
        {11006, QStringLiteral("No resources")},
        {11007, QStringLiteral("Bad option")},
        {11008, QStringLiteral("hw error")},
        {11009, QStringLiteral("Packet to big")},
        {11010, QStringLiteral("Requested IP timed out")},
        {11011, QStringLiteral("Bad request")},
        {11012, QStringLiteral("Bad route")},
        {11013, QStringLiteral("Time to live expired transmition")},
        {11014, QStringLiteral("Time ti live expired reassem")},
        {11015, QStringLiteral("Param problems")},
        {11016, QStringLiteral("Source quench")},
        {11017, QStringLiteral("Option too big")},
        {11018, QStringLiteral("Bad destination")},
        {11019, QStringLiteral("Address deleted")},
        {11020, QStringLiteral("Spec mtu changed")},
        {11021, QStringLiteral("Mtu changed")},
        {11022, QStringLiteral("Unloaded")},
        {11023, QStringLiteral("Address added")},
        {11050, QStringLiteral("General failure")},
        {11255, QStringLiteral("Ip pending")},
    };
    return texts.value(status, QStringLiteral("Unindentified"));
}

std::optional<qint32> pingTargetValue(const QString& dotted) {
    const QStringList parts = dotted.split(QLatin1Char('.'));
    if (parts.size() > 4) return std::nullopt;
    if (parts.size() < 4) return 0;
    quint32 value = 0;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const QString part = parts[i].trimmed();
        const uint n = part.toUInt(&ok, 10);
        if (!ok || n > 255 || part.isEmpty()) return std::nullopt;
        value |= quint32(n) << (8 * i); // first octet in the lowest byte
    }
    return qint32(value);
}

QString pingTargetText(qint32 target) {
    const quint32 v = quint32(target);
    return QStringLiteral("%1.%2.%3.%4")
        .arg(v & 0xff)
        .arg((v >> 8) & 0xff)
        .arg((v >> 16) & 0xff)
        .arg((v >> 24) & 0xff);
}

PingResult pingResultFrom(const EchoOutcome& outcome, const QString& addressText,
                          qint32 timeoutMs) {
    const QString head = QStringLiteral("Faild to ping : ''") + addressText;
    PingResult r;
    r.status = outcome.status;
    if (outcome.replied) {
        if (outcome.status == PingStatus::Success) {
            r.message = QStringLiteral("Success");
            r.replyTimeMs = outcome.replyTimeMs;
        } else {
            r.message = head + QStringLiteral("'' error description : ") +
                        pingStatusText(outcome.status);
            r.failed = true;
            r.replyTimeMs = timeoutMs;
        }
        if (timeoutMs < outcome.replyTimeMs) {
            r.status = PingStatus::TimedOut;
            r.message = head + QStringLiteral("'' error code : ") +
                        pingStatusText(PingStatus::TimedOut);
            r.failed = true;
            r.replyTimeMs = timeoutMs;
        }
    } else {
        r.message = head + QStringLiteral("'' error code : ") + pingStatusText(outcome.status);
        if (!outcome.detail.isEmpty()) r.message += QStringLiteral(" - ") + outcome.detail;
        r.failed = true;
        r.replyTimeMs = timeoutMs;
    }
    return r;
}

bool Pinger::setPingAddress(const QString& dotted) {
    const auto value = pingTargetValue(dotted);
    text_ = dotted;
    valid_ = value.has_value();
    target_ = value.value_or(0);
    return valid_;
}

PingResult Pinger::badDestination(qint32 timeoutMs) const {
    EchoOutcome o;
    o.status = PingStatus::BadDestination;
    return pingResultFrom(o, text_, timeoutMs);
}

PingResult Pinger::probeWithRule(const ProbeRule& rule) {
    PingResult r;
    for (int i = 0; i < qMax(1, rule.attempts); ++i) {
        r = pingAddress(rule.ttl, rule.timeoutMs);
        if (r.succeeded()) break;
    }
    return r;
}

QList<PingResult> Pinger::sweep(const QStringList& addresses, const ProbeRule& rule) {
    QList<PingResult> out;
    out.reserve(addresses.size());
    for (const QString& a : addresses) {
        setPingAddress(a);
        out << probeWithRule(rule);
    }
    return out;
}

namespace {
Pinger* g_pinger = nullptr;
}

Pinger& pinger() {
    static IcmpPinger real;
    return g_pinger ? *g_pinger : real;
}

void setPinger(Pinger* replacement) { g_pinger = replacement; }

bool setPingAddress(const QString& dotted) { return pinger().setPingAddress(dotted); }

PingResult pingAddress(qint32 ttl, qint32 timeoutMs) { return pinger().pingAddress(ttl, timeoutMs); }

} // namespace zorva

#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorva {

// Status codes of an echo (the values the program has always reported).
namespace PingStatus {
constexpr qint32 Success = 0;
constexpr qint32 DestNetUnreachable = 11002;
constexpr qint32 DestHostUnreachable = 11003;
constexpr qint32 DestProtUnreachable = 11004;
constexpr qint32 DestPortUnreachable = 11005;
constexpr qint32 NoResources = 11006;
constexpr qint32 PacketTooBig = 11009;
constexpr qint32 TimedOut = 11010;
constexpr qint32 BadRoute = 11012;
constexpr qint32 TtlExpiredTransit = 11013;
constexpr qint32 TtlExpiredReassembly = 11014;
constexpr qint32 ParamProblem = 11015;
constexpr qint32 SourceQuench = 11016;
constexpr qint32 BadDestination = 11018;
constexpr qint32 GeneralFailure = 11050;
} // namespace PingStatus

// What one echo request came back with.
struct PingResult {
    QString message;        // "Success" or a failure text
    qint32 replyTimeMs = 0; // echo time on success, the time-out on failure
    bool failed = false;
    qint32 status = PingStatus::TimedOut; // the status the message tells
    bool succeeded() const { return status == PingStatus::Success; }
};

QString pingStatusText(qint32 status);

// The 32-bit target of a dotted address: the four numbers as bytes, first octet in the lowest
// byte (so 10.1.2.200 is negative). Fewer than four parts give 0. Text that is not an address
// (more than four parts, a part that is not a number from 0 to 255) gives nullopt.
std::optional<qint32> pingTargetValue(const QString& dotted);
// The dotted text of a target value.
QString pingTargetText(qint32 target);

// The raw outcome of one echo request, before it becomes a PingResult.
struct EchoOutcome {
    bool replied = false;     // a reply (echo reply or ICMP error) came back
    qint32 status = PingStatus::TimedOut;
    qint32 replyTimeMs = 0;
    QByteArray data;          // data of an echo reply
    QString detail;           // why no echo could be sent at all (no ICMP socket)
};

// The message rules of an echo: success, a reply with an error status, a reply later than the
// time-out, no reply at all.
PingResult pingResultFrom(const EchoOutcome& outcome, const QString& addressText, qint32 timeoutMs);

// How the assignment form decides that an address is in use: up to `attempts` echoes with
// this time-to-live and time-out, stopping at the first "Success".
struct ProbeRule {
    qint32 ttl = 20;
    qint32 timeoutMs = 200;
    int attempts = 4;
    qint32 pacePerSecond = 0; // echoes per second in a sweep; 0: all at once
};

// Sends ICMP echoes. setPingAddress fixes the target, pingAddress sends one echo to it.
// The program uses IcmpPinger; form tests install a fake with setPinger().
class Pinger {
public:
    virtual ~Pinger() = default;

    // Sets the target; false (and target 0) when the text is not an address.
    bool setPingAddress(const QString& dotted);
    qint32 pingTarget() const { return target_; }
    QString pingAddressText() const { return text_; }

    virtual PingResult pingAddress(qint32 ttl, qint32 timeoutMs) = 0;

    // The rule applied to the current target: the answer of the last echo sent.
    PingResult probeWithRule(const ProbeRule& rule = {});
    // The rule applied to every address; per address the same answer as probeWithRule would
    // give. This base version probes one address after the other.
    virtual QList<PingResult> sweep(const QStringList& addresses, const ProbeRule& rule = {});

protected:
    // Whether the target can be sent to at all (0.0.0.0 would reach this machine).
    bool targetSendable() const { return valid_ && target_ != 0; }
    PingResult badDestination(qint32 timeoutMs) const;

private:
    qint32 target_ = 0;
    QString text_;
    bool valid_ = false;
};

// The pinger of the program (the real one unless a test installed another).
Pinger& pinger();
void setPinger(Pinger* replacement); // nullptr restores the real one

// Shorthands on pinger().
bool setPingAddress(const QString& dotted);
PingResult pingAddress(qint32 ttl, qint32 timeoutMs);

} // namespace zorva

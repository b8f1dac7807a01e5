#pragma once
#include "net/Ping.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace zorva {

// Which kind of ICMP socket to use. Auto takes an ICMP datagram socket where the system
// allows it to this user (net.ipv4.ping_group_range) and a raw socket otherwise.
enum class IcmpSocketKind { Auto, Datagram, Raw };

// One echo request of a batch: where to, with which time-to-live and data.
struct EchoRequest {
    qint32 target = 0; // as pingTargetValue gives it
    qint32 ttl = 128;
    QByteArray payload;
};

// Sends every request at once and waits for the answers, each request for at most timeoutMs
// after it was sent. The outcomes come back in the order of the requests. A pace above 0 sends
// at most that many echoes per second (a sweep that must not flood a network). A request that
// gets no answer in time, or an error, is sent again up to `attempts` echoes in all, its
// outcome that of its last echo (or of a late answer to an earlier one).
QList<EchoOutcome> echoBatch(const QList<EchoRequest>& requests, qint32 timeoutMs,
                             IcmpSocketKind kind = IcmpSocketKind::Auto,
                             qint32 pacePerSecond = 0, int attempts = 1);

// The status of an ICMP error message (type, code) and of a local send failure (errno).
qint32 icmpErrorStatus(int type, int code);
qint32 sendErrorStatus(int error);

// The ICMP echo of the program.
class IcmpPinger : public Pinger {
public:
    explicit IcmpPinger(IcmpSocketKind kind = IcmpSocketKind::Auto) : kind_(kind) {}
    static const QByteArray& echoData(); // the 5 fixed bytes sent with every echo

    PingResult pingAddress(qint32 ttl, qint32 timeoutMs) override;
    // All addresses in one paced stream, an address not yet answered tried again in it.
    QList<PingResult> sweep(const QStringList& addresses, const ProbeRule& rule = {}) override;

private:
    IcmpSocketKind kind_;
};

// The reachability test of the update check.
struct EchoPayloadResult {
    QString replyTimeText; // echo time + " ms"
    bool payloadMatched = false;
    qint32 status = -1;    // 0 when a reply came back, else the negated status or -1
};
// Resolves the host (addressFromHostName), sends one echo with `length` random bytes (1 to 254;
// below 1 means 32) and compares the data of the reply with them.
EchoPayloadResult echoWithPayload(const QString& host, qint32 length, qint32 timeoutMs,
                                  IcmpSocketKind kind = IcmpSocketKind::Auto);

} // namespace zorva

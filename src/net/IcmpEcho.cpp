#include "net/IcmpEcho.h"
#include "net/HostLookup.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>
#include <linux/errqueue.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorva {

using Clock = std::chrono::steady_clock;

qint32 icmpErrorStatus(int type, int code) {
    switch (type) {
    case ICMP_DEST_UNREACH:
        switch (code) {
        case ICMP_NET_UNREACH:
        case ICMP_NET_UNKNOWN:
        case ICMP_NET_ANO:
        case ICMP_NET_UNR_TOS:
            return PingStatus::DestNetUnreachable;
        case ICMP_PROT_UNREACH:
            return PingStatus::DestProtUnreachable;
        case ICMP_PORT_UNREACH:
            return PingStatus::DestPortUnreachable;
        case ICMP_FRAG_NEEDED:
            return PingStatus::PacketTooBig;
        case ICMP_SR_FAILED:
            return PingStatus::BadRoute;
        default:
            return PingStatus::DestHostUnreachable;
        }
    case ICMP_TIME_EXCEEDED:
        return code == ICMP_EXC_FRAGTIME ? PingStatus::TtlExpiredReassembly
                                         : PingStatus::TtlExpiredTransit;
    case ICMP_PARAMETERPROB:
        return PingStatus::ParamProblem;
    case ICMP_SOURCE_QUENCH:
        return PingStatus::SourceQuench;
    default:
        return PingStatus::GeneralFailure;
    }
}

qint32 sendErrorStatus(int error) {
    switch (error) {
    case ENETUNREACH:
    case ENETDOWN:
        return PingStatus::DestNetUnreachable;
    case EHOSTUNREACH:
    case EHOSTDOWN:
        return PingStatus::DestHostUnreachable;
    case EMSGSIZE:
        return PingStatus::PacketTooBig;
    case ENOBUFS:
    case ENOMEM:
        return PingStatus::NoResources;
    default:
        return PingStatus::GeneralFailure;
    }
}

namespace {

quint16 checksum(const unsigned char* data, size_t len) {
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < len; i += 2) sum += quint32(data[i]) << 8 | data[i + 1];
    if (len & 1) sum += quint32(data[len - 1]) << 8;
    while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}

quint16 be16(const unsigned char* p) { return quint16(p[0] << 8 | p[1]); }

// The address of a target value in network byte order: the first octet in the lowest byte is
// exactly the memory layout of in_addr on this machine's byte order, so it is built bytewise.
in_addr toInAddr(qint32 target) {
    const quint32 v = quint32(target);
    const unsigned char bytes[4] = {static_cast<unsigned char>(v & 0xff),
                                    static_cast<unsigned char>((v >> 8) & 0xff),
                                    static_cast<unsigned char>((v >> 16) & 0xff),
                                    static_cast<unsigned char>((v >> 24) & 0xff)};
    in_addr a;
    std::memcpy(&a, bytes, 4);
    return a;
}

// One ICMP socket, datagram or raw, and the matching of what comes back to what was sent.
class IcmpSocket {
public:
    explicit IcmpSocket(IcmpSocketKind kind) {
        if (kind != IcmpSocketKind::Raw) {
            fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
            if (fd_ >= 0) {
                datagram_ = true;
                const int on = 1;
                ::setsockopt(fd_, SOL_IP, IP_RECVERR, &on, sizeof on);
                return;
            }
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            if (kind == IcmpSocketKind::Datagram) return;
        }
        fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd_ < 0) {
            const QString rawError = QString::fromLocal8Bit(std::strerror(errno));
            // Says what the administrator types, not only why: a desktop user cannot act on
            // "permission denied", and running the whole program as root is no answer.
            error_ = QStringLiteral("no ICMP socket may be opened here (datagram: %1; raw: %2). "
                                    "Pinging needs one of two changes, made as root: allow ICMP "
                                    "echo for the users' groups with  sysctl -w "
                                    "net.ipv4.ping_group_range=\"0 2147483647\"  or give this "
                                    "program the capability with  setcap cap_net_raw+ep %3")
                         .arg(error_.isEmpty() ? QStringLiteral("not tried") : error_, rawError,
                              QCoreApplication::applicationFilePath());
            return;
        }
        id_ = quint16(QRandomGenerator::global()->bounded(1, 0xffff));
    }
    // Room for the answers of a whole sweep arriving at once.
    void enlargeReceiveBuffer() {
        const int size = 1 << 20;
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
    ~IcmpSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    QString error() const { return error_; }

    // Sends one echo request; 0 or the errno of the failure.
    int send(qint32 target, qint32 ttl, quint16 seq, const QByteArray& payload) {
        if (ttl != ttl_) {
            const int t = qBound(1, int(ttl), 255);
            ::setsockopt(fd_, IPPROTO_IP, IP_TTL, &t, sizeof t);
            ttl_ = ttl;
        }
        QByteArray packet(8, '\0');
        packet += payload;
        auto* p = reinterpret_cast<unsigned char*>(packet.data());
        p[0] = ICMP_ECHO;
        p[4] = id_ >> 8;
        p[5] = id_ & 0xff;
        p[6] = seq >> 8;
        p[7] = seq & 0xff;
        const quint16 sum = checksum(p, size_t(packet.size()));
        p[2] = sum >> 8;
        p[3] = sum & 0xff;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr = toInAddr(target);
        // A datagram socket reports the ICMP error of an earlier request once more as the
        // failure of the next send (the error itself waits in the error queue and is matched
        // there). So a failure counts for this request only when it repeats.
        int error = 0;
        for (int tries = 0; tries < 3; ++tries) {
            if (::sendto(fd_, p, size_t(packet.size()), 0, reinterpret_cast<sockaddr*>(&to),
                         sizeof to) >= 0)
                return 0;
            const int e = errno;
            if (tries > 0 && e == error) break;
            error = e;
            if (!datagram_ && e != EINTR) break;
        }
        return error;
    }

    // What came back for one of our requests.
    struct Answer {
        quint16 seq = 0;
        in_addr about{}; // the address the request went to (as far as the answer tells)
        bool fromTarget = true; // an echo reply must come from the address pinged
        qint32 status = 0;
        QByteArray data;
    };

    // Waits up to waitMs for readable data and reads everything pending.
    QList<Answer> receive(int waitMs) {
        QList<Answer> out;
        pollfd pfd{fd_, POLLIN, 0};
        if (::poll(&pfd, 1, qMax(0, waitMs)) <= 0) return out;
        if (datagram_) readErrorQueue(out);
        unsigned char buf[1500];
        for (;;) {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            const ssize_t n = ::recvfrom(fd_, buf, sizeof buf, MSG_DONTWAIT,
                                         reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n < 0) {
                if (errno == EINTR) continue;
                if (datagram_ && errno != EAGAIN && errno != EWOULDBLOCK) {
                    readErrorQueue(out);
                    continue;
                }
                break;
            }
            if (datagram_)
                parseDatagram(buf, size_t(n), from.sin_addr, out);
            else
                parseRaw(buf, size_t(n), out);
        }
        return out;
    }

private:
    void parseDatagram(const unsigned char* p, size_t n, in_addr from, QList<Answer>& out) {
        if (n < 8 || p[0] != ICMP_ECHOREPLY) return;
        Answer a;
        a.seq = be16(p + 6);
        a.about = from;
        a.data = QByteArray(reinterpret_cast<const char*>(p + 8), qsizetype(n - 8));
        out << a;
    }

    void parseRaw(const unsigned char* p, size_t n, QList<Answer>& out) {
        if (n < 20) return;
        const size_t ihl = size_t(p[0] & 0x0f) * 4;
        if (ihl < 20 || n < ihl + 8) return;
        const unsigned char* icmp = p + ihl;
        const size_t len = n - ihl;
        const int type = icmp[0];
        if (type == ICMP_ECHOREPLY) {
            if (be16(icmp + 4) != id_) return;
            Answer a;
            a.seq = be16(icmp + 6);
            std::memcpy(&a.about, p + 12, 4); // source of the reply
            a.data = QByteArray(reinterpret_cast<const char*>(icmp + 8), qsizetype(len - 8));
            out << a;
            return;
        }
        if (type != ICMP_DEST_UNREACH && type != ICMP_TIME_EXCEEDED &&
            type != ICMP_PARAMETERPROB && type != ICMP_SOURCE_QUENCH)
            return;
        // The error quotes our request: its IP header and the first 8 bytes of its ICMP part.
        const unsigned char* inner = icmp + 8;
        const size_t innerLen = len - 8;
        if (innerLen < 20) return;
        const size_t innerIhl = size_t(inner[0] & 0x0f) * 4;
        if (innerIhl < 20 || innerLen < innerIhl + 8 || inner[9] != IPPROTO_ICMP) return;
        const unsigned char* req = inner + innerIhl;
        if (req[0] != ICMP_ECHO || be16(req + 4) != id_) return;
        Answer a;
        a.seq = be16(req + 6);
        std::memcpy(&a.about, inner + 16, 4); // destination of our request
        a.fromTarget = false;
        a.status = icmpErrorStatus(type, icmp[1]);
        out << a;
    }

    void readErrorQueue(QList<Answer>& out) {
        for (;;) {
            unsigned char data[576];
            char control[512];
            sockaddr_in to{};
            iovec iov{data, sizeof data};
            msghdr msg{};
            msg.msg_name = &to;
            msg.msg_namelen = sizeof to;
            msg.msg_iov = &iov;
            msg.msg_iovlen = 1;
            msg.msg_control = control;
            msg.msg_controllen = sizeof control;
            const ssize_t n = ::recvmsg(fd_, &msg, MSG_ERRQUEUE | MSG_DONTWAIT);
            if (n < 0) return;
            for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c; c = CMSG_NXTHDR(&msg, c)) {
                if (c->cmsg_level != SOL_IP || c->cmsg_type != IP_RECVERR) continue;
                sock_extended_err ee;
                std::memcpy(&ee, CMSG_DATA(c), sizeof ee);
                if (n < 8 || data[0] != ICMP_ECHO) continue;
                Answer a;
                a.seq = be16(data + 6);
                a.about = to.sin_addr;
                a.fromTarget = false;
                a.status = ee.ee_origin == SO_EE_ORIGIN_ICMP ? icmpErrorStatus(ee.ee_type, ee.ee_code)
                                                             : sendErrorStatus(int(ee.ee_errno));
                out << a;
            }
        }
    }

    int fd_ = -1;
    bool datagram_ = false;
    quint16 id_ = 0;
    qint32 ttl_ = -1;
    QString error_;
};

} // namespace

QList<EchoOutcome> echoBatch(const QList<EchoRequest>& requests, qint32 timeoutMs,
                             IcmpSocketKind kind, qint32 pacePerSecond, int attempts) {
    attempts = qMax(1, attempts);
    // An echo's sequence number tells which send it answers: at most 65536 sends per batch.
    const qsizetype most = 65536 / attempts;
    if (requests.size() > most) {
        QList<EchoOutcome> all;
        all.reserve(requests.size());
        for (qsizetype at = 0; at < requests.size(); at += most)
            all += echoBatch(requests.mid(at, most), timeoutMs, kind, pacePerSecond, attempts);
        return all;
    }
    QList<EchoOutcome> outcomes(requests.size());
    if (requests.isEmpty()) return outcomes;
    // Each try has a socket of its own: echoes to neighbours that do not answer wait in the
    // kernel for their hardware address, charged to the socket that sent them, and would hold
    // up the next try's sends on the same socket for seconds.
    std::vector<std::unique_ptr<IcmpSocket>> sockets;
    sockets.push_back(std::make_unique<IcmpSocket>(kind));
    if (!sockets[0]->isOpen()) {
        for (EchoOutcome& o : outcomes) {
            o.status = PingStatus::GeneralFailure;
            o.detail = sockets[0]->error();
        }
        return outcomes;
    }
    if (requests.size() > 1) sockets[0]->enlargeReceiveBuffer();
    const auto socketOfTry = [&](int attempt) -> IcmpSocket& {
        while (int(sockets.size()) <= attempt) {
            auto next = std::make_unique<IcmpSocket>(kind);
            if (!next->isOpen()) return *sockets.back();
            next->enlargeReceiveBuffer();
            sockets.push_back(std::move(next));
        }
        return *sockets[size_t(attempt)];
    };
    const auto timeout = std::chrono::milliseconds(qMax<qint32>(0, timeoutMs));
    const quint16 firstSeq = quint16(QRandomGenerator::global()->bounded(0x10000));
    struct Sent {
        qsizetype request;
        Clock::time_point at;
    };
    std::vector<Sent> sent; // the sequence number of sent[k] is firstSeq + k
    sent.reserve(size_t(requests.size()));
    QList<int> triesLeft(requests.size(), attempts);
    QList<qsizetype> lastSend(requests.size(), -1);
    QList<bool> waiting(requests.size(), false);
    qsizetype pending = 0;      // requests waiting for an answer
    std::deque<qsizetype> again; // requests whose echo failed, to be sent once more
    std::deque<qsizetype> flight; // sends not yet answered or timed out, oldest first
    qsizetype nextNew = 0;
    // A request whose echo failed goes round again while it has tries left; else its outcome stays.
    const auto failedOnce = [&](qsizetype i) {
        if (triesLeft[i] > 0) again.push_back(i);
    };
    // Takes what arrives within waitMs.
    const auto collect = [&](int waitMs) {
        QList<IcmpSocket::Answer> answers;
        if (sockets.size() == 1) {
            answers = sockets[0]->receive(waitMs);
        } else {
            std::vector<pollfd> fds;
            for (const auto& socket : sockets) fds.push_back({socket->fd(), POLLIN, 0});
            if (::poll(fds.data(), nfds_t(fds.size()), qMax(0, waitMs)) > 0)
                for (const auto& socket : sockets) answers += socket->receive(0);
        }
        const auto at = Clock::now();
        for (const auto& a : answers) {
            const size_t k = quint16(a.seq - firstSeq);
            if (k >= sent.size()) continue;
            const qsizetype i = sent[k].request;
            if (!waiting[i] || a.about.s_addr != toInAddr(requests[i].target).s_addr) continue;
            // A late answer to an earlier try still shows the address alive.
            EchoOutcome& o = outcomes[i];
            o.replied = true;
            o.status = a.status;
            o.data = a.data;
            o.replyTimeMs = qint32(std::chrono::duration_cast<std::chrono::milliseconds>(at - sent[k].at).count());
            waiting[i] = false;
            --pending;
            if (a.status != 0) failedOnce(i);
        }
    };
    // Sends whose time is up: their requests go round again or end as timed out.
    const auto expire = [&](Clock::time_point now) {
        while (!flight.empty() && sent[size_t(flight.front())].at + timeout <= now) {
            const qsizetype k = flight.front();
            flight.pop_front();
            const qsizetype i = sent[size_t(k)].request;
            if (!waiting[i] || lastSend[i] != k) continue;
            waiting[i] = false;
            --pending;
            failedOnce(i);
        }
    };
    const auto started = Clock::now();
    // Request k leaves no earlier than k/pace seconds after the first (a sweep must not flood a
    // network); the answers that come meanwhile are taken, so that their times stay true.
    const auto dueOf = [&](size_t k) {
        return pacePerSecond > 0 ? started + std::chrono::microseconds(qint64(k) * 1000000LL / pacePerSecond) : started;
    };
    for (;;) {
        auto now = Clock::now();
        if (!flight.empty() && sent[size_t(flight.front())].at + timeout <= now) {
            collect(0);
            expire(now);
        }
        const bool more = !again.empty() || nextNew < requests.size();
        if (!more && pending == 0) break;
        if (more && dueOf(sent.size()) <= now) {
            qsizetype i = nextNew;
            if (!again.empty()) {
                i = again.front();
                again.pop_front();
            } else {
                ++nextNew;
            }
            const EchoRequest& r = requests[i];
            IcmpSocket& socket = socketOfTry(attempts - triesLeft[i]);
            --triesLeft[i];
            outcomes[i] = EchoOutcome{};
            const qsizetype k = qsizetype(sent.size());
            sent.push_back({i, Clock::now()});
            int err = socket.send(r.target, r.ttl, quint16(firstSeq + k), r.payload);
            // A full queue (neighbours that do not answer yet) makes a try without an answer;
            // any other failure ends the try at once.
            if (err == ENOBUFS || err == EAGAIN) err = 0;
            if (err) {
                outcomes[i].status = sendErrorStatus(err);
                failedOnce(i);
            } else {
                waiting[i] = true;
                lastSend[i] = k;
                ++pending;
                flight.push_back(k);
            }
            // The answers of a long batch are taken as they come: a full receive buffer drops them.
            if ((k & 63) == 63) collect(0);
            continue;
        }
        Clock::time_point until = more ? dueOf(sent.size()) : Clock::time_point::max();
        if (!flight.empty()) until = qMin(until, sent[size_t(flight.front())].at + timeout);
        collect(int(std::chrono::ceil<std::chrono::milliseconds>(until - now).count()));
        expire(Clock::now());
    }
    return outcomes;
}

const QByteArray& IcmpPinger::echoData() {
    static const QByteArray data("Zorva");
    return data;
}

PingResult IcmpPinger::pingAddress(qint32 ttl, qint32 timeoutMs) {
    if (!targetSendable()) return badDestination(timeoutMs);
    const auto outcome = echoBatch({EchoRequest{pingTarget(), ttl, echoData()}}, timeoutMs, kind_);
    return pingResultFrom(outcome.first(), pingAddressText(), timeoutMs);
}

QList<PingResult> IcmpPinger::sweep(const QStringList& addresses, const ProbeRule& rule) {
    QList<PingResult> results(addresses.size());
    QList<qint32> targets(addresses.size(), 0);
    QList<qsizetype> open; // addresses not yet answered with success
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const auto value = pingTargetValue(addresses[i]);
        targets[i] = value.value_or(0);
        if (!value || *value == 0) {
            setPingAddress(addresses[i]);
            results[i] = badDestination(rule.timeoutMs);
        } else {
            open << i;
        }
    }
    // One batch: an address that does not answer is tried again within the same paced stream,
    // so that a sweep costs its echoes at the pace and one time-out, not one per attempt.
    QList<EchoRequest> batch;
    batch.reserve(open.size());
    for (qsizetype i : open) batch << EchoRequest{targets[i], rule.ttl, echoData()};
    const auto outcomes = echoBatch(batch, rule.timeoutMs, kind_, rule.pacePerSecond, rule.attempts);
    for (qsizetype k = 0; k < open.size(); ++k)
        results[open[k]] = pingResultFrom(outcomes[k], addresses[open[k]], rule.timeoutMs);
    return results;
}

EchoPayloadResult echoWithPayload(const QString& host, qint32 length, qint32 timeoutMs,
                                  IcmpSocketKind kind) {
    EchoPayloadResult result;
    const AddressLookup resolved = addressFromHostName(host);
    const auto target = pingTargetValue(resolved.address);
    if (resolved.address.isEmpty() || !target || *target == 0) return result;
    const int n = length < 1 ? 32 : int(length);
    QByteArray payload(n, '\0');
    for (char& c : payload) c = char(QRandomGenerator::global()->bounded(1, 255));
    const auto outcome = echoBatch({EchoRequest{*target, 128, payload}}, timeoutMs, kind).first();
    if (outcome.replied) {
        result.status = 0;
    } else {
        result.status = outcome.status ? -outcome.status : -1;
    }
    result.replyTimeText = QString::number(outcome.replyTimeMs) + QStringLiteral(" ms");
    QByteArray back = outcome.data;
    const qsizetype zero = back.indexOf('\0');
    if (zero >= 0) back.truncate(zero);
    result.payloadMatched = outcome.replied && outcome.status == 0 && back == payload &&
                            outcome.replyTimeMs <= timeoutMs;
    return result;
}

} // namespace zorva

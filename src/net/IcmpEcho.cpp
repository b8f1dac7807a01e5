#include "net/IcmpEcho.h"
#include "net/HostLookup.h"
#include "net/IcmpSocket.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <memory>
#include <vector>
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

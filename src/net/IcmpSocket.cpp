#include "net/IcmpSocket.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <linux/errqueue.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zorva {

namespace {

quint16 checksum(const unsigned char* data, size_t len) {
    quint32 sum = 0;
    for (size_t i = 0; i + 1 < len; i += 2) sum += quint32(data[i]) << 8 | data[i + 1];
    if (len & 1) sum += quint32(data[len - 1]) << 8;
    while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
    return quint16(~sum);
}

quint16 be16(const unsigned char* p) { return quint16(p[0] << 8 | p[1]); }

} // namespace

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

IcmpSocket::IcmpSocket(IcmpSocketKind kind) {
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

void IcmpSocket::enlargeReceiveBuffer() {
    const int size = 1 << 20;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

IcmpSocket::~IcmpSocket() {
    if (fd_ >= 0) ::close(fd_);
}

int IcmpSocket::send(qint32 target, qint32 ttl, quint16 seq, const QByteArray& payload) {
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

QList<IcmpSocket::Answer> IcmpSocket::receive(int waitMs) {
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

void IcmpSocket::parseDatagram(const unsigned char* p, size_t n, in_addr from,
                               QList<Answer>& out) {
    if (n < 8 || p[0] != ICMP_ECHOREPLY) return;
    Answer a;
    a.seq = be16(p + 6);
    a.about = from;
    a.data = QByteArray(reinterpret_cast<const char*>(p + 8), qsizetype(n - 8));
    out << a;
}

void IcmpSocket::parseRaw(const unsigned char* p, size_t n, QList<Answer>& out) {
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

void IcmpSocket::readErrorQueue(QList<Answer>& out) {
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

} // namespace zorva

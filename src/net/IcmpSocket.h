#pragma once
#include "net/IcmpEcho.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <netinet/in.h>

namespace zorva {

// The address of a target value in network byte order.
in_addr toInAddr(qint32 target);

// One ICMP socket, datagram or raw, and the matching of what comes back to what was sent.
class IcmpSocket {
public:
    explicit IcmpSocket(IcmpSocketKind kind);
    ~IcmpSocket();
    IcmpSocket(const IcmpSocket&) = delete;
    IcmpSocket& operator=(const IcmpSocket&) = delete;

    // Room for the answers of a whole sweep arriving at once.
    void enlargeReceiveBuffer();

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    QString error() const { return error_; }

    // Sends one echo request; 0 or the errno of the failure.
    int send(qint32 target, qint32 ttl, quint16 seq, const QByteArray& payload);

    // What came back for one of our requests.
    struct Answer {
        quint16 seq = 0;
        in_addr about{}; // the address the request went to (as far as the answer tells)
        bool fromTarget = true; // an echo reply must come from the address pinged
        qint32 status = 0;
        QByteArray data;
    };

    // Waits up to waitMs for readable data and reads everything pending.
    QList<Answer> receive(int waitMs);

private:
    void parseDatagram(const unsigned char* p, size_t n, in_addr from, QList<Answer>& out);
    void parseRaw(const unsigned char* p, size_t n, QList<Answer>& out);
    void readErrorQueue(QList<Answer>& out);

    int fd_ = -1;
    bool datagram_ = false;
    quint16 id_ = 0;
    qint32 ttl_ = -1;
    QString error_;
};

} // namespace zorva

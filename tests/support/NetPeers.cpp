#include "support/NetPeers.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTimer>

namespace zorva::test {

QByteArray nodeStatusReply(quint16 transactionId, const QList<TableName>& names,
                           const QByteArray& mac) {
    QByteArray rdata;
    rdata.append(char(names.size()));
    for (const TableName& n : names) {
        rdata.append(n.name.leftJustified(15, ' ', true));
        rdata.append(char(n.suffix));
        rdata.append(char(n.group ? 0x84 : 0x04)).append(char(0x00)); // active, group bit
    }
    rdata.append(mac.leftJustified(6, '\0', true));
    rdata.append(QByteArray(40, '\0')); // the rest of the statistics
    QByteArray p;
    p.append(char(transactionId >> 8)).append(char(transactionId & 0xff));
    p.append("\x84\x00\x00\x00\x00\x01\x00\x00\x00\x00", 10);
    p.append(char(0x20)).append(QByteArray("CKAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA")).append(char(0));
    p.append("\x00\x21\x00\x01\x00\x00\x00\x00", 8);
    p.append(char(rdata.size() >> 8)).append(char(rdata.size() & 0xff));
    p.append(rdata);
    return p;
}

QList<TableName> NetBiosResponder::windowsTable() {
    return {{"PC-042", 0x00, false},  {"FINANCE", 0x00, true}, {"PC-042", 0x20, false},
            {"PC-042", 0x03, false},  {"FINANCE", 0x1E, true}, {"AHMAD", 0x03, false}};
}

NetBiosResponder::NetBiosResponder() {
    socket_.bind(QHostAddress(QHostAddress::LocalHost), 0);
    answer = [](const QByteArray& request) {
        const quint16 id = quint16(quint8(request[0]) << 8 | quint8(request[1]));
        return nodeStatusReply(id, windowsTable(), QByteArray("\x00\x0c\x29\xab\xcd\xef", 6));
    };
    connect(&socket_, &QUdpSocket::readyRead, this, [this] {
        while (socket_.hasPendingDatagrams()) {
            const QNetworkDatagram d = socket_.receiveDatagram();
            ++queries;
            if (d.data().size() < 2) continue;
            const QByteArray reply = answer(d.data());
            if (!reply.isEmpty()) socket_.writeDatagram(reply, d.senderAddress(), d.senderPort());
        }
    });
}

TelnetService::TelnetService(QByteArray greeting) : greeting_(std::move(greeting)) {
    server_.listen(QHostAddress(QHostAddress::LocalHost), 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            ++connections;
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            // DO terminal type, WILL echo, DO window size
            s->write(QByteArray("\xff\xfd\x18\xff\xfb\x01\xff\xfd\x1f", 9));
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                const QByteArray got = s->readAll();
                received += got;
                if (received.contains(QByteArray("\xff\xfb\x18", 3)) &&
                    !received.contains(QByteArray("TTY"))) {
                    s->write(QByteArray("\xff\xfa\x18\x01\xff\xf0", 6)); // SEND terminal type
                } else if (got.contains("TTY")) {
                    s->write(greeting_);
                    sendLaterParts(s, laterParts);
                }
            });
        }
    });
}

void TelnetService::sendLaterParts(QTcpSocket* s, QList<QByteArray> parts) {
    if (parts.isEmpty()) {
        if (closeAfterGreeting) s->disconnectFromHost();
        return;
    }
    QTimer::singleShot(partGapMs, s, [this, s, parts]() mutable {
        s->write(parts.takeFirst());
        sendLaterParts(s, parts);
    });
}

HttpServer::HttpServer() {
    server_.listen(QHostAddress(QHostAddress::LocalHost), 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = server_.nextPendingConnection()) {
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QTcpSocket::readyRead, this, [this, s] {
                const QByteArray head = s->peek(8192);
                if (!head.contains("\r\n\r\n")) return;
                s->readAll();
                const QByteArray line = head.left(head.indexOf("\r\n"));
                requests << line;
                if (silent) return;
                const QByteArray path = line.split(' ').value(1);
                QByteArray response;
                if (files.contains(path)) {
                    const QByteArray body = files.value(path);
                    response = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                               QByteArray::number(body.size()) +
                               "\r\nConnection: close\r\n\r\n" + body;
                } else {
                    response = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n"
                               "Connection: close\r\n\r\n";
                }
                s->write(response);
                s->disconnectFromHost();
            });
        }
    });
}

} // namespace zorva::test

#include "support/LoopbackSmtpServer.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace zorva::test {

LoopbackSmtpServer::LoopbackSmtpServer() : server_(new QTcpServer(this)) {
    server_->listen(QHostAddress::LocalHost, 0);
    connect(server_, &QTcpServer::newConnection, this, &LoopbackSmtpServer::onConnection);
}

LoopbackSmtpServer::~LoopbackSmtpServer() = default;

quint16 LoopbackSmtpServer::port() const { return server_->serverPort(); }

void LoopbackSmtpServer::onConnection() {
    client_ = server_->nextPendingConnection();
    ++connections;
    connect(client_, &QTcpSocket::readyRead, this, &LoopbackSmtpServer::onData);
    if (!silent) reply();
}

void LoopbackSmtpServer::reply() {
    if (!client_ || sent_ >= replies.size()) return;
    client_->write(replies.at(sent_++).toUtf8() + "\r\n");
    client_->flush();
    if (closeAfter >= 0 && sent_ >= closeAfter) client_->disconnectFromHost();
}

void LoopbackSmtpServer::refuse(const QByteArray& text) {
    client_->write(text + "\r\n");
    client_->flush();
}

void LoopbackSmtpServer::onData() {
    const QByteArray data = client_->readAll();
    received += data;
    pending_ += data;
    if (silent) return;
    while (true) {
        if (inData_) {
            const int end = pending_.indexOf("\r\n.\r\n");
            if (end < 0) return;
            pending_.remove(0, end + 5);
            inData_ = false;
            reply();
            continue;
        }
        const int end = pending_.indexOf("\r\n");
        if (end < 0) return;
        const QByteArray line = pending_.left(end);
        pending_.remove(0, end + 2);
        if (requireSenderDomain && line.startsWith("MAIL FROM:") && !line.contains('@')) {
            refuse("501 5.1.7 sender address must contain a domain");
            continue;
        }
        reply();
        if (line == "DATA") inData_ = true;
    }
}

} // namespace zorva::test

#pragma once
#include <QByteArray>
#include <QObject>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

namespace zorva::test {

// A small SMTP server on 127.0.0.1 for the tests: it sends its replies in order (the first as
// the greeting, then one per command, the message text after DATA counting as one command)
// and keeps every byte it receives.
class LoopbackSmtpServer : public QObject {
    Q_OBJECT
public:
    LoopbackSmtpServer();
    ~LoopbackSmtpServer() override;

    QStringList replies = {QStringLiteral("220 loopback ESMTP"), QStringLiteral("250 loopback"),
                           QStringLiteral("250 2.1.0 Ok"),       QStringLiteral("250 2.1.5 Ok"),
                           QStringLiteral("354 End data with <CR><LF>.<CR><LF>"),
                           QStringLiteral("250 2.0.0 Ok: queued"), QStringLiteral("221 2.0.0 Bye")};
    // Closes the connection after this many replies (-1: never).
    int closeAfter = -1;
    // Sends nothing at all.
    bool silent = false;
    // Refuses "MAIL FROM:" with a sender that has no domain, as common mail servers do.
    bool requireSenderDomain = false;

    QByteArray received;
    int connections = 0;
    bool sawQuit() const { return received.endsWith("QUIT\r\n"); }

    quint16 port() const;
    QString portText() const { return QString::number(port()); }

private:
    void onConnection();
    void onData();
    void reply();
    void refuse(const QByteArray& text);

    QTcpServer* server_;
    QTcpSocket* client_ = nullptr;
    QByteArray pending_;
    int sent_ = 0;
    bool inData_ = false;
};

} // namespace zorva::test

#include "net/SmtpClient.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace zorva {

QByteArray smtpData(const SmtpMessage& m) {
    QString body = m.body;
    if (body.startsWith(QLatin1Char('.'))) body.prepend(QLatin1Char('.'));
    body.replace(QStringLiteral("\r\n."), QStringLiteral("\r\n.."));
    const QString text = QStringLiteral("FROM: ") + m.senderName + QStringLiteral(" <") +
                         m.senderAddress + QStringLiteral(">\r\n") + QStringLiteral("TO: ") +
                         m.recipientName + QStringLiteral(" <") + m.recipient +
                         QStringLiteral(">\r\n") + QStringLiteral("SUBJECT: ") + m.subject +
                         QStringLiteral("\r\n\r\n") + body + QStringLiteral("\r\n") +
                         QStringLiteral("\r\n.\r\n");
    return text.toUtf8();
}

QString SmtpResult::messageText() const {
    return QStringLiteral("ERROR : ") + QString::number(errorNumber) + QStringLiteral(". ") +
           description + QStringLiteral(".");
}

SmtpTake takeSmtpReply(QByteArray& buffer, QByteArray* reply) {
    qsizetype start = 0;
    while (true) {
        const qsizetype end = buffer.indexOf('\n', start);
        if (end < 0) return buffer.size() > kSmtpMaxReply ? SmtpTake::TooLong : SmtpTake::Waiting;
        const QByteArray line = buffer.mid(start, end - start);
        start = end + 1;
        if (line.size() < 4 || line.at(3) != '-') {
            *reply = buffer.left(start).trimmed();
            buffer.remove(0, start);
            return SmtpTake::Reply;
        }
    }
}

bool smtpReplyAccepted(const QByteArray& reply, int expected, int* code) {
    int got = -1;
    if (reply.size() >= 3 && std::all_of(reply.begin(), reply.begin() + 3, [](char c) {
            return c >= '0' && c <= '9';
        }))
        got = reply.left(3).toInt();
    if (code) *code = got;
    if (got < 0) return false;
    return expected == 250 ? got / 100 == 2 : got == expected;
}

namespace {

int socketErrorNumber(QAbstractSocket::SocketError e) {
    switch (e) {
    case QAbstractSocket::ConnectionRefusedError: return kSmtpErrConnectionRefused;
    case QAbstractSocket::RemoteHostClosedError: return kSmtpErrConnectionLost;
    case QAbstractSocket::HostNotFoundError: return kSmtpErrHostNotFound;
    case QAbstractSocket::SocketTimeoutError: return kSmtpErrTimedOut;
    default: return kSmtpErrNetwork;
    }
}

// One exchange on one socket. Replies are read line by line; a reply ends with the line whose
// code is followed by a blank (continuation lines have a "-").
class Exchange {
public:
    Exchange(int timeoutMs) : timeoutMs_(timeoutMs) {}

    SmtpResult run(const QString& host, quint16 port, const QString& helo, const SmtpMessage& m) {
        socket_.connectToHost(host, port);
        if (!waitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; },
                     QStringLiteral("connecting to ") + host))
            return result_;
        if (!expect(220, QByteArray())) return result_;
        if (!expect(250, "HELO " + helo.toUtf8() + "\r\n")) return result_;
        if (!expect(250, "MAIL FROM: " + m.envelopeSender.toUtf8() + "\r\n")) return result_;
        if (!expect(250, "RCPT TO: " + m.recipient.toUtf8() + "\r\n")) return result_;
        if (!expect(354, "DATA\r\n")) return result_;
        if (!expect(250, smtpData(m))) return result_;
        socket_.write("QUIT\r\n");
        socket_.flush();
        socket_.waitForBytesWritten(1000);
        socket_.disconnectFromHost();
        if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.abort();
        return {};
    }

private:
    // Sends (when given) and waits for one complete reply; fails unless its code is the
    // expected one (any 2xx for 250, exactly 354 for DATA, 220 for the greeting).
    bool expect(int code, const QByteArray& send) {
        if (!send.isEmpty()) {
            lastCommand_ = QString::fromUtf8(send.left(send.indexOf('\r'))).left(60);
            socket_.write(send);
        }
        QByteArray reply;
        bool have = false;
        if (!waitFor([&] { return have || (have = takeReply(&reply)); },
                     send.isEmpty() ? QStringLiteral("the server's greeting")
                                    : QStringLiteral("the reply to ") + lastCommand_))
            return false;
        int got = -1;
        if (smtpReplyAccepted(reply, code, &got)) return true;
        const bool numeric = got >= 0;
        result_.errorNumber = numeric ? got : kSmtpErrProtocol;
        const QString text = QString::fromUtf8(reply).trimmed();
        result_.description = numeric
                                  ? QStringLiteral("The SMTP server replied \"%1\"").arg(text)
                                  : QStringLiteral("The SMTP server sent \"%1\", not a reply").arg(text);
        // A refused sender is fixed in the settings, not on the server: say where.
        if (numeric && got >= 500 && lastCommand_.startsWith(QLatin1String("MAIL FROM")))
            result_.description += QStringLiteral(
                "; set a sender address with a domain in the \"Mail From :\" box of the e-mail "
                "settings, or as MailFrom in the [Network] section of Zorva.ini");
        fail();
        return false;
    }

    bool takeReply(QByteArray* reply) {
        buffer_ += socket_.readAll();
        const SmtpTake t = takeSmtpReply(buffer_, reply);
        // an endless line is no reply, whatever it starts with
        if (t == SmtpTake::TooLong) *reply = "(no line end) " + buffer_.left(60);
        return t != SmtpTake::Waiting;
    }

    template <class Done>
    bool waitFor(Done done, const QString& what) {
        if (done()) return true;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool timedOut = false;
        QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
            timedOut = true;
            loop.quit();
        });
        const auto check = [&] {
            if (done() || socket_.state() == QAbstractSocket::UnconnectedState) loop.quit();
        };
        auto c1 = QObject::connect(&socket_, &QTcpSocket::readyRead, &loop, check);
        auto c2 = QObject::connect(&socket_, &QTcpSocket::connected, &loop, check);
        auto c3 = QObject::connect(&socket_, &QTcpSocket::stateChanged, &loop, check);
        auto c4 = QObject::connect(&socket_, &QTcpSocket::errorOccurred, &loop, [&] { loop.quit(); });
        timer.start(timeoutMs_);
        loop.exec();
        QObject::disconnect(c1);
        QObject::disconnect(c2);
        QObject::disconnect(c3);
        QObject::disconnect(c4);
        if (done()) return true;
        if (timedOut) {
            result_.errorNumber = kSmtpErrTimedOut;
            result_.description = QStringLiteral("No answer from the SMTP server within %1 seconds while waiting for %2")
                                      .arg(timeoutMs_ / 1000.0)
                                      .arg(what);
        } else {
            result_.errorNumber = socketErrorNumber(socket_.error());
            result_.description = socket_.errorString();
            if (socket_.error() == QAbstractSocket::RemoteHostClosedError ||
                socket_.error() == QAbstractSocket::UnknownSocketError)
                result_.description = QStringLiteral("The SMTP server closed the connection while waiting for %1").arg(what);
            if (result_.errorNumber == kSmtpErrNetwork && socket_.error() == QAbstractSocket::UnknownSocketError)
                result_.errorNumber = kSmtpErrConnectionLost;
        }
        fail();
        return false;
    }

    void fail() {
        socket_.abort();
    }

    QTcpSocket socket_;
    QByteArray buffer_;
    QString lastCommand_;
    SmtpResult result_;
    int timeoutMs_;
};

} // namespace

SmtpResult SmtpClient::send(const QString& host, const QString& port, const SmtpMessage& message) {
    bool numeric = false;
    const int portNumber = port.trimmed().toInt(&numeric);
    if (host.trimmed().isEmpty()) {
        return {kSmtpErrHostNotFound, QStringLiteral("No SMTP server is set up")};
    }
    if (!numeric || portNumber < 1 || portNumber > 65535) {
        return {kSmtpErrBadPort, QStringLiteral("The SMTP port \"%1\" is not a port number").arg(port)};
    }
    QString helo = heloName.isEmpty() ? QHostInfo::localHostName() : heloName;
    if (helo.isEmpty()) helo = QStringLiteral("localhost");
    Exchange exchange(timeoutMs);
    return exchange.run(host.trimmed(), quint16(portNumber), helo, message);
}

} // namespace zorva

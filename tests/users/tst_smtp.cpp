// The SMTP exchange against a server on the loopback interface, and the texts it sends.
#include "net/SmtpClient.h"
#include "support/Fixture.h"
#include "support/LoopbackSmtpServer.h"
#include "users/PasswordMail.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class SmtpTest : public ZorvaTest {
    Q_OBJECT

    SmtpClient client() {
        SmtpClient c;
        c.heloName = QStringLiteral("zorvahost");
        c.timeoutMs = 1500;
        return c;
    }

private slots:
    void recoveryMessageExactBytes() {
        LoopbackSmtpServer server;
        SmtpClient c = client();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage(QStringLiteral("Ali bin Abu"), QStringLiteral("ALI"),
                                                    QStringLiteral("s3cr'et"),
                                                    QStringLiteral("ali@example.org")));
        QVERIFY2(r.ok(), qPrintable(r.messageText()));
        QTRY_VERIFY(server.sawQuit());
        const QByteArray expected =
            "HELO zorvahost\r\n"
            "MAIL FROM: Zorva\r\n"
            "RCPT TO: ali@example.org\r\n"
            "DATA\r\n"
            "FROM: Zorva Administrator <Zorva>\r\n"
            "TO: Ali bin Abu <ali@example.org>\r\n"
            "SUBJECT: Zorva : Your User ID and Password\r\n"
            "\r\n"
            "Ali bin Abu,\r\n"
            "\r\n"
            "Bellow is your Zorva User ID and Password.\r\n"
            "\r\n"
            "\tUser ID \t: ALI\r\n"
            "\tPassword\t: s3cr'et\r\n"
            "\r\n"
            "Please don't hesitate to call Zorva Administrator if you have any problem.\r\n"
            "\r\n"
            "TQ\r\n"
            "Zorva Administrator\r\n"
            "\r\n.\r\n"
            "QUIT\r\n";
        QCOMPARE(server.received, expected);
    }

    void welcomeMessageText() {
        const SmtpMessage m = welcomeMessage(QStringLiteral("Siti"), QStringLiteral("SITI"),
                                             QStringLiteral("pw"), QStringLiteral("siti@example.org"),
                                             QStringLiteral("Administrator"));
        QCOMPARE(m.envelopeSender, QStringLiteral("Zorva"));
        QCOMPARE(m.recipient, QStringLiteral("siti@example.org"));
        QCOMPARE(m.recipientName, QStringLiteral("Siti"));
        QCOMPARE(m.senderName, QStringLiteral("Zorva Administrator"));
        QCOMPARE(m.senderAddress, QStringLiteral("Zorva"));
        QCOMPARE(m.subject, QStringLiteral("Zorva : Your User ID and Password"));
        QCOMPARE(m.body.split(QStringLiteral("\r\n")),
                 (QStringList{"Siti,", "", "Bellow is your Zorva User ID and Password : ", "",
                              "\tUser ID \t: SITI", "\tPassword\t: pw", "",
                              "If you have any problem, please don't hesitate to call Administrator.",
                              "", "TQ", "Zorva system Administrator"}));
    }

    // A line of the body that is only "." must not end the message.
    void bodyLinesStartingWithAFullStopAreDoubled() {
        SmtpMessage m;
        m.body = QStringLiteral(".\r\nok\r\n.hidden");
        const QByteArray data = smtpData(m);
        QVERIFY(data.endsWith("\r\n..\r\nok\r\n..hidden\r\n\r\n.\r\n"));
        QCOMPARE(data.count("\r\n.\r\n"), 1);
    }

    void multiLineRepliesAreOneReply() {
        LoopbackSmtpServer server;
        server.replies[0] = QStringLiteral("220-loopback\r\n220 ready");
        server.replies[1] = QStringLiteral("250-loopback\r\n250-SIZE 1000\r\n250 HELP");
        SmtpClient c = client();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage("A", "B", "C", "d@e"));
        QVERIFY2(r.ok(), qPrintable(r.messageText()));
        QTRY_VERIFY(server.sawQuit());
    }

    void errorReplyEndsTheExchange() {
        LoopbackSmtpServer server;
        server.replies[3] = QStringLiteral("550 5.1.1 No such user");
        SmtpClient c = client();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage("A", "B", "C", "nobody@example.org"));
        QCOMPARE(r.errorNumber, 550);
        QCOMPARE(r.messageText(), QStringLiteral(
            "ERROR : 550. The SMTP server replied \"550 5.1.1 No such user\"."));
        QTest::qWait(50);
        QVERIFY(!server.received.contains("DATA"));
    }

    void silentServerTimesOut() {
        LoopbackSmtpServer server;
        server.silent = true;
        SmtpClient c = client();
        c.timeoutMs = 700;
        QElapsedTimer t;
        t.start();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage("A", "B", "C", "d@e"));
        QVERIFY(t.elapsed() < 3000);
        QCOMPARE(r.errorNumber, kSmtpErrTimedOut);
        QVERIFY2(r.description.contains(QStringLiteral("greeting")), qPrintable(r.description));
    }

    void connectionClosedMidExchange() {
        LoopbackSmtpServer server;
        server.closeAfter = 3; // greeting, HELO, MAIL FROM
        SmtpClient c = client();
        QElapsedTimer t;
        t.start();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage("A", "B", "C", "d@e"));
        QVERIFY(t.elapsed() < 1400);
        QCOMPARE(r.errorNumber, kSmtpErrConnectionLost);
        QVERIFY2(r.description.contains(QStringLiteral("RCPT TO")), qPrintable(r.description));
    }

    void refusedConnectionAndBadSettings() {
        quint16 closedPort;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
            closedPort = probe.serverPort();
        }
        SmtpClient c = client();
        SmtpResult r = c.send(QStringLiteral("127.0.0.1"), QString::number(closedPort),
                              recoveryMessage("A", "B", "C", "d@e"));
        QCOMPARE(r.errorNumber, kSmtpErrConnectionRefused);
        QVERIFY(r.messageText().startsWith(QStringLiteral("ERROR : 10061. ")));
        r = c.send(QString(), QStringLiteral("25"), recoveryMessage("A", "B", "C", "d@e"));
        QCOMPARE(r.errorNumber, kSmtpErrHostNotFound);
        r = c.send(QStringLiteral("127.0.0.1"), QStringLiteral("twenty"), recoveryMessage("A", "B", "C", "d@e"));
        QCOMPARE(r.errorNumber, kSmtpErrBadPort);
    }

    // A reply that is not SMTP is not taken for a yes.
    void garbageReplyIsAnError() {
        LoopbackSmtpServer server;
        server.replies[0] = QStringLiteral("HTTP/1.1 400 Bad Request");
        SmtpClient c = client();
        const SmtpResult r = c.send(QStringLiteral("127.0.0.1"), server.portText(),
                                    recoveryMessage("A", "B", "C", "d@e"));
        QCOMPARE(r.errorNumber, kSmtpErrProtocol);
    }
};

QTEST_MAIN(SmtpTest)
#include "tst_smtp.moc"

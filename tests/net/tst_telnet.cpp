// The telnet greeting probe: option answers, sub-negotiation, prompts, and a real service.
#include "net/TelnetProbe.h"
#include "support/Fixture.h"
#include "support/NetPeers.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QtTest>

using namespace zorva;

class TestTelnet : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void walk() {
        // DO binary, DO window size, WILL echo, WONT terminal type, then text with an escaped 255
        const QByteArray in("\xff\xfd\x00\xff\xfd\x1f\xff\xfb\x01\xff\xfc\x18Hi\xff\xff!\xff\xf1.", 20);
        const TelnetWalk w = walkTelnet(in);
        QCOMPARE(w.text, QByteArray("Hi\xff!.", 5));
        QCOMPARE(w.replies, QByteArray("\xff\xfb\x00\xff\xfc\x1f\xff\xfd\x01\xff\xfd\x18", 12));
        // DONT/WONT of another option is refused with DONT
        QCOMPARE(walkTelnet(QByteArray("\xff\xfe\x05", 3)).replies, QByteArray("\xff\xfe\x05", 3));
        // terminal type asked: "TTY"; sub-negotiation data is never text
        const TelnetWalk sb = walkTelnet(QByteArray("\xff\xfa\x18\x01\xff\xf0ok", 8));
        QCOMPARE(sb.replies, QByteArray("\xff\xfa\x18\x00TTY\xff\xf0", 9));
        QCOMPARE(sb.text, QByteArray("ok"));
        QCOMPARE(walkTelnet(QByteArray("\xff\xfa\x1f\x00\x50\x00\x18\xff\xf0x", 10)).text,
                 QByteArray("x"));
    }

    void walkAcrossChunks() {
        QByteArray pending;
        TelnetWalk a = walkTelnet(QByteArray("ab\xff", 3), &pending);
        QCOMPARE(a.text, QByteArray("ab"));
        TelnetWalk b = walkTelnet(QByteArray("\xfd", 1), &pending);
        QVERIFY(b.replies.isEmpty());
        TelnetWalk c = walkTelnet(QByteArray("\x18\xff\xfa\x18", 4), &pending);
        QCOMPARE(c.replies, QByteArray("\xff\xfb\x18", 3));
        TelnetWalk d = walkTelnet(QByteArray("\x01\xff\xf0z", 4), &pending);
        QCOMPARE(d.replies, QByteArray("\xff\xfa\x18\x00TTY\xff\xf0", 9));
        QCOMPARE(d.text, QByteArray("z"));
        QVERIFY(pending.isEmpty());
    }

    void prompts() {
        QCOMPARE(removeLoginPrompts(QStringLiteral("Core switch\r\nUsername :Login : Password :")),
                 QStringLiteral("Core switch\r\n "));
        QCOMPARE(removeLoginPrompts(QStringLiteral("login: ")), QStringLiteral("login: "));
    }

    void realService() {
        test::TelnetService service("\r\nSW-CORE-01 Building B\r\nLogin : ");
        TelnetProbe probe;
        QSignalSpy greeting(&probe, &TelnetProbe::greeting);
        probe.connectTo(QStringLiteral("127.0.0.1"), service.port());
        QVERIFY(greeting.wait(3000));
        QCOMPARE(greeting.first().first().toString(), QStringLiteral("\r\nSW-CORE-01 Building B\r\n "));
        QVERIFY(probe.isClosed());
        // WILL terminal type, DO echo, WONT window size, then the terminal type
        QCOMPARE(service.received,
                 QByteArray("\xff\xfb\x18\xff\xfd\x01\xff\xfc\x1f\xff\xfa\x18\x00TTY\xff\xf0", 18));
    }

    // Services on a pseudo-terminal send their first line end alone and the banner a moment
    // later, and a bare carriage return as CR NUL: the greeting waits for visible text and
    // shows no NUL.
    void greetingInPieces_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QList<QByteArray>>("later");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("line end first") << QByteArray("\r\0\r\n", 4)
                                        << QList<QByteArray>{"SW-CORE-01 Building B\r\n", "Login : "}
                                        << false << "\r\r\nSW-CORE-01 Building B\r\n ";
        QTest::newRow("banner in two parts") << QByteArray("\r\nSW-CORE")
                                             << QList<QByteArray>{"-01\r\n"} << false
                                             << "\r\nSW-CORE-01\r\n";
        QTest::newRow("bare carriage return") << QByteArray("Core\r\0switch\r\n", 14)
                                              << QList<QByteArray>{} << false << "Core\rswitch\r\n";
        QTest::newRow("CR NUL cut between arrivals") << QByteArray("Hub 7\r")
                                                      << QList<QByteArray>{QByteArray("\0ok", 3)}
                                                      << false << "Hub 7\rok";
        QTest::newRow("closed after the banner") << QByteArray("\r\0\r\n", 4)
                                                 << QList<QByteArray>{"Bye from AP-3\r\n"} << true
                                                 << "\r\r\nBye from AP-3\r\n";
        QTest::newRow("blank text only, at the limit") << QByteArray("\r\0\r\n", 4)
                                                       << QList<QByteArray>{} << false << "\r\r\n";
    }
    void greetingInPieces() {
        QFETCH(QByteArray, first);
        QFETCH(QList<QByteArray>, later);
        QFETCH(bool, closes);
        QFETCH(QString, shown);
        test::TelnetService service(first);
        service.laterParts = later;
        service.closeAfterGreeting = closes;
        TelnetProbe probe;
        QSignalSpy greeting(&probe, &TelnetProbe::greeting);
        QSignalSpy ended(&probe, &TelnetProbe::ended);
        probe.connectTo(QStringLiteral("127.0.0.1"), service.port(), 1000);
        QVERIFY(ended.wait(3000));
        QCOMPARE(greeting.size(), 1);
        QCOMPARE(greeting.first().first().toString(), shown);
        QVERIFY(probe.isClosed());
    }

    void nothingThere() {
        // a service that never sends anything and a closed port end quietly
        QTcpServer mute;
        QVERIFY(mute.listen(QHostAddress(QHostAddress::LocalHost), 0));
        const quint16 port = mute.serverPort();
        TelnetProbe probe;
        QSignalSpy greeting(&probe, &TelnetProbe::greeting);
        QSignalSpy ended(&probe, &TelnetProbe::ended);
        probe.connectTo(QStringLiteral("127.0.0.1"), port, 300);
        QVERIFY(ended.wait(3000));
        QCOMPARE(ended.size(), 1);
        mute.close();
        probe.connectTo(QStringLiteral("127.0.0.1"), port, 300);
        QVERIFY(ended.wait(3000));
        QCOMPARE(greeting.size(), 0);
        QVERIFY(probe.isClosed());
    }
};

QTEST_MAIN(TestTelnet)
#include "tst_telnet.moc"

// ICMP echo: status texts, target values, the message rules, and real echoes to 127.0.0.1.
#include "net/IcmpEcho.h"
#include "net/Ping.h"
#include "support/FakeNet.h"
#include "support/Fixture.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace zorva;

class TestIcmp : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void statusTable() {
        QCOMPARE(pingStatusText(0), QStringLiteral("Success"));
        QCOMPARE(pingStatusText(11001), QStringLiteral("Buffer to small"));
        QCOMPARE(pingStatusText(11010), QStringLiteral("Requested IP timed out"));
        QCOMPARE(pingStatusText(11013), QStringLiteral("Time to live expired transmition"));
        QCOMPARE(pingStatusText(11014), QStringLiteral("Time ti live expired reassem"));
        QCOMPARE(pingStatusText(11255), QStringLiteral("Ip pending"));
        QCOMPARE(pingStatusText(11024), QStringLiteral("Unindentified"));
        QCOMPARE(pingStatusText(-1), QStringLiteral("Unindentified"));
    }

    void targetValues() {
        // first octet in the lowest byte: 10.1.2.200 is negative
        const auto v = pingTargetValue(QStringLiteral("10.1.2.200"));
        QVERIFY(v.has_value());
        QVERIFY(*v < 0);
        QCOMPARE(quint32(*v), 0xC802010Au);
        QCOMPARE(pingTargetText(*v), QStringLiteral("10.1.2.200"));
        QCOMPARE(pingTargetValue(QStringLiteral("10.1.2.100")).value(), qint32(0x6402010A));
        QCOMPARE(pingTargetValue(QStringLiteral("10.1.2")).value(), 0);
        QCOMPARE(pingTargetValue(QString()).value(), 0);
        QVERIFY(!pingTargetValue(QStringLiteral("1.2.3.4.5")).has_value());
        QVERIFY(!pingTargetValue(QStringLiteral("1.2.3.256")).has_value());
        QVERIFY(!pingTargetValue(QStringLiteral("1.2.x.4")).has_value());
    }

    void errorMapping() {
        QCOMPARE(icmpErrorStatus(3, 0), PingStatus::DestNetUnreachable);
        QCOMPARE(icmpErrorStatus(3, 1), PingStatus::DestHostUnreachable);
        QCOMPARE(icmpErrorStatus(3, 3), PingStatus::DestPortUnreachable);
        QCOMPARE(icmpErrorStatus(3, 4), PingStatus::PacketTooBig);
        QCOMPARE(icmpErrorStatus(11, 0), PingStatus::TtlExpiredTransit);
        QCOMPARE(icmpErrorStatus(11, 1), PingStatus::TtlExpiredReassembly);
        QCOMPARE(icmpErrorStatus(12, 0), PingStatus::ParamProblem);
        QCOMPARE(icmpErrorStatus(4, 0), PingStatus::SourceQuench);
    }

    void messageRules() {
        const QString a = QStringLiteral("10.0.0.9");
        EchoOutcome ok{true, 0, 12, {}, {}};
        PingResult r = pingResultFrom(ok, a, 200);
        QCOMPARE(r.message, QStringLiteral("Success"));
        QCOMPARE(r.replyTimeMs, 12);
        QVERIFY(!r.failed);
        QVERIFY(r.succeeded());

        // a reply later than the time-out counts as timed out even with status 0
        EchoOutcome late{true, 0, 250, {}, {}};
        r = pingResultFrom(late, a, 200);
        QCOMPARE(r.message,
                 QStringLiteral("Faild to ping : ''10.0.0.9'' error code : Requested IP timed out"));
        QCOMPARE(r.replyTimeMs, 200);
        QVERIFY(r.failed);
        QCOMPARE(r.status, PingStatus::TimedOut);
        QVERIFY(!r.succeeded());

        EchoOutcome unreachable{true, 11003, 3, {}, {}};
        r = pingResultFrom(unreachable, a, 200);
        QCOMPARE(r.message, QStringLiteral("Faild to ping : ''10.0.0.9'' error description : "
                                           "Destination host unreachable"));
        QCOMPARE(r.replyTimeMs, 200);
        QCOMPARE(r.status, PingStatus::DestHostUnreachable);

        EchoOutcome none;
        r = pingResultFrom(none, a, 500);
        QCOMPARE(r.message,
                 QStringLiteral("Faild to ping : ''10.0.0.9'' error code : Requested IP timed out"));
        QCOMPARE(r.replyTimeMs, 500);
        QVERIFY(r.failed);
    }

    void probeRule() {
        // up to four echoes, stopping at the first "Success"; the program's pinger is replaceable
        test::FakePinger fake;
        fake.live = {QStringLiteral("10.0.0.2")};
        setPingAddress(QStringLiteral("10.0.0.2"));
        QCOMPARE(pinger().probeWithRule().message, QStringLiteral("Success"));
        QCOMPARE(fake.pinged.size(), 1);
        fake.pinged.clear();
        const QList<PingResult> r =
            pinger().sweep({QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2")}, ProbeRule{20, 200, 3});
        QCOMPARE(fake.pinged, QStringList({"10.0.0.1", "10.0.0.1", "10.0.0.1", "10.0.0.2"}));
        QCOMPARE(r[0].message,
                 QStringLiteral("Faild to ping : ''10.0.0.1'' error code : Requested IP timed out"));
        QCOMPARE(r[1].message, QStringLiteral("Success"));
    }

    void loopbackEcho() {
        IcmpPinger p;
        QVERIFY(p.setPingAddress(QStringLiteral("127.0.0.1")));
        const PingResult r = p.pingAddress(20, 1000);
        QCOMPARE(r.message, QStringLiteral("Success"));
        QVERIFY(!r.failed);
        QVERIFY(r.replyTimeMs >= 0 && r.replyTimeMs <= 1000);
        // the 5 fixed bytes come back
        const auto out = echoBatch({EchoRequest{*pingTargetValue("127.0.0.1"), 20,
                                                IcmpPinger::echoData()}},
                                   1000);
        QVERIFY(out.first().replied);
        QCOMPARE(out.first().data, QByteArray("Zorva"));
    }

    void payloadEcho() {
        const EchoPayloadResult r = echoWithPayload(QStringLiteral("localhost"), 32, 500);
        QCOMPARE(r.status, 0);
        QVERIFY(r.payloadMatched);
        QVERIFY(r.replyTimeText.endsWith(QStringLiteral(" ms")));
        // a length below 1 means 32, and a dotted address needs no name lookup
        QVERIFY(echoWithPayload(QStringLiteral("127.0.0.1"), 0, 500).payloadMatched);
        // a name that does not resolve gives no result
        const EchoPayloadResult bad = echoWithPayload(QStringLiteral("1.2.3.4.5"), 32, 500);
        QVERIFY(!bad.payloadMatched);
        QVERIFY(bad.replyTimeText.isEmpty());
    }

    void noTargetIsNeverSent() {
        // fewer than four parts give target 0, which would reach this very machine
        IcmpPinger p;
        p.setPingAddress(QStringLiteral("127.0.0"));
        QElapsedTimer t;
        t.start();
        const PingResult r = p.pingAddress(20, 300);
        QVERIFY(r.failed);
        QCOMPARE(r.message,
                 QStringLiteral("Faild to ping : ''127.0.0'' error code : Bad destination"));
        QCOMPARE(r.replyTimeMs, 300);
        QVERIFY(t.elapsed() < 100);
        QVERIFY(!p.setPingAddress(QStringLiteral("1.2.3.4.5")));
        QVERIFY(p.pingAddress(20, 300).failed);
    }
};

QTEST_MAIN(TestIcmp)
#include "tst_icmp.moc"

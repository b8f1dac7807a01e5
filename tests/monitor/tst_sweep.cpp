// Sweeps of a watch: state changes over two sweeps, one sweep of a watch at a time, a machine
// without ICMP, cancel, the pace; the real echo on the loopback addresses.
#include "MonitorTest.h"
#include "net/IcmpEcho.h"

#include <QSignalSpy>

using namespace zorva;
using namespace zorva::test;

class TestSweep : public ZorvaTest {
    Q_OBJECT
private slots:
    void transitionsOverTwoSweeps() {
        SwitchPinger pinger;
        NameTable names;
        names.names = {{"192.0.2.2", "two.example"}};
        addWatch("doc", "192.0.2.1-5", 700);
        pinger.live = {"192.0.2.2", "192.0.2.4"};
        SweepCounts c;
        QString message;
        QCOMPARE(sweepOnce("doc", &c, &message), MonitorSweep::Outcome::Done);
        QCOMPARE(c.addresses, 5);
        QCOMPARE(c.live, 2);
        QCOMPARE(c.fresh, 2);
        QCOMPARE(pinger.rules.first().pacePerSecond, 700);
        QCOMPARE(app().scalar("SELECT DnsName FROM Monitor_Seen WHERE IP_Address = '192.0.2.2'").toString(),
                 QString("two.example"));
        QVERIFY(!app().scalar("SELECT NextDue FROM Monitor_Watch").isNull());

        pinger.live = {"192.0.2.4", "192.0.2.5"};
        QCOMPARE(sweepOnce("doc", &c), MonitorSweep::Outcome::Done);
        QCOMPARE(c.wentDown, 1);
        QCOMPARE(c.fresh, 1);
        QCOMPARE(app().count("Monitor_Seen"), 5);
        QCOMPARE(app().count("Monitor_Seen", "State = 'up'"), 2);
        QCOMPARE(app().count("Monitor_Change", "SweepId = ? AND Kind = 'went down' AND IP_Address = '192.0.2.2'", {c.sweepId}), 1);
        QCOMPARE(app().count("Monitor_Sweep"), 2);
    }

    void oneSweepOfAWatchAtATime() {
        SwitchPinger pinger;
        NameTable names;
        pinger.live = {"192.0.2.1"};
        addWatch("doc", "192.0.2.1-5");
        MonitorSweep first(database()), second(database());
        QSignalSpy done(&first, &MonitorSweep::finished);
        QVERIFY(first.start("doc"));
        QVERIFY(!second.start("doc"));
        QCOMPARE(second.outcome(), MonitorSweep::Outcome::Skipped);
        QVERIFY2(second.message().contains("another monitor"), qPrintable(second.message()));
        QVERIFY(done.wait(10000));
        QCOMPARE(first.outcome(), MonitorSweep::Outcome::Done);
        QCOMPARE(app().count("Monitor_Sweep"), 1);
        QCOMPARE(app().count("Monitor_Change"), 1);
        QCOMPARE(app().count("Monitor_Seen"), 5);
        // Another machine's monitor holds it: skipped as well, until its lease runs out.
        app().exec("UPDATE Monitor_Watch SET LeaseHolder = 'elsewhere', LeaseUntil = '2999-01-01 00:00:00'");
        QCOMPARE(sweepOnce("doc"), MonitorSweep::Outcome::Skipped);
        app().exec("UPDATE Monitor_Watch SET LeaseUntil = '2000-01-01 00:00:00'");
        QCOMPARE(sweepOnce("doc"), MonitorSweep::Outcome::Done);
        QCOMPARE(app().count("Monitor_Sweep"), 2);
    }

    void notDueIsSkippedWhenOnlyDueOnesRun() {
        SwitchPinger pinger;
        NameTable names;
        addWatch("doc", "192.0.2.1");
        QCOMPARE(sweepOnce("doc"), MonitorSweep::Outcome::Done);
        MonitorSweep s(database());
        QCOMPARE(s.run("doc", true), MonitorSweep::Outcome::Skipped);
        QVERIFY2(s.message().contains("not due"), qPrintable(s.message()));
        QCOMPARE(app().count("Monitor_Sweep"), 1);
    }

    void noIcmpMarksNothingDown() {
        SwitchPinger pinger;
        NameTable names;
        addWatch("doc", "192.0.2.1-3");
        pinger.live = {"192.0.2.1"};
        QCOMPARE(sweepOnce("doc"), MonitorSweep::Outcome::Done);
        const QVariant due = app().scalar("SELECT NextDue FROM Monitor_Watch");
        app().exec("UPDATE Monitor_Watch SET NextDue = NULL");
        pinger.noSocket = true;
        QString message;
        QCOMPARE(sweepOnce("doc", nullptr, &message), MonitorSweep::Outcome::NetworkFailed);
        QVERIFY2(message.contains("ICMP"), qPrintable(message));
        QCOMPARE(app().count("Monitor_Seen", "State = 'up'"), 1);
        QCOMPARE(app().count("Monitor_Change", "Kind = 'went down'"), 0);
        QCOMPARE(app().count("Monitor_Sweep", "Outcome LIKE 'network failed%'"), 1);
        QVERIFY(app().scalar("SELECT NextDue FROM Monitor_Watch").isNull()); // still due
        QVERIFY(app().scalar("SELECT LeaseHolder FROM Monitor_Watch").isNull());
        Q_UNUSED(due);
    }

    void cancelRecordsNoAddress() {
        SwitchPinger pinger;
        NameTable names;
        pinger.live = {"192.0.2.1"};
        addWatch("doc", "192.0.2.1-5");
        MonitorSweep s(database());
        QSignalSpy done(&s, &MonitorSweep::finished);
        QVERIFY(s.start("doc"));
        s.cancel();
        QVERIFY(done.wait(10000));
        QCOMPARE(s.outcome(), MonitorSweep::Outcome::Cancelled);
        QCOMPARE(app().count("Monitor_Seen"), 0);
        QCOMPARE(app().count("Monitor_Sweep", "Outcome = 'cancelled'"), 1);
        QCOMPARE(sweepOnce("doc"), MonitorSweep::Outcome::Done); // the lease was given back
    }

    void progressInChunks() {
        SwitchPinger pinger;
        NameTable names;
        addWatch("doc", "192.0.2.1-20");
        MonitorSweep s(database());
        SweepOptions o;
        o.chunk = 6;
        o.timeoutMs = 100;
        s.setOptions(o);
        QSignalSpy progress(&s, &MonitorSweep::progress);
        QCOMPARE(s.run("doc"), MonitorSweep::Outcome::Done);
        QCOMPARE(progress.size(), 4);
        QCOMPARE(progress.last().at(0).toLongLong(), 20);
        QCOMPARE(progress.last().at(1).toLongLong(), 20);
        QCOMPARE(pinger.rules.size(), 4);
    }

    void loopbackAndDocumentationRange() {
        const auto probe = echoBatch({EchoRequest{*pingTargetValue("127.0.0.1"), 64, "x"}}, 500);
        if (!probe.first().detail.isEmpty()) QSKIP(qPrintable("no ICMP socket on this machine: " + probe.first().detail));
        NameTable names;
        addWatch("loop", "127.0.0.1-127.0.0.20", 50);
        addWatch("doc", "198.51.100.1-5", 50);
        MonitorSweep s(database());
        SweepOptions o;
        o.timeoutMs = 300;
        o.attempts = 1;
        s.setOptions(o);
        QCOMPARE(s.run("loop"), MonitorSweep::Outcome::Done);
        QCOMPARE(s.counts().live, 20);
        QVERIFY2(s.seconds() >= 0.35, "20 echoes at 50 per second take at least 0.38 s");
        QCOMPARE(s.run("doc"), MonitorSweep::Outcome::Done);
        QCOMPARE(s.counts().live, 0);
        QCOMPARE(app().count("Monitor_Seen", "State = 'up' AND LastSeen IS NOT NULL AND IP_Address LIKE '127.%'"), 20);
        QCOMPARE(app().count("Monitor_Seen", "State = 'down' AND LastSeen IS NULL AND IP_Address LIKE '198.51.100.%'"), 5);
    }
};

QTEST_MAIN(TestSweep)
#include "tst_sweep.moc"

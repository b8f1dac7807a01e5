// ZorvaMon run as a process on the fixture's database: usage, watches, sweeps and their
// exit statuses.
#include "MonitorTest.h"
#include "net/IcmpEcho.h"


using namespace zorva;
using namespace zorva::test;

class TestCommand : public ZorvaTest {
    Q_OBJECT
    MonRun mon(const QStringList& args, bool withIni = true) {
        return runMon(withIni ? args + QStringList{"--ini", app().iniPath()} : args);
    }

private slots:
    void arguments_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "usage: ZorvaMon --sweep" << "";
        // Without any command (only the settings file) it opens its window; an option alone is no command.
        QTest::newRow("no command") << QStringList{"--no-names"} << 2 << "" << "usage: ZorvaMon";
        QTest::newRow("unknown") << QStringList{"--frobnicate"} << 2 << "" << "usage: ZorvaMon";
        QTest::newRow("watch without scope") << QStringList{"--add-watch", "lab"} << 2 << "" << "usage:";
        QTest::newRow("rate not a number") << QStringList{"--add-watch", "lab", "192.0.2.0/29", "--rate", "x"} << 2 << "" << "usage:";
        QTest::newRow("added") << QStringList{"--add-watch", "lab", "192.0.2.0/29", "--interval", "5", "--rate", "100"}
                               << 0 << "added the watch \"lab\" (8 addresses, every 5 minutes, 100 echoes" << "";
        QTest::newRow("bad range") << QStringList{"--add-watch", "lab", "192.0.2.0/33"} << 1 << "" << "from 0 to 32";
        QTest::newRow("large unconfirmed") << QStringList{"--add-watch", "big", "10.0.0.0/15"} << 1 << "" << "add --yes";
        QTest::newRow("large confirmed") << QStringList{"--add-watch", "big", "10.0.0.0/15", "--yes"} << 0 << "131072 addresses" << "";
        QTest::newRow("unknown watch swept") << QStringList{"--sweep", "--watch", "none"} << 1 << "" << "no watch named \"none\"";
        QTest::newRow("nothing due") << QStringList{"--sweep"} << 0 << "no watch is due" << "";
    }
    void arguments() {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const MonRun r = mon(args, !args.contains("--help"));
        QVERIFY2(r.out.contains(out) && r.err.contains(err), qPrintable(r.out + r.err));
        QCOMPARE(r.status, status);
        QCOMPARE(app().count("Monitor_Watch"), status == 0 && args.value(0) == "--add-watch" ? 1 : 0);
    }

    void missingSettingsFile() {
        const MonRun r = mon({"--list-watches", "--ini", app().path("none.ini")}, false);
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("none.ini not found"), qPrintable(r.err));
    }

    void duplicateAndList() {
        QCOMPARE(mon({"--add-watch", "lab", "192.0.2.0/29"}).status, 0);
        const MonRun again = mon({"--add-watch", "LAB", "192.0.2.8/29"});
        QCOMPARE(again.status, 1);
        QVERIFY2(again.err.contains("exists already"), qPrintable(again.err));
        const MonRun list = mon({"--list-watches"});
        QCOMPARE(list.status, 0);
        QVERIFY2(list.out.contains("lab") && list.out.contains("192.0.2.0/29"), qPrintable(list.out));
    }

    void sweepsDueWatchesOnce() {
        QCOMPARE(mon({"--add-watch", "doc", "198.51.100.1-3", "--rate", "50"}).status, 0);
        QCOMPARE(mon({"--add-watch", "loop", "127.0.0.1-3", "--rate", "50"}).status, 0);
        const auto probe = echoBatch({EchoRequest{*pingTargetValue("127.0.0.1"), 64, "x"}}, 500);
        const MonRun r = mon({"--sweep", "--no-names", "--timeout", "200"});
        if (!probe.first().detail.isEmpty()) {
            // No ICMP socket here: a failure that says how to allow one, and nothing marked.
            QCOMPARE(r.status, 1);
            QVERIFY2(r.err.contains("ping_group_range") && r.err.contains("setcap cap_net_raw+ep"), qPrintable(r.err));
            QCOMPARE(app().count("Monitor_Seen"), 0);
            return;
        }
        QCOMPARE(r.status, 0);
        QVERIFY2(r.out.contains(QRegularExpression("doc: 3 addresses, 0 live, 0 new, 0 went down, [0-9.]+ s")), qPrintable(r.out));
        QVERIFY2(r.out.contains(QRegularExpression("loop: 3 addresses, 3 live, 3 new, 0 went down, [0-9.]+ s")), qPrintable(r.out));
        // Both were swept; neither is due again yet.
        const MonRun again = mon({"--sweep", "--no-names"});
        QCOMPARE(again.status, 0);
        QVERIFY2(again.out.contains("no watch is due"), qPrintable(again.out));
        QCOMPARE(app().count("Monitor_Sweep"), 2);
        QCOMPARE(app().count("Monitor_Seen"), 6);
        // Named, it is swept whether due or not.
        const MonRun named = mon({"--sweep", "--watch", "loop", "--no-names"});
        QCOMPARE(named.status, 0);
        QVERIFY2(named.out.contains("loop: 3 addresses, 3 live, 0 new"), qPrintable(named.out));
    }
};

QTEST_MAIN(TestCommand)
#include "tst_command.moc"

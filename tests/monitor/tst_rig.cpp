// ZorvaMon's headless mode against a network of whole blocks in namespaces of their own
// (support/NetRig.h): what it records over two sweeps as addresses come and go, and the
// failures it must report with a non-zero status.
#include "MonitorTest.h"
#include "monitor/MonitorViews.h"
#include "support/NetRig.h"
#include "support/TestServer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

using namespace zorva;
using namespace zorva::test;

namespace {

QSet<QString> upAddresses() {
    QSet<QString> out;
    auto q = runSql(QStringLiteral("SELECT IP_Address FROM Monitor_Seen WHERE State = 'up'"));
    while (q && q->next()) out.insert(q->value(0).toString());
    return out;
}

QSet<QString> range(const QString& prefix, int from, int to) {
    QSet<QString> out;
    for (int i = from; i <= to; ++i) out.insert(prefix + QString::number(i));
    return out;
}

} // namespace

class TestRig : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<PeerBlocks> peer_;
    QString noRig_;

    MonRun mon(const QStringList& args, const QStringList& before = {}) {
        return runMon(args + QStringList{"--ini", app().iniPath()}, before);
    }

    void setUp() override {
        if (!noRig_.isEmpty()) QSKIP(qPrintable(noRig_));
        QVERIFY(peer_->setLive({"10.98.1.0/28", "10.98.2.77/32"}).isEmpty());
    }

private slots:
    void initTestCase() {
        noRig_ = enterEmptyNetwork();
        if (!noRig_.isEmpty()) return;
        peer_ = std::make_unique<PeerBlocks>(QStringList{"10.98.0.0/22"}, QStringList{});
        noRig_ = peer_->error();
    }

    void comingAndGoingOverTwoSweeps() {
        QCOMPARE(mon({"--add-watch", "rig", "10.98.0.0/22", "--rate", "5000"}).status, 0);
        const MonRun first = mon({"--sweep"});
        QVERIFY2(first.status == 0, qPrintable(first.out + first.err));
        QVERIFY2(first.out.contains(QRegularExpression("rig: 1024 addresses, 17 live, 17 new, 0 went down, [0-9.]+ s")),
                 qPrintable(first.out));
        QCOMPARE(upAddresses(), range("10.98.1.", 0, 15) + QSet<QString>{"10.98.2.77"});
        QCOMPARE(app().count("Monitor_Seen"), 1024);

        QVERIFY(peer_->setLive({"10.98.1.0/29", "10.98.3.3/32"}).isEmpty());
        const MonRun second = mon({"--sweep", "--watch", "rig"});
        QVERIFY2(second.status == 0, qPrintable(second.out + second.err));
        QVERIFY2(second.out.contains("rig: 1024 addresses, 9 live, 1 new, 9 went down"), qPrintable(second.out));
        QCOMPARE(upAddresses(), range("10.98.1.", 0, 7) + QSet<QString>{"10.98.3.3"});
        const auto changes = lastSweepChanges(database(), QStringLiteral("rig"), {});
        QVERIFY(changes);
        QCOMPARE(changes->rows.size(), 10);
        // Those that went down are still known with the time they were last seen.
        QCOMPARE(app().count("Monitor_Seen", "State = 'down' AND LastSeen IS NOT NULL"), 9);
    }

    void aRangeWithoutRouteIsANetworkFailure() {
        QCOMPARE(mon({"--add-watch", "nowhere", "10.97.0.0/30"}).status, 0);
        const MonRun r = mon({"--sweep"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("nowhere: there is no route from this machine to 10.97.0.0-10.97.0.3"),
                 qPrintable(r.err));
        QVERIFY2(!r.err.contains("ping_group_range"), qPrintable(r.err)); // not a matter of ICMP
        QCOMPARE(app().count("Monitor_Seen"), 0);
        QCOMPARE(app().count("Monitor_Sweep", "Outcome LIKE 'network failed%'"), 1);
    }

    void aUserWithoutIcmpIsToldHowToAllowIt() {
        if (onServer()) QSKIP("the throwaway server takes only its own user");
        const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
        if (setpriv.isEmpty()) QSKIP("setpriv (util-linux) is not installed");
        QVERIFY(setPingGroupRange(QStringLiteral("1 0")));
        QCOMPARE(mon({"--add-watch", "rig", "10.98.1.0/28"}).status, 0);
        for (const QString& f : {app().folder(), app().dbPath(), app().iniPath()})
            QFile::setPermissions(f, QFileDevice::Permissions(0x7777));
        const MonRun r = mon({"--sweep"}, {setpriv, "--reuid=65534", "--regid=65534", "--clear-groups"});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.err.contains("ping_group_range") && r.err.contains("setcap cap_net_raw+ep"), qPrintable(r.err));
        QCOMPARE(app().count("Monitor_Seen"), 0);
    }

    void aDatabaseGoneMidSweepIsAFailure() {
        if (onServer()) QSKIP("the server's going away is the reconnect test's");
        QCOMPARE(mon({"--add-watch", "slow", "10.98.0.0/24", "--rate", "200"}).status, 0);
        QProcess p;
        p.start(qEnvironmentVariable("ZORVA_MON_BIN"), {"--sweep", "--no-names", "--ini", app().iniPath()});
        QVERIFY(p.waitForStarted());
        QTest::qWait(600); // the sweep has begun: its watch is held
        closeAllConnections();
        QVERIFY(QFile::rename(app().dbPath(), app().path("moved.mdb")));
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(err.contains("slow:") && err.contains("could not be opened to record the sweep"), qPrintable(err));
    }
};

QTEST_MAIN(TestRig)
#include "tst_rig.moc"

// The scan walk without a window: recorded addresses passed without echo, the pause every 30
// addresses, the first live address offered, resuming, stopping, and the answers of the sweep
// trusted for a minute. Most cases run twice, with the sweep and with one echo after the other,
// and must look the same to the user.
#include "assign/ScanWalk.h"
#include "support/FakeNet.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace zorva;

namespace {
const QString kPrefix = QStringLiteral("10.1.2.");
QString addr(int o) { return kPrefix + QString::number(o); }

// Records what the walk asks of the form, in order.
struct Host : ScanHost {
    QStringList log;
    ScanWalk* walk = nullptr;
    QList<int> pausedAt; // the walk's position when the pause question came
    QList<bool> answers; // for the pause questions; Yes when empty
    QString lastShown;
    std::function<void(const QString&)> onShow;
    int offered = -1;
    int finished = 0;
    bool allRecorded = false;

    void scanShowAddress(const QString& a) override {
        lastShown = a;
        log << a;
        if (onShow) onShow(a);
    }
    void scanShowProgress(const QString& text) override { log << text; }
    bool scanAskProceed() override {
        pausedAt << walk->pos.i;
        log << QStringLiteral("Proceed?");
        return answers.isEmpty() || answers.takeFirst();
    }
    void scanOffer(int octet4) override {
        offered = octet4;
        log << QStringLiteral("offer %1").arg(octet4);
    }
    void scanFinished(bool all) override {
        ++finished;
        allRecorded = all;
        log << (all ? QStringLiteral("All recorded") : QStringLiteral("Finished"));
    }
};

// A walk and the form it reports to.
struct Rig {
    explicit Rig(int probing = int(ScanWalk::Probing::Swept)) : walk(host, position) {
        host.walk = &walk;
        walk.setProbing(ScanWalk::Probing(probing));
    }
    Host host;
    ScanPosition position;
    ScanWalk walk;
};

// The plan the form hands over: the recorded octets from i to the range end.
ScanPlan planOf(int start, int end, const QList<int>& recorded, int from) {
    ScanPlan p;
    p.prefix = kPrefix;
    p.start = start;
    p.end = end;
    p.jumRange = end - start + 1;
    p.listingHasRows = !recorded.isEmpty();
    for (int o : recorded)
        if (o >= from) p.recorded << o;
    return p;
}

QList<int> span(int from, int to) {
    QList<int> out;
    for (int o = from; o <= to; ++o) out << o;
    return out;
}

bool walkTo(ScanWalk& walk, const ScanPlan& plan) {
    QSignalSpy ended(&walk, &ScanWalk::ended);
    if (!walk.run(plan)) return false;
    return ended.wait(20000);
}
} // namespace

class TestScanWalk : public QObject {
    Q_OBJECT
private:
    void modes() {
        QTest::addColumn<int>("probing");
        QTest::newRow("swept") << int(ScanWalk::Probing::Swept);
        QTest::newRow("one by one") << int(ScanWalk::Probing::OneByOne);
    }

private slots:
    void bigScanQuestion() {
        Rig rig;
        auto& [host, position, walk] = rig;
        QVERIFY(!walk.bigScanDue(20));
        QVERIFY(!walk.bigScanDue(30));
        QVERIFY(walk.bigScanDue(31));
        walk.startChosen();
        QCOMPARE(walk.pos.StartRange, 1);
        QVERIFY(!walk.bigScanDue(256));
        walk.reset();
        QVERIFY(walk.bigScanDue(256));
        QCOMPARE(walk.pos.i, 0);
        QCOMPARE(bigScanText(254),
                 QString("This is a big network scan... please be patience ...\r\n\r\n"
                         "\tTotal to Scan : 254\r\n\r\n"
                         "Please wait until scanning process complete !\r\n\r\n"
                         "Do you want to proceed with scanning?"));
    }

    void allRecorded_data() {
        QTest::addColumn<int>("probing");
        QTest::addColumn<int>("end");
        for (int end : {20, 40}) {
            QTest::addRow("1-%d swept", end) << int(ScanWalk::Probing::Swept) << end;
            QTest::addRow("1-%d one by one", end) << int(ScanWalk::Probing::OneByOne) << end;
        }
    }
    void allRecorded() {
        QFETCH(int, probing);
        QFETCH(int, end);
        test::FakePinger pinger;
        Rig rig(probing);
        auto& [host, position, walk] = rig;
        walk.prepare(1);
        if (walk.bigScanDue(end)) walk.startChosen();
        QCOMPARE(walk.pos.StartRange, end > 30 ? 1 : 999);
        QVERIFY(walkTo(walk, planOf(1, end, span(1, end), walk.pos.i)));
        QCOMPARE(host.log, QStringList({"Scanning", "All recorded"}));
        QVERIFY(pinger.pinged.isEmpty());
        QCOMPARE(walk.pos.i, 0);
    }

    void pausesEvery30_data() {
        QTest::addColumn<int>("probing");
        QTest::addColumn<QList<int>>("recorded");
        QTest::addRow("swept") << int(ScanWalk::Probing::Swept) << QList<int>{};
        QTest::addRow("one by one") << int(ScanWalk::Probing::OneByOne) << QList<int>{};
        QTest::addRow("31 and 61 recorded") << int(ScanWalk::Probing::Swept) << QList<int>{31, 61};
    }
    void pausesEvery30() {
        QFETCH(int, probing);
        QFETCH(QList<int>, recorded);
        test::FakePinger pinger;
        Rig rig(probing);
        auto& [host, position, walk] = rig;
        walk.prepare(1);
        QVERIFY(walk.bigScanDue(100));
        walk.startChosen(); // start 1 chosen in the dialog
        QVERIFY(walkTo(walk, planOf(1, 100, recorded, 1)));
        QCOMPARE(host.pausedAt, QList<int>({31, 61, 91}));
        QCOMPARE(host.finished, 1);
        QVERIFY(!host.allRecorded);
        for (int o = 1; o <= 100; ++o)
            QCOMPARE(pinger.pinged.count(addr(o)), recorded.contains(o) ? 0 : 4);
    }

    void pauseNoEndsQuietly() {
        test::FakePinger pinger;
        Rig rig;
        auto& [host, position, walk] = rig;
        host.answers = {false};
        walk.prepare(1);
        walk.startChosen();
        QVERIFY(walkTo(walk, planOf(1, 100, {}, 1)));
        QCOMPARE(host.pausedAt, QList<int>({31}));
        QCOMPARE(host.finished, 0);
        QCOMPARE(walk.pos.i, 0);
        QCOMPARE(host.lastShown, addr(30)); // nothing recorded: asked before .31 is shown
    }

    void noPauseAtTheChosenStart_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QList<int>>("pauses");
        QTest::newRow("start 31 of 1-100") << 1 << 100 << 31 << QList<int>{61, 91};
        QTest::newRow("start 0 of 0-20") << 0 << 20 << -1 << QList<int>{};
        QTest::newRow("start 30 of 0-70") << 0 << 70 << 30 << QList<int>{31, 61};
    }
    void noPauseAtTheChosenStart() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(int, chosen);
        QFETCH(QList<int>, pauses);
        test::FakePinger pinger;
        Rig rig;
        auto& [host, position, walk] = rig;
        walk.prepare(start);
        if (walk.bigScanDue(end - start + 1)) {
            walk.pos.i = walk.pos.StartRange = chosen; // what the scan-range dialog writes
            walk.startChosen();
        }
        QVERIFY(walkTo(walk, planOf(start, end, {}, walk.pos.i)));
        QCOMPARE(host.pausedAt, pauses);
    }

    void chosenStartForgottenAfterCancel() {
        test::FakePinger pinger;
        Rig rig;
        auto& [host, position, walk] = rig;
        walk.prepare(1);
        position.i = position.StartRange = 31;
        walk.startChosen();
        walk.reset(); // Cancel before the walk; then a smaller range without the question
        walk.prepare(20);
        QVERIFY(!walk.bigScanDue(26));
        QVERIFY(walkTo(walk, planOf(20, 45, {}, position.i)));
        QCOMPARE(host.pausedAt, QList<int>({31}));
    }

    void liveHostThenResume_data() { modes(); }
    void liveHostThenResume() {
        QFETCH(int, probing);
        test::FakePinger pinger;
        pinger.live = {addr(7)};
        Rig rig(probing);
        auto& [host, position, walk] = rig;
        const QList<int> recorded = {1, 2, 3, 4, 5, 12};
        walk.prepare(1);
        QVERIFY(!walk.bigScanDue(20));
        QVERIFY(walkTo(walk, planOf(1, 20, recorded, walk.pos.i)));
        QStringList expected = {"Scanning"};
        for (int o = 1; o <= 5; ++o) expected << addr(o);
        expected << addr(6) << "Scanning." << addr(7) << "Scanning.." << "offer 7";
        QCOMPARE(host.log, expected);
        QCOMPARE(walk.pos.i, 8);
        for (int o = 1; o <= 5; ++o) QCOMPARE(pinger.pinged.count(addr(o)), 0);
        QCOMPARE(pinger.pinged.count(addr(6)), 4);
        QCOMPARE(pinger.pinged.count(addr(7)), 1);

        // Saved; the same equipment chosen again goes on at .8 and passes .12 without echo.
        host.log.clear();
        pinger.pinged.clear();
        walk.prepare(1);
        QVERIFY(walkTo(walk, planOf(1, 20, recorded, walk.pos.i)));
        QCOMPARE(host.log.mid(0, 2), QStringList({"Scanning", addr(8)}));
        QCOMPARE(host.log.last(), QStringLiteral("Finished"));
        QCOMPARE(host.log.filter(QRegularExpression("^10\\.")), [] {
            QStringList s;
            for (int o = 8; o <= 20; ++o) s << addr(o);
            return s;
        }());
        QVERIFY(!pinger.pinged.contains(addr(12)));
        // The sweep's answers are still fresh: nothing is sent again.
        if (ScanWalk::Probing(probing) == ScanWalk::Probing::Swept)
            QVERIFY(pinger.pinged.isEmpty());
        else
            QCOMPARE(pinger.pinged.size(), 12 * 4);
        QCOMPARE(walk.pos.i, 0);
    }

    void staleAnswersProbedAgain() {
        test::FakePinger pinger;
        pinger.live = {addr(7)};
        Rig rig;
        auto& [host, position, walk] = rig;
        qint64 now = 0;
        walk.setClock([&now] { return now; });
        const auto pingedSet = [&pinger] {
            return QSet<QString>(pinger.pinged.cbegin(), pinger.pinged.cend());
        };
        const auto addresses = [](int from, int to) {
            QSet<QString> s;
            for (int o = from; o <= to; ++o) s << addr(o);
            return s;
        };
        walk.prepare(1);
        QVERIFY(walkTo(walk, planOf(1, 20, {}, walk.pos.i)));
        QCOMPARE(host.offered, 7);
        QCOMPARE(pingedSet(), addresses(1, 20));

        // 30 s later, .1-.20 recorded meanwhile, a larger range: only .21-.30 are probed.
        walk.reset();
        now = 30000;
        pinger.pinged.clear();
        walk.prepare(1);
        QVERIFY(walkTo(walk, planOf(1, 30, span(1, 20), walk.pos.i)));
        QCOMPARE(pingedSet(), addresses(21, 30));
        QCOMPARE(host.log.last(), QStringLiteral("Finished"));

        // At 70 s (only .1-.5 recorded): the first sweep's answers are too old, the second's not.
        now = 70000;
        pinger.pinged.clear();
        const int sweeps = walk.sweepsStarted();
        walk.prepare(1);
        QVERIFY(walkTo(walk, planOf(1, 30, span(1, 5), walk.pos.i)));
        QCOMPARE(walk.sweepsStarted(), sweeps + 1);
        QCOMPARE(pingedSet(), addresses(6, 20));
        QCOMPARE(host.offered, 7);
    }

    void stopDuringSweep() {
        test::FakePinger pinger;
        pinger.roundMs = 300;
        Rig rig;
        auto& [host, position, walk] = rig;
        walk.prepare(1);
        walk.startChosen();
        QSignalSpy ended(&walk, &ScanWalk::ended);
        int ticks = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
        tick.start(20);
        QElapsedTimer stoppedAt;
        QTimer::singleShot(100, [&] {
            walk.reset(); // Cancel, then the stop request
            walk.requestStop();
            stoppedAt.start();
        });
        QVERIFY(walk.run(planOf(1, 60, {}, 1)));
        QVERIFY(ended.wait(5000));
        QVERIFY2(stoppedAt.elapsed() < 600, qPrintable(QString::number(stoppedAt.elapsed())));
        QCOMPARE(pinger.sweeps, 1); // the other three rounds were never sent
        QVERIFY2(ticks >= 8, qPrintable(QString::number(ticks))); // the event loop kept running
        QCOMPARE(host.log.last(), QStringLiteral("Finished"));
        QCOMPARE(host.offered, -1);
        QCOMPARE(walk.pos.i, 0);
    }

    void stopBetweenAddresses_data() { modes(); }
    void stopBetweenAddresses() {
        QFETCH(int, probing);
        test::FakePinger pinger;
        Rig rig(probing);
        auto& [host, position, walk] = rig;
        host.onShow = [&walk](const QString& a) {
            if (a == addr(10)) walk.requestStop();
        };
        walk.prepare(1);
        QVERIFY(walkTo(walk, planOf(1, 20, {}, walk.pos.i)));
        QCOMPARE(host.lastShown, addr(10));
        QCOMPARE(host.log.last(), QStringLiteral("Finished"));
    }
};

QTEST_MAIN(TestScanWalk)
#include "tst_scan_walk.moc"

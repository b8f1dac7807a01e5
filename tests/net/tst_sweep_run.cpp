// The sweep run in rounds on a private network: the same answers as the one-by-one rule, four
// rounds for the silent addresses, and an abandoned run that sends no further round.
#include "net/IcmpEcho.h"
#include "net/SweepRun.h"
#include "support/NetRig.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using namespace zorva;

namespace {
const QStringList kLive = {"192.0.2.10", "192.0.2.20", "192.0.2.30"};
QStringList block(int from, int to) {
    QStringList out;
    for (int o = from; o <= to; ++o) out << QStringLiteral("192.0.2.%1").arg(o);
    return out;
}
} // namespace

class TestSweepRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString why = test::enterTestNetwork(kLive);
        if (!why.isEmpty()) QSKIP(qPrintable("no private test network: " + why));
    }

    void sameAnswersAsOneByOne() {
        // few silent ones: the one-by-one rule waits 0.8 s for each
        const QStringList addresses = {"192.0.2.1",  "192.0.2.9",  "192.0.2.10",
                                       "192.0.2.11", "192.0.2.20", "198.51.100.9"};
        IcmpPinger serial;
        const QList<PingResult> expected = serial.Pinger::sweep(addresses);
        SweepRun run;
        QSignalSpy finished(&run, &SweepRun::finished);
        QElapsedTimer t;
        t.start();
        QVERIFY(run.start(addresses));
        QVERIFY(!run.start(addresses)); // one run at a time
        QVERIFY(finished.wait(5000));
        QVERIFY2(t.elapsed() < 2000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(run.rounds(), 4);
        QSet<QString> live;
        for (int k = 0; k < addresses.size(); ++k)
            if (expected[k].message == QLatin1String("Success")) live << addresses[k];
        QCOMPARE(live, QSet<QString>({"192.0.2.1", "192.0.2.10", "192.0.2.20"}));
        QCOMPARE(run.live(), live);
    }

    void abandonedAfterTheRoundUnderWay() {
        SweepRun run;
        QSignalSpy finished(&run, &SweepRun::finished);
        QElapsedTimer t;
        QTimer::singleShot(50, [&] {
            run.abandon();
            t.start();
        });
        QVERIFY(run.start(block(40, 99)));
        QVERIFY(finished.wait(5000));
        QVERIFY2(t.elapsed() < 400, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(finished.first().first().toBool(), true);
        QCOMPARE(run.rounds(), 1);
        QVERIFY(!run.isRunning());
    }
};

QTEST_MAIN(TestSweepRun)
#include "tst_sweep_run.moc"

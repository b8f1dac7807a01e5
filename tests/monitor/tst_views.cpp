// The views over what the sweeps saw, on prepared sightings, with and without an area.
#include "MonitorTest.h"
#include "monitor/MonitorViews.h"

using namespace zorva;
using namespace zorva::test;

namespace {

// Sighting rows as a sweep leaves them.
void seen(AppFixture& app, const QString& address, const QString& state, const QVariant& lastSeen,
          const QString& dns = {}, const QString& mac = {}, const QString& prevMac = {}) {
    const QVariant none(QMetaType(QMetaType::QString));
    app.exec("INSERT INTO Monitor_Seen (IP_Address, IP_Num, FirstSeen, LastSeen, LastChecked, DnsName, MacAddress, "
             "PrevMacAddress, State) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
             {address, qint64(*addressNumber(address)), lastSeen, lastSeen, monitor::storedTime(QDateTime::currentDateTimeUtc()),
              dns.isEmpty() ? none : QVariant(dns), mac.isEmpty() ? none : QVariant(mac),
              prevMac.isEmpty() ? none : QVariant(prevMac), state});
}

QVariant daysAgo(int days) { return monitor::storedTime(QDateTime::currentDateTimeUtc().addDays(-days)); }

QStringList firstColumn(const std::optional<MonitorTable>& t) {
    QStringList out;
    if (t)
        for (const QVariantList& row : t->rows) out << row.value(0).toString();
    return out;
}

} // namespace

class TestViews : public ZorvaTest {
    Q_OBJECT
protected:
    void setUp() override {
        addPlan(app());
        const QVariant none(QMetaType(QMetaType::QString));
        addRecord(app(), "10.1.0.1", "pc01", "North");   // seen now, names agree
        addRecord(app(), "10.1.0.2", "pc02", "North");   // last seen 40 days ago
        addRecord(app(), "10.1.0.3", "pc03", "North");   // never seen
        addRecord(app(), "10.1.0.4", "PC04", "North");   // DNS says pc99
        addRecord(app(), "20.5.7.101", "gw", "South");   // last seen 50 days ago
        seen(app(), "10.1.0.1", "up", daysAgo(0), "PC01.example.org", "AA:00:00:00:00:01");
        seen(app(), "10.1.0.2", "down", daysAgo(40));
        seen(app(), "10.1.0.3", "down", none);
        seen(app(), "10.1.0.4", "up", daysAgo(0), "pc99.example.org", "AA:00:00:00:00:01");
        seen(app(), "10.1.0.9", "up", daysAgo(0), {}, "AA:00:00:00:00:09", "AA:00:00:00:00:08"); // no record
        seen(app(), "20.5.7.101", "down", daysAgo(50));
        seen(app(), "20.5.7.120", "up", daysAgo(0));   // no record
        seen(app(), "20.5.7.121", "down", daysAgo(3)); // no record, not answering
    }

private slots:
    void views_data() {
        QTest::addColumn<int>("view");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QStringList>("addresses");
        QTest::newRow("live unrecorded") << 0 << "" << QStringList{"10.1.0.9", "20.5.7.120"};
        QTest::newRow("live unrecorded, North") << 0 << "North" << QStringList{"10.1.0.9"};
        QTest::newRow("not seen for 30 days") << 1 << "" << QStringList{"10.1.0.2", "20.5.7.101"};
        QTest::newRow("not seen for 30 days, South") << 1 << "South" << QStringList{"20.5.7.101"};
        QTest::newRow("not seen for 45 days") << 4 << "" << QStringList{"20.5.7.101"};
        QTest::newRow("never seen") << 2 << "" << QStringList{"10.1.0.3"};
        QTest::newRow("never seen, South") << 2 << "South" << QStringList{};
        QTest::newRow("names differ") << 3 << "" << QStringList{"10.1.0.4"};
        QTest::newRow("hardware") << 5 << "" << QStringList{"10.1.0.1", "10.1.0.4", "10.1.0.9"};
        QTest::newRow("hardware, South") << 5 << "South" << QStringList{};
    }
    void views() {
        QFETCH(int, view);
        QFETCH(QString, area);
        QFETCH(QStringList, addresses);
        QSqlDatabase db = database();
        QString error;
        std::optional<MonitorTable> t;
        switch (view) {
        case 0: t = liveUnrecorded(db, area, &error); break;
        case 1: t = recordedNotSeen(db, 30, area, &error); break;
        case 2: t = recordedNeverSeen(db, area, &error); break;
        case 3: t = nameMismatches(db, area, &error); break;
        case 4: t = recordedNotSeen(db, 45, area, &error); break;
        case 5: t = hardwareAnomalies(db, area, &error); break;
        }
        QVERIFY2(t, qPrintable(error));
        QCOMPARE(firstColumn(t), addresses);
        for (const QVariantList& row : t->rows) QCOMPARE(row.size(), t->columns.size());
    }

    void sharedAndChangedHardwareTold() {
        const auto t = hardwareAnomalies(database(), {});
        QVERIFY(t);
        QCOMPARE(t->rows[0][2].toLongLong(), 2);                     // AA..01 under two addresses
        QCOMPARE(t->rows[2][3].toString(), QString("AA:00:00:00:00:08")); // .9 changed its hardware
    }

    void reclaimMarkShownWithNotSeen() {
        app().loginAs();
        QVERIFY(MonitorStore(database()).markReclaim("10.1.0.2"));
        const auto t = recordedNotSeen(database(), 30, {});
        QVERIFY(t);
        QVERIFY(!t->rows[0][6].isNull());
        QVERIFY(t->rows[1][6].isNull());
    }

    void changesOfTheLastSweep() {
        SwitchPinger pinger;
        NameTable names;
        addWatch("north", "10.1.0.1-4");
        addWatch("south", "20.5.7.120-121");
        pinger.live = {"10.1.0.3", "20.5.7.121"};
        QCOMPARE(sweepOnce("north"), MonitorSweep::Outcome::Done);
        QCOMPARE(sweepOnce("south"), MonitorSweep::Outcome::Done);
        QCOMPARE(firstColumn(lastSweepChanges(database(), "north", {})).size(), 3); // .1, .4 down, .3 new
        const auto north = lastSweepChanges(database(), "north", {});
        QStringList kinds;
        for (const QVariantList& row : north->rows) kinds << row[1].toString() + " " + row[2].toString();
        QCOMPARE(kinds, QStringList({"10.1.0.1 went down", "10.1.0.3 new", "10.1.0.4 went down"}));
        const auto any = lastSweepChanges(database(), {}, {});
        QVERIFY(any);
        QCOMPARE(any->rows.size(), 2); // the south sweep, the later one
        QCOMPARE(lastSweepChanges(database(), {}, "North")->rows.size(), 0);
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"

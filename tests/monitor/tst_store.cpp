// The monitor's tables: watches from typed ranges and from the plan, the record of a sweep,
// the upgrade of an older database, the reclaim marks and their history.
#include "MonitorTest.h"
#include "platform/MonitorSchema.h"
#include "platform/Schema.h"
#include "platform/SqlDialect.h"

#include <QElapsedTimer>

using namespace zorva;
using namespace zorva::test;

namespace {

// A sweep of scope with these addresses answering (address -> MAC, "" for none), recorded as
// a monitor that took the watch's lease would record it.
std::optional<SweepCounts> record(const QString& watch, const QString& scope, const QHash<QString, QString>& up,
                                  const QHash<QString, QString>& names = {}, QString* error = nullptr) {
    MonitorStore store(database());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (store.takeLease(watch, "test", now.addSecs(60), false) != std::optional<bool>(true)) return std::nullopt;
    SweepResult r;
    r.watch = watch;
    r.holder = "test";
    r.startedAt = now;
    r.endedAt = now;
    r.spans = parseWatchRange(scope)->spans;
    for (const QString& a : parseWatchRange(scope)->addresses())
        r.sightings.append({*addressNumber(a), up.contains(a), 2, names.value(a), up.value(a)});
    return store.recordSweep(r, error);
}

QStringList changeKinds(AppFixture& app, qint64 sweep) {
    QStringList out;
    auto q = runSql("SELECT IP_Address, Kind, Old, New FROM Monitor_Change WHERE SweepId = ? ORDER BY rowid", {sweep});
    while (q && q->next())
        out << QStringList{q->value(0).toString(), q->value(1).toString(), q->value(2).toString(), q->value(3).toString()}.join('|');
    Q_UNUSED(app);
    return out;
}

} // namespace

class TestStore : public ZorvaTest {
    Q_OBJECT
private slots:
    void planWatches_data() {
        QTest::addColumn<QString>("scope");
        QTest::addColumn<QStringList>("spans"); // "first-last"
        QTest::newRow("area: one /16 per city") << "area:North" << QStringList{"10.1.0.0-10.2.255.255"};
        QTest::newRow("city") << "city:North/Beta" << QStringList{"10.2.0.0-10.2.255.255"};
        QTest::newRow("segmented city's own range") << "city:South/Gamma" << QStringList{"20.5.7.100-20.5.7.150"};
        QTest::newRow("equipment in a segmented city") << "equipment:South/Gamma/Lab Phone" << QStringList{"20.5.7.120-20.5.7.130"};
    }
    void planWatches() {
        QFETCH(QString, scope);
        QFETCH(QStringList, spans);
        addPlan(app());
        QString plain, error;
        const WatchKind kind = watchKindOfText(scope, &plain);
        const auto r = resolveWatch(kind, plain, &error);
        QVERIFY2(r, qPrintable(error));
        QStringList got;
        for (const AddressSpan& s : r->spans) got << addressText(s.first) + "-" + addressText(s.last);
        QCOMPARE(got, spans);
    }

    void equipmentInEveryBlockOfACity() {
        addPlan(app());
        const auto r = resolveWatch(WatchKind::Equipment, "North/Alpha/Lab Printer");
        QVERIFY(r);
        QCOMPARE(r->spans.size(), 256);
        QCOMPARE(r->count(), 256ull * 11);
        QCOMPARE(addressText(r->spans[3].first), QString("10.1.3.200"));
        QCOMPARE(addressText(r->spans[3].last), QString("10.1.3.210"));
    }

    void refusedWatches_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("scope");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("message");
        QTest::newRow("name taken, other case") << "LAB" << "192.0.2.0/29" << 15 << "" << "exists already";
        QTest::newRow("bad range") << "x" << "192.0.2.300" << 15 << "" << "covers no addresses";
        QTest::newRow("unknown area") << "x" << "area:Nowhere" << 15 << "" << "no area \"Nowhere\"";
        QTest::newRow("unknown city") << "x" << "city:North/Nowhere" << 15 << "" << "no city \"Nowhere\"";
        QTest::newRow("city without area") << "x" << "city:Alpha" << 15 << "" << "AREA/CITY";
        QTest::newRow("unknown equipment") << "x" << "equipment:North/Alpha/Fax" << 15 << "" << "no equipment";
        QTest::newRow("interval 0") << "x" << "192.0.2.1" << 0 << "" << "at least one minute";
        QTest::newRow("half window") << "x" << "192.0.2.1" << 15 << "22:00-" << "HH:mm";
        QTest::newRow("bad window") << "x" << "192.0.2.1" << 15 << "25:00-06:00" << "HH:mm";
    }
    void refusedWatches() {
        QFETCH(QString, name);
        QFETCH(QString, scope);
        QFETCH(int, interval);
        QFETCH(QString, window);
        QFETCH(QString, message);
        addPlan(app());
        addWatch("lab", "192.0.2.0/29");
        Watch w;
        w.name = name;
        w.kind = watchKindOfText(scope, &w.scope);
        w.intervalMinutes = interval;
        w.windowFrom = window.section('-', 0, 0);
        w.windowTo = window.section('-', 1);
        QString error;
        QVERIFY(!MonitorStore(database()).addWatch(w, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(app().count("Monitor_Watch"), 1);
    }

    void dueInWindow_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("at");
        QTest::addColumn<bool>("due");
        QTest::newRow("no window") << "" << "" << "12:00" << true;
        QTest::newRow("inside") << "08:00" << "18:00" << "12:00" << true;
        QTest::newRow("after") << "08:00" << "18:00" << "18:00" << false;
        QTest::newRow("over midnight, late") << "22:00" << "06:00" << "23:30" << true;
        QTest::newRow("over midnight, early") << "22:00" << "06:00" << "05:59" << true;
        QTest::newRow("over midnight, day") << "22:00" << "06:00" << "12:00" << false;
    }
    void dueInWindow() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, at);
        QFETCH(bool, due);
        Watch w;
        w.windowFrom = from;
        w.windowTo = to;
        const QDateTime now(QDate(2026, 3, 1), QTime::fromString(at, "HH:mm"), Qt::LocalTime);
        QCOMPARE(watchIsDue(w, now.toUTC()), due);
        w.nextDue = now.toUTC().addSecs(60);
        QVERIFY(!watchIsDue(w, now.toUTC()));
    }

    void sweepRoundTrip() {
        addWatch("lab", "192.0.2.1-4");
        QString error;
        auto first = record("lab", "192.0.2.1-4", {{"192.0.2.1", "AA:00:00:00:00:01"}, {"192.0.2.2", ""}},
                            {{"192.0.2.1", "one.example"}}, &error);
        QVERIFY2(first, qPrintable(error));
        QCOMPARE(first->addresses, 4);
        QCOMPARE(first->live, 2);
        QCOMPARE(first->fresh, 2);
        QCOMPARE(app().count("Monitor_Seen"), 4);
        QCOMPARE(app().count("Monitor_Seen", "LastSeen IS NULL AND LastChecked IS NOT NULL AND State = 'down'"), 2);
        QCOMPARE(changeKinds(app(), first->sweepId), QStringList({"192.0.2.1|new||up", "192.0.2.2|new||up"}));
        const QString firstSeen = app().scalar("SELECT FirstSeen FROM Monitor_Seen WHERE IP_Address = '192.0.2.1'").toString();

        // .1 changes hardware and name, .2 goes down, .3 comes up for the first time.
        auto second = record("lab", "192.0.2.1-4", {{"192.0.2.1", "AA:00:00:00:00:02"}, {"192.0.2.3", ""}},
                             {{"192.0.2.1", "uno.example"}}, &error);
        QVERIFY2(second, qPrintable(error));
        QCOMPARE(second->wentDown, 1);
        QCOMPARE(second->fresh, 1);
        QCOMPARE(second->hardwareChanged, 1);
        QCOMPARE(second->nameChanged, 1);
        QCOMPARE(changeKinds(app(), second->sweepId),
                 QStringList({"192.0.2.1|name changed|one.example|uno.example",
                              "192.0.2.1|hardware changed|AA:00:00:00:00:01|AA:00:00:00:00:02",
                              "192.0.2.2|went down|up|down", "192.0.2.3|new||up"}));
        QCOMPARE(app().scalar("SELECT FirstSeen FROM Monitor_Seen WHERE IP_Address = '192.0.2.1'").toString(), firstSeen);
        QCOMPARE(app().scalar("SELECT PrevMacAddress FROM Monitor_Seen WHERE IP_Address = '192.0.2.1'").toString(),
                 QString("AA:00:00:00:00:01"));
        // The one that went down keeps when it was last seen.
        QVERIFY(!app().scalar("SELECT LastSeen FROM Monitor_Seen WHERE IP_Address = '192.0.2.2'").isNull());

        auto third = record("lab", "192.0.2.1-4", {{"192.0.2.2", ""}}, {}, &error);
        QVERIFY2(third, qPrintable(error));
        QVERIFY(changeKinds(app(), third->sweepId).contains("192.0.2.2|came up|down|up"));
        QCOMPARE(app().count("Monitor_Seen"), 4);
        QCOMPARE(app().count("Monitor_Sweep", "Watch = 'lab' AND Outcome = 'done'"), 3);
    }

    void recordRefusedWithoutTheLease() {
        addWatch("lab", "192.0.2.1-2");
        MonitorStore store(database());
        SweepResult r;
        r.watch = "lab";
        r.holder = "nobody";
        r.startedAt = r.endedAt = QDateTime::currentDateTimeUtc();
        r.spans = parseWatchRange("192.0.2.1-2")->spans;
        r.sightings.append({*addressNumber("192.0.2.1"), true, 1, {}, {}});
        QString error;
        QVERIFY(!store.recordSweep(r, &error));
        QVERIFY2(error.contains("no longer held"), qPrintable(error));
        QCOMPARE(app().count("Monitor_Seen"), 0);
        QCOMPARE(app().count("Monitor_Sweep"), 0);
    }

    void leaseIsExclusiveUntilItRunsOut() {
        addWatch("lab", "192.0.2.1");
        MonitorStore store(database());
        const QDateTime now = QDateTime::currentDateTimeUtc();
        QCOMPARE(store.takeLease("lab", "a", now.addSecs(60), false), std::optional<bool>(true));
        QCOMPARE(store.takeLease("lab", "b", now.addSecs(60), false), std::optional<bool>(false));
        store.releaseLease("lab", "b"); // not b's to give back
        QCOMPARE(store.takeLease("lab", "b", now.addSecs(60), false), std::optional<bool>(false));
        app().exec("UPDATE Monitor_Watch SET LeaseUntil = '2000-01-01 00:00:00'");
        QCOMPARE(store.takeLease("lab", "b", now.addSecs(60), false), std::optional<bool>(true));
    }

    void wholeSlash16InOneQuickTransaction() {
        addWatch("big", "10.9.0.0/16");
        QHash<QString, QString> up;
        for (int i = 0; i < 65536; i += 3) up.insert(addressText((10u << 24) | (9u << 16) | quint32(i)), {});
        QElapsedTimer t;
        t.start();
        QString error;
        const auto counts = record("big", "10.9.0.0/16", up, {}, &error);
        QVERIFY2(counts, qPrintable(error));
        const qint64 first = t.restart();
        QVERIFY(record("big", "10.9.0.0/16", {}, {}, &error));
        qInfo("65536 rows: %lld ms new, %lld ms again", first, t.elapsed());
        QCOMPARE(app().count("Monitor_Seen"), 65536);
        QCOMPARE(app().count("Monitor_Change", "Kind = 'went down'"), up.size());
        QVERIFY2(first < 4000, "far too slow for one sweep's write");
    }

    void upgradeAddsTheTables() {
        QSqlDatabase db = database();
        for (const QString& t : monitorTables()) app().exec("DROP TABLE " + t);
        QVERIFY(!catalog(db, Catalog::Tables).contains("monitor_watch", Qt::CaseInsensitive));
        QString error;
        QVERIFY2(upgradeSchema(db, &error), qPrintable(error));
        for (const QString& t : monitorTables())
            QVERIFY2(catalog(db, Catalog::Tables).contains(t, Qt::CaseInsensitive), qPrintable(t));
        QVERIFY(monitorStatements(db).isEmpty());
        addWatch("after", "192.0.2.1");
        // Up to date now: a second upgrade keeps the rows.
        QVERIFY2(upgradeSchema(db, &error), qPrintable(error));
        QCOMPARE(app().count("Monitor_Watch"), 1);
    }

    void reclaimMarksLeaveHistory() {
        app().loginAs();
        addRecord(app(), "10.1.2.3", "pc01", "North");
        const int history = app().count("IP_History");
        MonitorStore store(database());
        QString error;
        QVERIFY(!store.markReclaim("10.1.2.4", &error));
        QVERIFY2(error.contains("not a recorded address"), qPrintable(error));
        QVERIFY2(store.markReclaim("10.1.2.3", &error), qPrintable(error));
        QVERIFY(!store.markReclaim("10.1.2.3", &error));
        QVERIFY2(error.contains("already"), qPrintable(error));
        QCOMPARE(app().count("Monitor_Reclaim", "MarkedBy = 'ADMIN'"), 1);
        QVERIFY2(store.unmarkReclaim("10.1.2.3", &error), qPrintable(error));
        QVERIFY(!store.unmarkReclaim("10.1.2.3", &error));
        QCOMPARE(app().count("IP_History"), history + 2);
        QCOMPARE(app().count("IP_History", "IP_Address = '10.1.2.3' AND Action = 'reclaim marked' AND UserID = 'ADMIN'"), 1);
        QCOMPARE(app().count("IP_History", "IP_Address = '10.1.2.3' AND Action = 'reclaim unmarked'"), 1);
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.1.2.3'"), 1);
        QCOMPARE(app().count("Monitor_Reclaim"), 0);
    }
};

QTEST_MAIN(TestStore)
#include "tst_store.moc"

// The rules behind the monitor's window: a new watch from the dialog's input, an area user's
// limits, what a sweep's end says, how the views' cells read and sort, the views as reports.
#include "MonitorTest.h"
#include "monitor/MonitorReport.h"
#include "monitor/MonitorRules.h"

#include <QTimeZone>

using namespace zorva;
using namespace zorva::test;

namespace {

WatchInput typed(const QString& ranges) {
    WatchInput in;
    in.name = QStringLiteral("w");
    in.ranges = ranges;
    return in;
}

WatchInput plan(const QString& area, const QString& city = {}, const QString& equipment = {}) {
    WatchInput in;
    in.name = QStringLiteral("w");
    in.fromPlan = true;
    in.area = area;
    in.city = city;
    in.equipment = equipment;
    return in;
}

WatchInput daily(QTime from, QTime to) {
    WatchInput in = typed(QStringLiteral("10.1.0.0/30"));
    in.daily = true;
    in.from = from;
    in.to = to;
    return in;
}

} // namespace

Q_DECLARE_METATYPE(zorva::WatchInput)

class TestRules : public ZorvaTest {
    Q_OBJECT
protected:
    void setUp() override { addPlan(app()); }

private slots:
    void watchInput_data() {
        QTest::addColumn<WatchInput>("input");
        QTest::addColumn<QString>("scope"); // empty: refused
        QTest::addColumn<qulonglong>("count");
        QTest::addColumn<QString>("message");
        QTest::newRow("prefix") << typed(" 10.1.2.0/24 ") << "10.1.2.0/24" << 256ull << "";
        QTest::newRow("short range") << typed("10.1.2.10-200") << "10.1.2.10-200" << 191ull << "";
        QTest::newRow("above a /16") << typed("10.0.0.0/15") << "10.0.0.0/15" << 131072ull << "";
        QTest::newRow("bad octet") << typed("10.1.2.300") << "" << 0ull << "10.1.2.300";
        QTest::newRow("bad prefix") << typed("10.1.2.0/33") << "" << 0ull << "10.1.2.0/33";
        QTest::newRow("nothing typed") << typed("  ") << "" << 0ull << "Type the addresses";
        QTest::newRow("area") << plan("North") << "North" << 131072ull << "";
        QTest::newRow("city") << plan("North", "Beta") << "North/Beta" << 65536ull << "";
        QTest::newRow("equipment") << plan("South", "Gamma", "Lab Phone") << "South/Gamma/Lab Phone" << 11ull << "";
        QTest::newRow("equipment without city") << plan("North", "", "Lab Printer") << "" << 0ull << "Choose the city";
        QTest::newRow("no area") << plan("") << "" << 0ull << "Choose the area";
        QTest::newRow("unknown city") << plan("North", "Nowhere") << "" << 0ull << "Nowhere";
        QTest::newRow("window over midnight") << daily(QTime(22, 0), QTime(6, 0)) << "10.1.0.0/30" << 4ull << "";
        QTest::newRow("window of no length") << daily(QTime(8, 0), QTime(8, 0)) << "" << 0ull << "daily window";
        WatchInput unnamed = typed("10.1.0.0/30");
        unnamed.name = " ";
        QTest::newRow("no name") << unnamed << "" << 0ull << "Give the watch a name";
    }
    void watchInput() {
        QFETCH(WatchInput, input);
        QFETCH(QString, scope);
        QFETCH(qulonglong, count);
        QFETCH(QString, message);
        QString error;
        const auto checked = checkWatchInput(input, &error);
        QCOMPARE(checked.has_value(), !scope.isEmpty());
        if (!checked) {
            QVERIFY2(error.contains(message), qPrintable(error));
            return;
        }
        QCOMPARE(checked->watch.scope, scope);
        QCOMPARE(checked->range.count(), count);
        QCOMPARE(checked->range.needsConfirmation(), count > kConfirmAbove);
        // What the check lets through, the store takes.
        QVERIFY2(MonitorStore(database()).addWatch(checked->watch, &error), qPrintable(error));
        const auto stored = MonitorStore(database()).watch("w");
        QCOMPARE(stored->windowFrom.isEmpty(), !input.daily);
    }

    void area_data() {
        QTest::addColumn<QString>("scope"); // as the command line types it
        QTest::addColumn<QString>("area");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("anyone, anything") << "20.5.7.0/24" << "" << true;
        QTest::newRow("own block") << "10.1.0.0/24, 10.200.0.1" << "North" << true;
        QTest::newRow("whole own block") << "10.0.0.0/8" << "North" << true;
        QTest::newRow("other block") << "20.5.7.0/24" << "North" << false;
        QTest::newRow("across the edge") << "10.255.255.250-11.0.0.5" << "North" << false;
        QTest::newRow("partly outside") << "10.1.0.1, 20.5.7.1" << "North" << false;
        QTest::newRow("own area") << "area:North" << "North" << true;
        QTest::newRow("own city, other case") << "city:north/Alpha" << "North" << true;
        QTest::newRow("other area") << "area:South" << "North" << false;
        QTest::newRow("other area's equipment") << "equipment:South/Gamma/Lab Phone" << "North" << false;
        QTest::newRow("area without a block") << "10.1.0.0/24" << "Nowhere" << false;
    }
    void area() {
        QFETCH(QString, scope);
        QFETCH(QString, area);
        QFETCH(bool, allowed);
        Watch w;
        w.kind = watchKindOfText(scope, &w.scope);
        QString error;
        const auto range = resolveWatch(w.kind, w.scope, &error);
        QVERIFY2(range, qPrintable(error));
        const QString why = outsideArea(database(), w, *range, area);
        QVERIFY2(why.isEmpty() == allowed, qPrintable(why));
        if (!allowed) QVERIFY2(why.contains(area), qPrintable(why));
        QCOMPARE(watchInArea(database(), w, area), allowed);
    }

    void sweepNews_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("said");
        using O = MonitorSweep::Outcome;
        QTest::newRow("done") << int(O::Done) << int(Icon::None) << QStringList{"lab: 256 addresses, 10 live, 2 new, 1 came up, 3 went down (1.5 s)"};
        QTest::newRow("skipped") << int(O::Skipped) << int(Icon::Information) << QStringList{"the message"};
        QTest::newRow("cancelled") << int(O::Cancelled) << int(Icon::Information) << QStringList{"the message"};
        QTest::newRow("no ICMP") << int(O::NetworkFailed) << int(Icon::Critical)
                                 << QStringList{"\"lab\" (the message)", "ping_group_range", "setcap cap_net_raw+ep ZorvaMon"};
        QTest::newRow("failed") << int(O::Failed) << int(Icon::Critical) << QStringList{"\"lab\" failed: the message", "stays due"};
    }
    void sweepNews() {
        QFETCH(int, outcome);
        QFETCH(int, icon);
        QFETCH(QStringList, said);
        SweepCounts c;
        c.addresses = 256;
        c.live = 10;
        c.fresh = 2;
        c.cameUp = 1;
        c.wentDown = 3;
        const SweepNews news = zorva::sweepNews(MonitorSweep::Outcome(outcome), "lab", "the message", c, 1.5);
        QCOMPARE(int(news.icon), icon);
        for (const QString& s : said) QVERIFY2(news.text.contains(s), qPrintable(news.text));
    }

    void cells_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariant>("key");
        QDateTime utc(QDate(2026, 12, 9), QTime(14, 5, 30), QTimeZone::utc());
        QTest::newRow("address") << QVariant("10.1.0.10") << "10.1.0.10" << QVariant(qint64(0x0a01000a));
        QTest::newRow("number") << QVariant(42) << "42" << QVariant(qint64(42));
        QTest::newRow("time") << QVariant("2026-12-09 14:05:30") << utc.toLocalTime().toString("yyyy-MM-dd HH:mm")
                              << QVariant("2026-12-09 14:05:30");
        QTest::newRow("name") << QVariant("PC01.Example.org") << "PC01.Example.org" << QVariant("pc01.example.org");
        QTest::newRow("null") << QVariant() << "" << QVariant("");
        QTest::newRow("dotted, not an address") << QVariant("1.2.3") << "1.2.3" << QVariant("1.2.3");
    }
    void cells() {
        QFETCH(QVariant, value);
        QFETCH(QString, shown);
        QFETCH(QVariant, key);
        QCOMPARE(monitorCellText(value), shown);
        QCOMPARE(monitorSortKey(value), key);
    }

    void addressesSortAsNumbers() {
        QStringList a = {"10.1.0.10", "10.1.0.9", "9.255.255.255", "10.1.1.1"};
        std::sort(a.begin(), a.end(), [](const QString& x, const QString& y) {
            return monitorSortKey(x).toLongLong() < monitorSortKey(y).toLongLong();
        });
        QCOMPARE(a, (QStringList{"9.255.255.255", "10.1.0.9", "10.1.0.10", "10.1.1.1"}));
    }

    void viewAsReport() {
        MonitorTable t{{"Address", "Last seen", "Name"}, {{"10.1.0.1", QVariant(), "a, \"b\""}, {"10.1.0.2", "2026-01-02 03:04:05", "c"}}};
        const report::Report r = monitorReport("Not seen", "area North", t);
        QCOMPARE(r.fields, t.columns);
        QCOMPARE(r.columns.size(), 3);
        QCOMPARE(int(r.rows.size()), 2);
        QCOMPARE(r.rows[0], (QStringList{"10.1.0.1", "", "a, \"b\""}));
        QCOMPARE(r.element("lblScope")->text, QString("area North"));
        QCOMPARE(r.element("lblCount")->text, QString("2"));
        // Every column inside the page, none overlapping the next.
        for (int i = 0; i + 1 < r.detail.elements.size(); ++i)
            QVERIFY(r.detail.elements[i].rect.right() <= r.detail.elements[i + 1].rect.left());
        QVERIFY(r.detail.elements.last().rect.right() <= r.designWidth);
    }
};

QTEST_MAIN(TestRules)
#include "tst_rules.moc"

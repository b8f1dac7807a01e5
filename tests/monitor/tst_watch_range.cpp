// The typed ranges of a watch and the neighbour table's text: no database.
#include "monitor/NeighbourTable.h"
#include "monitor/WatchRange.h"

#include <QTest>

using namespace zorva;

class TestWatchRange : public QObject {
    Q_OBJECT
private slots:
    void parses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<qulonglong>("count");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("one address") << "10.1.2.7" << "10.1.2.7" << "10.1.2.7" << 1ull << false;
        QTest::newRow("/24") << "10.1.2.0/24" << "10.1.2.0" << "10.1.2.255" << 256ull << false;
        QTest::newRow("/24 from a host address") << "10.1.2.99/24" << "10.1.2.0" << "10.1.2.255" << 256ull << false;
        QTest::newRow("/32") << "10.1.2.3/32" << "10.1.2.3" << "10.1.2.3" << 1ull << false;
        QTest::newRow("last octet") << "10.1.2.10-200" << "10.1.2.10" << "10.1.2.200" << 191ull << false;
        QTest::newRow("across /24s") << "10.1.2.10-10.1.3.20" << "10.1.2.10" << "10.1.3.20" << 267ull << false;
        QTest::newRow("blanks") << " 10.1.2.10 - 12 " << "10.1.2.10" << "10.1.2.12" << 3ull << false;
        QTest::newRow("/16 needs no confirmation") << "10.1.0.0/16" << "10.1.0.0" << "10.1.255.255" << 65536ull << false;
        QTest::newRow("one more than a /16") << "10.1.0.0-10.2.0.0" << "10.1.0.0" << "10.2.0.0" << 65537ull << true;
        QTest::newRow("/15") << "10.0.0.0/15" << "10.0.0.0" << "10.1.255.255" << 131072ull << true;
        QTest::newRow("everything") << "0.0.0.0/0" << "0.0.0.0" << "255.255.255.255" << 4294967296ull << true;
        QTest::newRow("overlaps merged") << "10.1.2.0-100, 10.1.2.50-150" << "10.1.2.0" << "10.1.2.150" << 151ull << false;
        QTest::newRow("touching merged") << "10.1.2.255,10.1.3.0" << "10.1.2.255" << "10.1.3.0" << 2ull << false;
    }
    void parses() {
        QFETCH(QString, text);
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(qulonglong, count);
        QFETCH(bool, confirm);
        QString error;
        const auto r = parseWatchRange(text, &error);
        QVERIFY2(r, qPrintable(error));
        QCOMPARE(r->spans.size(), 1);
        QCOMPARE(addressText(r->spans.first().first), first);
        QCOMPARE(addressText(r->spans.last().last), last);
        QCOMPARE(r->count(), count);
        QCOMPARE(r->needsConfirmation(), confirm);
    }

    void refuses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("octet above 255") << "10.1.2.300" << "not an IPv4 address";
        QTest::newRow("three parts") << "10.1.2" << "not an IPv4 address";
        QTest::newRow("prefix 33") << "10.1.2.0/33" << "from 0 to 32";
        QTest::newRow("prefix not a number") << "10.1.2.0/x" << "from 0 to 32";
        QTest::newRow("reversed last octet") << "10.1.2.200-10" << "ends before it starts";
        QTest::newRow("reversed addresses") << "10.1.3.0-10.1.2.0" << "ends before it starts";
        QTest::newRow("end above 255") << "10.1.2.1-256" << "the end must be";
        QTest::newRow("negative") << "10.1.-2.1" << "not an IPv4 address";
        QTest::newRow("empty") << "  " << "no address range";
        QTest::newRow("one bad of two") << "10.1.2.0/24, 10.1.2.999" << "\"10.1.2.999\"";
    }
    void refuses() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        QString error;
        QVERIFY(!parseWatchRange(text, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void separateRangesStayApart() {
        const auto r = parseWatchRange("10.1.3.0/30, 10.1.2.0/30");
        QVERIFY(r);
        QCOMPARE(r->spans.size(), 2);
        QCOMPARE(r->addresses(), QStringList({"10.1.2.0", "10.1.2.1", "10.1.2.2", "10.1.2.3", "10.1.3.0",
                                              "10.1.3.1", "10.1.3.2", "10.1.3.3"}));
    }

    void kindsOfText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("scope");
        QTest::newRow("range") << "10.1.2.0/24" << int(WatchKind::Range) << "10.1.2.0/24";
        QTest::newRow("area") << "area: North" << int(WatchKind::Area) << "North";
        QTest::newRow("city") << "CITY:North/Alpha" << int(WatchKind::City) << "North/Alpha";
        QTest::newRow("equipment") << "equipment:North/Alpha/Printer" << int(WatchKind::Equipment) << "North/Alpha/Printer";
    }
    void kindsOfText() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(QString, scope);
        QString got;
        QCOMPARE(int(watchKindOfText(text, &got)), kind);
        QCOMPARE(got, scope);
    }

    void neighbourTable() {
        const QString text =
            "IP address       HW type     Flags       HW address            Mask     Device\n"
            "192.0.2.1        0x1         0x2         aa:bb:cc:00:11:22     *        eth0\n"
            "192.0.2.2        0x1         0x0         00:00:00:00:00:00     *        eth0\n"
            "192.0.2.3        0x1         0x6         de:ad:be:ef:00:01     *        eth1\n"
            "192.0.2.4        0x1         0x2         garbage               *        eth0\n";
        const auto t = parseNeighbourTable(text);
        QCOMPARE(t.size(), 2);
        QCOMPARE(t.value("192.0.2.1"), QString("AA:BB:CC:00:11:22"));
        QCOMPARE(t.value("192.0.2.3"), QString("DE:AD:BE:EF:00:01"));
        QVERIFY(!t.contains("192.0.2.2"));
    }
};

QTEST_MAIN(TestWatchRange)
#include "tst_watch_range.moc"

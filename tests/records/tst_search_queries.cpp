// The record search's queries, their messages and plans, and the result read in pieces.
#include "RecordsTest.h"
#include "platform/Database.h"
#include "records/RecordGridModel.h"
#include "records/RecordList.h"
#include "records/RecordSearch.h"

#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;

Q_DECLARE_METATYPE(zorva::SearchMode)
Q_DECLARE_METATYPE(zorva::MatchOption)

namespace {

QStringList addressesOf(RecordList& list) {
    QStringList out;
    for (qint64 i = 0; i < list.count(); ++i) out << list.cells(i)[0];
    return out;
}

// The plan's lines of a statement run with the query's values and then `more` numbers (the
// planner looks at a bound pattern of Like).
QString planOf(const QString& sql, const RecordQuery& query, int more) {
    QVariantList values = query.values;
    for (int i = 0; i < more; ++i) values << 1;
    auto q = runSql(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, values);
    QStringList lines;
    while (q && q->next()) lines << q->value(3).toString() + QLatin1Char(' ');
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestSearchQueries : public test::ZorvaTest {
    Q_OBJECT

protected:
    void setUp() override {
        using test::addRecord;
        const QString tmp = QStringLiteral("Temporary");
        addRecord(app(), QStringLiteral("10.1.0.9"),
                  {{"Name", "PC-A"}, {"StaffNo", "S1"}, {"Username", "Ali O'Brien"},
                   {"Remarks", "printer room"}, {"Status", "Permanent"}});
        addRecord(app(), QStringLiteral("10.10.0.3"),
                  {{"Name", "PC-B"}, {"StaffNo", "S2"}, {"Username", "Siti"}, {"Status", tmp}});
        addRecord(app(), QStringLiteral("10.100.2.4"),
                  {{"Name", "O'Hara-PC"}, {"StaffNo", "S'3"}, {"Status", tmp},
                   {"Remarks", "O'Hara's desk"}});
        addRecord(app(), QStringLiteral("10.2.0.1"), {{"Name", "PC-C"}, {"StaffNo", "S1"}});
        addRecord(app(), QStringLiteral("all.0.0.7"), {{"Status", tmp}});
    }
    void tearDown() override { RecordList::collectLimit = 10000; }

private slots:
    void searches_data() {
        QTest::addColumn<SearchMode>("mode");
        QTest::addColumn<MatchOption>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found"); // in the grid's order (IP_4)
        const auto ip = SearchMode::IPAddress;
        QTest::newRow("exact") << ip << MatchOption::Exact << "10.10.0.3"
                               << QStringList{"10.10.0.3"};
        QTest::newRow("begin 10.1 takes 10.10 and 10.100")
            << ip << MatchOption::BeginWith << "10.1"
            << QStringList{"10.10.0.3", "10.100.2.4", "10.1.0.9"};
        QTest::newRow("temporary ALL") << ip << MatchOption::Temporary << "ALL"
                                       << QStringList{"10.10.0.3", "10.100.2.4", "all.0.0.7"};
        QTest::newRow("temporary all is a prefix")
            << ip << MatchOption::Temporary << "all" << QStringList{"all.0.0.7"};
        QTest::newRow("temporary prefix") << ip << MatchOption::Temporary << "10.1"
                                          << QStringList{"10.10.0.3", "10.100.2.4"};
        QTest::newRow("staff") << SearchMode::StaffNo << MatchOption::Exact << "s1"
                               << QStringList{"10.2.0.1", "10.1.0.9"};
        QTest::newRow("staff apostrophe")
            << SearchMode::StaffNo << MatchOption::Exact << "S'3" << QStringList{"10.100.2.4"};
        QTest::newRow("hostname apostrophe") << SearchMode::Hostname << MatchOption::Exact
                                             << "O'Hara-PC" << QStringList{"10.100.2.4"};
        QTest::newRow("username three characters")
            << SearchMode::Username << MatchOption::Exact << "sit" << QStringList{"10.10.0.3"};
        QTest::newRow("username apostrophe")
            << SearchMode::Username << MatchOption::Exact << "O'B" << QStringList{"10.1.0.9"};
        QTest::newRow("remarks apostrophe")
            << SearchMode::Remarks << MatchOption::Exact << "a's" << QStringList{"10.100.2.4"};
        QTest::newRow("ip apostrophe finds nothing")
            << ip << MatchOption::BeginWith << "1'" << QStringList{};
    }
    void searches() {
        QFETCH(SearchMode, mode);
        QFETCH(MatchOption, option);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        const TextSearch s = textSearch(mode, option, text);
        QVERIFY(s.refusal.isEmpty());
        // Read whole, and walked in pieces of the order's index: the same lines.
        for (int limit : {10000, 1}) {
            RecordList::collectLimit = limit;
            RecordList list;
            QVERIFY(list.run(s.query));
            QCOMPARE(list.count(), qint64(found.size()));
            QCOMPARE(addressesOf(list), found);
        }
    }

    void refusalsAndNotFoundTexts() {
        const auto ip = SearchMode::IPAddress;
        QCOMPARE(textSearch(ip, MatchOption::Exact, {}).refusal,
                 QStringLiteral("Please enter data ... "));
        QCOMPARE(textSearch(SearchMode::Remarks, MatchOption::Exact, QStringLiteral("ab")).refusal,
                 QStringLiteral("The search term you specified (ab) is under the minimum word "
                                "length (3) and therefore will not be found.\r\nPlease make this "
                                "term longer."));
        QVERIFY(!textSearch(SearchMode::Username, MatchOption::Exact, QStringLiteral("ab"))
                     .refusal.isEmpty());
        const std::tuple<SearchMode, MatchOption, const char*, const char*> cases[] = {
            {ip, MatchOption::Temporary, "ALL",
             "There're no record with TEMPORARY status in Zorva database."},
            {ip, MatchOption::Temporary, "9.9",
             "There're no record with TEMPORARY status for IP Address 9.9 in Zorva database."},
            {ip, MatchOption::BeginWith, "9.9",
             "There're no record with IP Address 9.9 in Zorva database."},
            {SearchMode::StaffNo, MatchOption::Exact, "X",
             "There're no record with Staff No. X in Zorva database."},
            {SearchMode::Hostname, MatchOption::Exact, "X",
             "There're no record with Hostname X in Zorva database."},
            {SearchMode::Username, MatchOption::Exact, "XYZ",
             "There're no record with Username XYZ in Zorva database."},
            {SearchMode::Remarks, MatchOption::Exact, "XYZ",
             "There're no record with Remarks XYZ in Zorva database."},
        };
        for (const auto& [mode, option, text, message] : cases)
            QCOMPARE(textSearch(mode, option, QString::fromLatin1(text)).notFound,
                     QString::fromLatin1(message));
        QCOMPARE(foundNote(123456789012LL),
                 QStringLiteral("123456789012 record(s) found. Double Click on item to get detail "
                                "info OR select and use delete key to delete items."));
    }

    void locationQueries() {
        test::addRecord(app(), QStringLiteral("10.3.20.8"),
                        {{"Region", "North"}, {"CityOwner", "Kota"}});
        test::addRecord(app(), QStringLiteral("10.3.20.10"),
                        {{"Region", "North"}, {"CityOwner", "Kota"}});
        test::addRecord(app(), QStringLiteral("10.3.200.1"),
                        {{"Region", "North"}, {"CityOwner", "Kota"}});
        QCOMPARE(locationPrefix(10, 3, 20), QStringLiteral("10.3.20."));
        for (int limit : {10000, 1}) {
            RecordList::collectLimit = limit;
            RecordList list;
            QVERIFY(list.run(prefixQuery(locationPrefix(10, 3, 20))));
            QCOMPARE(addressesOf(list), (QStringList{"10.3.20.8", "10.3.20.10"}));
            // The city's records in address text order.
            QVERIFY(list.run(cityQuery(QStringLiteral("north"), QStringLiteral("Kota"))));
            QCOMPARE(addressesOf(list), (QStringList{"10.3.20.10", "10.3.20.8", "10.3.200.1"}));
        }
    }

    // Each search is served by its index (the full-text index for "contains", the block counts
    // for the number of addresses under a short prefix); the walk of a large result follows the
    // order's index without sorting.
    void plans_data() {
        QTest::addColumn<RecordQuery>("query");
        QTest::addColumn<QString>("index");   // of the statement reading the lines
        QTest::addColumn<QString>("counted"); // of the count
        QTest::addColumn<QString>("walked");  // of the walk in order
        auto text = [](SearchMode m, MatchOption o, const char* t) {
            return textSearch(m, o, QString::fromLatin1(t)).query;
        };
        const auto ip = SearchMode::IPAddress;
        const QString address = "IP_Info_IP_Address", order = "IP_Info_Order";
        const QString blocks = "IP_Info_Block", text3 = "IP_Info_Text";
        QTest::newRow("exact") << text(ip, MatchOption::Exact, "1.2.3.4") << address << address << address;
        QTest::newRow("begin") << text(ip, MatchOption::BeginWith, "1.2") << address << blocks << order;
        QTest::newRow("begin past the block")
            << text(ip, MatchOption::BeginWith, "1.2.3.4") << address << address << order;
        QTest::newRow("temporary prefix")
            << text(ip, MatchOption::Temporary, "1.2") << address << address << order;
        QTest::newRow("temporary ALL") << text(ip, MatchOption::Temporary, "ALL")
                                       << "IP_Info_Status" << "IP_Info_Status" << "IP_Info_Status";
        QTest::newRow("staff") << text(SearchMode::StaffNo, MatchOption::Exact, "S") << "IP_Info_StaffNo"
                               << "IP_Info_StaffNo" << "";
        QTest::newRow("hostname") << text(SearchMode::Hostname, MatchOption::Exact, "H") << "IP_Info_Name"
                                  << "IP_Info_Name" << "";
        QTest::newRow("username") << text(SearchMode::Username, MatchOption::Exact, "abc") << text3
                                  << text3 << order;
        QTest::newRow("remarks") << text(SearchMode::Remarks, MatchOption::Exact, "a\"b") << text3
                                 << text3 << order;
        QTest::newRow("username wildcard")
            << text(SearchMode::Username, MatchOption::Exact, "a%c") << "" << "" << "";
        QTest::newRow("location prefix") << prefixQuery(QStringLiteral("1.2.3.")) << address << blocks << order;
        QTest::newRow("city") << cityQuery(QStringLiteral("A"), QStringLiteral("C")) << "IP_Info_Place"
                              << "IP_Info_Place" << "";
        QTest::newRow("detail") << addressQuery(QStringLiteral("1.2.3.4")) << address << address << address;
    }
    void plans() {
        ZORVA_FILE_ONLY("SQLite's query plans (the server's: platform_server_pg)");
        QFETCH(RecordQuery, query);
        QFETCH(QString, index);
        QFETCH(QString, counted);
        QFETCH(QString, walked);
        const auto served = [](const QString& plan, const QString& index) {
            if (index.isEmpty()) return plan.startsWith("SCAN IP_Info ") && !plan.contains("INDEX");
            if (index == "IP_Info_Text") return plan.contains("SCAN IP_Info_Text VIRTUAL TABLE");
            return plan.startsWith("SEARCH IP_Info") && plan.contains(index + QLatin1Char(' '));
        };
        const QString collect = planOf(RecordList::collectStatement(query), query, 0);
        QVERIFY2(served(collect, index), qPrintable(collect));
        RecordQuery forCount = query;
        if (!query.countSql.isEmpty()) forCount.values = query.countValues;
        const QString count = planOf(RecordList::countStatement(query), forCount, 0);
        QVERIFY2(served(count, counted), qPrintable(count));
        if (walked.isEmpty() || query.scan) return;
        for (bool continuing : {false, true}) {
            const QString walk =
                planOf(RecordList::walkStatement(query, continuing), query, continuing ? 4 : 1);
            QVERIFY2(walk.contains(walked + QLatin1Char(' ')) && !walk.contains("TEMP B-TREE"),
                     qPrintable(walk));
        }
    }

    // An equality lookup reads the lines that fit a page, with their cells, in one statement;
    // more are counted and read as any search. Either way the same lines, in the same order.
    void equalityLookupOfAPage_data() {
        QTest::addColumn<int>("shared"); // records with the staff number looked up
        QTest::addColumn<int>("statements");
        QTest::newRow("none") << 0 << 1;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("a page") << RecordList::kPage << 1;
        QTest::newRow("a page and one") << RecordList::kPage + 1 << 3; // and the cells when shown
    }
    void equalityLookupOfAPage() {
        QFETCH(int, shared);
        QFETCH(int, statements);
        // Stored against the order (IP_4 descending), two with the same IP_4.
        for (int i = shared; i > 0; --i)
            test::addRecord(app(), QStringLiteral("10.7.%1.%2").arg(i % 2).arg(i / 2),
                            {{"StaffNo", "SHARED"}, {"Name", QStringLiteral("H%1").arg(i)}});
        RecordList list;
        QVERIFY(list.run(textSearch(SearchMode::StaffNo, MatchOption::Exact, QStringLiteral("shared")).query));
        QCOMPARE(list.count(), qint64(shared));
        QCOMPARE(list.statements(), statements);
        auto rows = runSql(QStringLiteral("SELECT IP_Address, [Name] FROM IP_Info WHERE StaffNo = 'SHARED' "
                                          "ORDER BY IP_4, rowid"));
        QVERIFY(rows);
        for (qint64 i = 0; rows->next(); ++i) {
            QCOMPARE(list.cells(i)[0], rows->value(0).toString());
            QCOMPARE(list.cells(i)[1], rows->value(1).toString());
        }
        QCOMPARE(list.cells(shared)[0], QString()); // beyond the end
    }

    // A large result: counted apart, the grid reads only what it shows.
    void largeResultReadAsShown() {
        test::addManyRecords(app(), 100000);
        RecordGridModel model;
        QVERIFY(model.run(textSearch(SearchMode::IPAddress, MatchOption::BeginWith,
                                     QStringLiteral("10.5"))
                              .query));
        QCOMPARE(model.count(), qint64(100000));
        QCOMPARE(model.rowCount(), 100000);
        const int afterRun = model.list().statements();
        QCOMPARE(afterRun, 2); // the count and the first piece; the cells when shown
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("10.50.0.0"));
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("10.50.1.0"));
        QCOMPARE(model.data(model.index(0, 6)).toString(), QStringLiteral("  "));
        QVERIFY(!model.list().isCached(50000));
        // The last line: the walk reaches it in a few growing pieces.
        QCOMPARE(model.data(model.index(99999, 0)).toString(), QStringLiteral("10.51.133.255"));
        QVERIFY(model.list().statements() - afterRun < 20);
        QVERIFY(!model.list().isCached(50000));
    }

    // Lines deleted by someone else while a large result is walked leave the count; a line
    // read already shows empty.
    void vanishedLinesLeaveTheCount() {
        test::addManyRecords(app(), 1000);
        RecordList::collectLimit = 1;
        RecordList list;
        QVERIFY(list.run(textSearch(SearchMode::IPAddress, MatchOption::Temporary,
                                    QStringLiteral("ALL"))
                             .query));
        const qint64 before = app().count(QStringLiteral("IP_Info"), QStringLiteral("Status = 'Temporary'"));
        QCOMPARE(list.count(), before);
        const QString first = list.cells(0)[0];
        app().exec(QStringLiteral("DELETE FROM IP_Info WHERE IP_4 >= 250 OR IP_Address = ?"),
                   {first});
        const qint64 after = app().count(QStringLiteral("IP_Info"), QStringLiteral("Status = 'Temporary'"));
        QVERIFY(after < before);
        QVERIFY(!list.key(before - 1));
        QCOMPARE(list.count(), after + 1); // the first line was read before it went
    }

    void gridHeaders() {
        RecordGridModel model;
        QStringList headers;
        for (int c = 0; c < RecordGridModel::kColumns; ++c)
            headers << model.headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, (QStringList{"IP Address", "Hostname", "Type", "Username", "Staff No.",
                                       "Remarks", "  "}));
        QCOMPARE(model.rowCount(), 1); // the blank line of an empty grid
    }
};

QTEST_MAIN(TestSearchQueries)
#include "tst_search_queries.moc"

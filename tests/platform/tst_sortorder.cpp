// The grids, lists and reports come out in the same order on the file and on the server: NULLs
// first in ascending order, text compared as the file compares it (ASCII letters folded, then
// byte order), ties by row key. The expected orders below follow SQLite's rules; the file run
// (platform_sortorder) and the server run (platform_sortorder_pg) must both give them.
#include "platform/Database.h"
#include "platform/Rows.h"
#include "platform/Schema.h"
#include "platform/SchemaOrder.h"
#include "platform/SchemaServer.h"
#include "platform/SqlDialect.h"
#include "records/RecordGridModel.h"
#include "records/RecordSearch.h"
#include "records/rptByDate.h"
#include "records/rptByLocation.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QtTest>
#include <algorithm>
#include <functional>

using namespace zorva;
using namespace zorva::test;

namespace {

struct Row {
    const char* address;
    int ip4; // -1: NULL (an imported record without its octet)
    const char* name; // nullptr: NULL
    const char* date;
};

// Inserted in this order (their row keys), which is none of the orders asked for.
const Row kRows[] = {
    {"10.9.0.30", 30, "Zed", "2024-05-02"},
    {"10.9.0.7", -1, "a-z", "2024-05-01 10:00"},
    {"10.9.0.100", 100, "\u00c9mile", "2024-05-01"},
    {"10.9.0.5", 5, nullptr, "2024-05-01T09:00"},
    {"10.9.0.8", -1, "_under", "2024-05-01"},
    {"10.9.0.20", 20, "10 Ten", "2024-05-03"},
    {"10.9.0.9", 9, "\u00e9clair", "2024-05-02 08:00"},
    {"10.9.0.6", 6, "[bracket", "2024-05-01 09:00"},
    {"10.9.0.40", 40, "Ab", "2024-05-02"},
    {"10.9.0.11", 11, "9 Nine", "2024-05-01 10:00"},
    {"10.9.0.12", 12, "", "2024-05-02T07:00"},
    {"10.9.0.13", 13, "B", "2024-05-03 00:00"},
};

// By fourth octet, NULLs first, ties by row key.
const QStringList kByOctet = {"10.9.0.7",  "10.9.0.8",  "10.9.0.5",  "10.9.0.6",
                              "10.9.0.9",  "10.9.0.11", "10.9.0.12", "10.9.0.13",
                              "10.9.0.20", "10.9.0.30", "10.9.0.40", "10.9.0.100"};
// By date text in byte order (a blank before "T", a date before its times), ties by row key.
const QStringList kByDate = {"10.9.0.100", "10.9.0.8",  "10.9.0.6",  "10.9.0.7",
                             "10.9.0.11",  "10.9.0.5",  "10.9.0.30", "10.9.0.40",
                             "10.9.0.9",   "10.9.0.12", "10.9.0.20", "10.9.0.13"};
// By name as NOCASE compares: NULL, empty, digits, '[' and '_' before the letters (folded to
// lower case), "a-z" before "ab" ('-' before 'b'), non-ASCII letters after 'z' in byte order.
const QStringList kByName = {"<NULL>", "", "10 Ten", "9 Nine", "[bracket", "_under", "a-z",
                             "Ab", "B", "Zed", "\u00c9mile", "\u00e9clair"};

void fill(AppFixture& app) {
    app.exec("DELETE FROM UserID");
    int n = 0;
    for (const Row& r : kRows) {
        const QVariant name = r.name ? QVariant(QString::fromUtf8(r.name)) : QVariant(QMetaType(QMetaType::QString));
        app.exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], DateIssue, Status) VALUES (?, ?, ?, 'PC', ?, '')",
                 {QString::fromLatin1(r.address), r.ip4 < 0 ? QVariant(QMetaType(QMetaType::Int)) : QVariant(r.ip4),
                  name, QString::fromLatin1(r.date)});
        app.exec("INSERT INTO UserID (UserID, Password, [Name], [Group]) VALUES (?, 'x', ?, 'User')",
                 {QStringLiteral("u%1").arg(++n), name});
    }
}

QStringList column(const std::optional<std::vector<QStringList>>& rows, int at) {
    QStringList out;
    if (rows)
        for (const QStringList& r : *rows) out << r.value(at);
    return out;
}

// The addresses of the search grid over a search, as its lines show them.
QStringList grid(const RecordQuery& query) {
    RecordGridModel model;
    QString error;
    if (!model.run(query, &error)) return {error};
    QStringList out;
    for (int row = 0; row < model.count(); ++row) out << model.address(row);
    return out;
}

// The names in the user form's order; NULL said so (the list itself shows it blank).
QStringList userNames() {
    QStringList out;
    auto q = runSql(QStringLiteral("SELECT [Name] FROM UserID ORDER BY [Name]"));
    while (q && q->next()) out << (q->value(0).isNull() ? QStringLiteral("<NULL>") : q->value(0).toString());
    return out;
}

struct Source {
    const char* name;
    std::function<QStringList()> read;
    const QStringList* expected;
    int collectLimit; // lines the record list sorts itself; more are walked in the server's order
};

const QList<Source>& sources() {
    static const QList<Source> all = {
        {"search grid, address prefix", [] { return grid(textSearch(SearchMode::IPAddress, MatchOption::BeginWith, "10.9.").query); },
         &kByOctet, 10000},
        {"search grid walked, address prefix", [] { return grid(textSearch(SearchMode::IPAddress, MatchOption::BeginWith, "10.9.").query); },
         &kByOctet, 1},
        {"search grid walked, location", [] { return grid(prefixQuery("10.9.0.")); }, &kByOctet, 1},
        {"report by location", [] { return column(locationRecords(nullptr, "10.9.0.", "ALL"), 0); }, &kByOctet, 10000},
        {"report by date", [] { return column(dateRecords(nullptr, QDate(2024, 5, 1), QDate(2024, 5, 3)), 0); },
         &kByDate, 10000},
        {"user list", [] {
             return columnValues(nullptr, "Select * From UserID Order By Name", {}, "Name");
         }, nullptr, 10000},
        {"user names", userNames, &kByName, 10000},
    };
    return all;
}

// The user list shows NULL as an empty line.
QStringList shown(const QStringList& names) {
    QStringList out = names;
    out.replaceInStrings(QRegularExpression("^<NULL>$"), QString());
    return out;
}

} // namespace

class TestSortOrder : public ZorvaTest {
    Q_OBJECT

    void tearDown() override { RecordList::collectLimit = 10000; }

    // The program's tables as the previous version made them on a server whose own collation
    // is en_US: text and citext in that collation, indexes in the server's default order.
    void makeFormerServerTables() {
        const QString former = QStringLiteral("\"en-US-x-icu\"");
        for (const QString& table : {QStringLiteral("IP_Info"), QStringLiteral("UserID")}) {
            app().exec("DROP TABLE " + table + " CASCADE");
            QStringList columns;
            for (const QString& c : schemaColumnsOf(table))
                columns << (QStringList{"Name", "Type", "Group"}.contains(c) ? "[" + c + "] " : c + " ") +
                               (c == "IP_4" ? "INTEGER" : c == "DateIssue" ? "TEXT" : "TEXT COLLATE NOCASE");
            QString ddl = serverDdl("CREATE TABLE " + table + " (" + columns.join(", ") + ")");
            ddl.replace(QRegularExpression("(citext|(?<!IP_Address )text) COLLATE \"C\""), "\\1 COLLATE " + former);
            app().exec(ddl);
        }
        app().exec("CREATE INDEX ip_info_order ON ip_info (ip_4)");
        app().exec("CREATE INDEX ip_info_name ON ip_info (name)");
        app().exec("CREATE UNIQUE INDEX ip_info_ip_address ON ip_info (ip_address)");
    }

private slots:
    void sameOrderOnBothBackends_data() {
        QTest::addColumn<int>("source");
        for (int i = 0; i < int(sources().size()); ++i) QTest::newRow(sources()[i].name) << i;
    }
    void sameOrderOnBothBackends() {
        QFETCH(int, source);
        const Source& s = sources()[source];
        fill(app());
        RecordList::collectLimit = s.collectLimit;
        const QStringList got = s.read();
        QCOMPARE(got, s.expected ? *s.expected : shown(kByName));
    }

    // A search larger than the first piece of its walk, that piece ending among the lines
    // without an octet: the walk goes on past them, none is lost.
    void walkGoesOnPastNulls() {
        QStringList expected, withOctet;
        {
            Transaction t(database());
            for (int i = 0; i < 300; ++i) {
                const QString address = QStringLiteral("10.8.%1.%2").arg(i / 100).arg(i % 100);
                const bool octet = i % 10 == 3;
                app().exec("INSERT INTO IP_Info (IP_Address, IP_4, Status) VALUES (?, ?, '')",
                           {address, octet ? QVariant(300 - i) : QVariant(QMetaType(QMetaType::Int))});
                (octet ? withOctet : expected) << address;
            }
            QVERIFY(t.commit());
        }
        std::reverse(withOctet.begin(), withOctet.end()); // their octets fall as they were added
        expected += withOctet;
        RecordList::collectLimit = 1;
        QCOMPARE(grid(prefixQuery("10.8.")), expected);
    }

    // A server database of the previous version sorts as the file once the start-up upgrade
    // has run; its indexes then serve the orders, and a second upgrade finds nothing to do.
    void upgradedServerSortsAsTheFile() {
        if (!onServer()) QSKIP("about a server database (runs as platform_sortorder_pg)");
        if (app().scalar("SELECT count(*) FROM pg_collation WHERE collname = 'en-US-x-icu'").toInt() == 0)
            QSKIP("the server has no ICU collation en-US");
        QSqlDatabase db = database();
        QVERIFY2(serverOrderStatements(db).isEmpty(), qPrintable(serverOrderStatements(db).join('\n')));
        makeFormerServerTables();
        fill(app());
        QVERIFY(userNames() != kByName); // the test can tell the orders apart
        const QStringList plan = serverOrderStatements(db);
        QVERIFY2(plan.filter("DROP INDEX \"ip_info_order\"").size() == 1, qPrintable(plan.join('\n')));
        QVERIFY2(plan.filter(QRegularExpression("^ALTER TABLE \"userid\" .*\"name\" TYPE citext COLLATE \"C\"")).size() == 1,
                 qPrintable(plan.join('\n')));
        QString error;
        QVERIFY2(UpgradeSchema(&error), qPrintable(error));
        QCOMPARE(userNames(), kByName);
        QCOMPARE(column(dateRecords(nullptr, QDate(2024, 5, 1), QDate(2024, 5, 3)), 0), kByDate);
        RecordList::collectLimit = 1;
        QCOMPARE(grid(prefixQuery("10.9.0.")), kByOctet);
        QCOMPARE(app().scalar("SELECT indexdef FROM pg_indexes WHERE indexname = 'ip_info_order' "
                              "AND schemaname = current_schema()").toString(),
                 QStringLiteral("CREATE INDEX ip_info_order ON %1.ip_info USING btree (ip_4 NULLS FIRST, rowid)")
                     .arg(app().scalar("SELECT current_schema()").toString()));
        QVERIFY2(serverOrderStatements(db).isEmpty(), qPrintable(serverOrderStatements(db).join('\n')));
        QVERIFY(!runSql("INSERT INTO IP_Info (IP_Address) VALUES ('10.9.0.30')")); // still unique
        QVERIFY2(UpgradeSchema(&error), qPrintable(error));
    }

    // On the file there is nothing of the kind to do.
    void nothingToDoOnTheFile() {
        ZORVA_FILE_ONLY("the server's upgrade");
        QSqlDatabase db = database();
        QVERIFY(serverOrderStatements(db).isEmpty());
    }
};

QTEST_MAIN(TestSortOrder)
#include "tst_sortorder.moc"

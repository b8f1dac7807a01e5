// The queries the forms run on IP_Info use the index that answers them, on a new database and
// on an upgraded one, with and without the planner's statistics. An index that makes SQLite walk
// the whole table to spare a sort (as one on IP_4 alone did) makes this fail.
#include "assign/FreeAddress.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Schema.h"
#include "records/RecordSearch.h"
#include "support/Fixture.h"

#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

// Rows in 40 blocks of 10.x.y., 200 each, with a few repeated values per lookup column.
void fill(AppFixture& app) {
    app.exec("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 7999) "
             "INSERT INTO IP_Info (IP_Address, IP_4, [Name], Region, CityOwner, Status, "
             "Username, Remarks, StaffNo, DateIssue) "
             "SELECT '10.' || (i / 200 / 8) || '.' || (i / 200 % 8) || '.' || (i % 200 + 1), "
             "i % 200 + 1, 'PC' || i, 'Area' || (i % 7), 'City' || (i % 5), "
             "CASE i % 3 WHEN 0 THEN 'Temporary' ELSE 'Permanent' END, 'User' || (i % 50), "
             "'Remark ' || i, 'S' || (i / 3), date('2015-01-01', '+' || (i % 900) || ' days') "
             "FROM n");
}

QString plan(const QString& sql, const QVariantList& values) {
    QString error;
    auto q = runSql("EXPLAIN QUERY PLAN " + sql, values, &error);
    if (!q) return "failed: " + error;
    QStringList lines;
    while (q->next()) lines << q->value(3).toString();
    return lines.join(" | ");
}

// A database of the former layout: the index on IP_4 alone, no unique index.
void makeFormerLayout(AppFixture& app) {
    const QString path = app.path("former.mdb");
    {
        QSqlDatabase db = openDatabaseFile(path, "former", nullptr, true);
        QSqlQuery q(db);
        q.exec("CREATE TABLE IP_Info (IP_Address TEXT COLLATE NOCASE, IP_4 INTEGER, "
               "[Name] TEXT COLLATE NOCASE, [Type] TEXT, Project TEXT, Region TEXT COLLATE NOCASE, "
               "CityOwner TEXT COLLATE NOCASE, Status TEXT, Username TEXT COLLATE NOCASE, "
               "Remarks TEXT COLLATE NOCASE, StaffNo TEXT COLLATE NOCASE, DateIssue TEXT)");
        q.exec("CREATE INDEX IP_Info_IP_4 ON IP_Info (IP_4)");
        db.close();
    }
    closeConnection("former");
    appState().gDbPath = path;
    fill(app);
    QString error;
    QVERIFY2(UpgradeSchema(&error), qPrintable(error));
}

} // namespace

class TestQueryPlans : public ZorvaTest {
    Q_OBJECT

private slots:
    void plans_data() {
        QTest::addColumn<bool>("former");
        QTest::addColumn<bool>("analyzed");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("index"); // empty: a plain scan of the table; IP_Info_Text: the
                                            // full-text index, then the rows by key

        const QString prefix = "10.2.3.%";
        struct Query {
            const char* what;
            QString sql;
            QVariantList values;
            const char* index;
        };
        QList<Query> queries = {
            {"range listing", rangeListingSql(), {prefix, 20, 40}, "IP_Info_IP_Address"},
            {"block has rows", "SELECT count(*) FROM IP_Info WHERE IP_Address Like ?", {prefix},
             "IP_Info_IP_Address"},
            {"address recorded", "Select * From IP_Info where IP_Address = ?", {"10.2.3.7"},
             "IP_Info_IP_Address"},
            {"duplicate host name", "Select * From IP_Info Where Name = ?", {"PC5"}, "IP_Info_Name"},
            {"search place", "Select * from IP_Info where Region = ? And CityOwner = ? "
                             "Order By IP_Address, IP_4 ASC",
             {"Area1", "City2"}, "IP_Info_Place"},
            {"report by date", "Select * from IP_Info where DateIssue >= ? And DateIssue <= ? "
                               "Order By DateIssue",
             {"2015-02-01", "2015-02-10"}, "IP_Info_DateIssue"},
        };
        // The record search's own statements.
        const struct {
            const char* what;
            SearchMode mode;
            MatchOption option;
            const char* text;
            const char* index;
        } searches[] = {
            {"search address begins", SearchMode::IPAddress, MatchOption::BeginWith, "10.2.", "IP_Info_IP_Address"},
            {"search temporary in block", SearchMode::IPAddress, MatchOption::Temporary, "10.2.3.", "IP_Info_IP_Address"},
            {"search all temporary", SearchMode::IPAddress, MatchOption::Temporary, "ALL", "IP_Info_Status"},
            {"search staff", SearchMode::StaffNo, MatchOption::Exact, "S12", "IP_Info_StaffNo"},
            {"search host name", SearchMode::Hostname, MatchOption::Exact, "PC12", "IP_Info_Name"},
            {"search user contains", SearchMode::Username, MatchOption::Exact, "ser1", "IP_Info_Text"},
            {"search remarks contains", SearchMode::Remarks, MatchOption::Exact, "ark 7", "IP_Info_Text"},
            {"search user wildcard", SearchMode::Username, MatchOption::Exact, "se%1", ""},
        };
        for (const auto& s : searches) {
            const RecordQuery q = textSearch(s.mode, s.option, s.text).query;
            queries.append({s.what, q.sql(), q.values, s.index});
        }
        for (bool former : {false, true})
            for (bool analyzed : {false, true})
                for (const Query& q : queries)
                    QTest::addRow("%s%s: %s", former ? "upgraded" : "new",
                                  analyzed ? ", analyzed" : "", q.what)
                        << former << analyzed << q.sql << q.values << QString(q.index);
    }

    void plans() {
        ZORVA_FILE_ONLY("SQLite's query plans (the server's: platform_server_pg)");
        QFETCH(bool, former);
        QFETCH(bool, analyzed);
        QFETCH(QString, sql);
        QFETCH(QVariantList, values);
        QFETCH(QString, index);
        if (former)
            makeFormerLayout(app());
        else
            fill(app());
        if (analyzed) app().exec("ANALYZE");
        const QString p = plan(sql, values);
        if (index.isEmpty()) {
            QVERIFY2(p.contains("SCAN IP_Info") && !p.contains("INDEX"), qPrintable(p));
        } else if (index == "IP_Info_Text") {
            QVERIFY2(p.contains("SCAN IP_Info_Text VIRTUAL TABLE") &&
                         p.contains("SEARCH IP_Info USING INTEGER PRIMARY KEY (rowid=?)"),
                     qPrintable(p));
        } else {
            QVERIFY2(p.contains("SEARCH IP_Info USING INDEX " + index + " (") ||
                         p.contains("SEARCH IP_Info USING COVERING INDEX " + index + " ("),
                     qPrintable(p));
        }
    }

    // The upgrade drops the former index and keeps what it creates on a second run.
    void upgradeDropsTheIndexOnIp4Alone() {
        ZORVA_FILE_ONLY("the file's indexes of an earlier version");
        makeFormerLayout(app());
        QVERIFY(!app().scalar("SELECT 1 FROM sqlite_master WHERE name = 'IP_Info_IP_4'").isValid());
        QVERIFY(app().scalar("SELECT 1 FROM sqlite_master WHERE name = 'IP_Info_IP_Address'").isValid());
        QVERIFY(UpgradeSchema());
        QCOMPARE(app().count("sqlite_master", "type = 'index' AND tbl_name = 'IP_Info'"), 7);
    }
};

QTEST_MAIN(TestQueryPlans)
#include "tst_queryplans.moc"

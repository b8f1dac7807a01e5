// The search's aids (full-text index of Username and Remarks, address counts per block) give
// the same answers as reading the table, through every kind of change, an upgrade and a
// compaction.
#include "RecordsTest.h"
#include "app/Compaction.h"
#include "platform/Schema.h"
#include "platform/SearchIndex.h"
#include "records/RecordList.h"
#include "records/RecordSearch.h"

#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;

namespace {

const QStringList kPrefixes = {"10.", "10.1", "10.1.", "10.1.2.", "10.1.2.3", "ALL", "all.0",
                               "1", "10", "x"};
const QStringList kTerms = {"ali", "O'B", "a\"b", "Lab", "user", "ROOM", "zzz", "a%b", "l_b"};

// What reading the whole table says: the addresses in the search's order.
QStringList byTable(const QString& where, const QVariantList& values) {
    QStringList out;
    auto q = runSql("SELECT IP_Address FROM IP_Info WHERE " + where + " ORDER BY IP_4, rowid", values);
    while (q && q->next()) out << q->value(0).toString();
    return out;
}

QStringList bySearch(const RecordQuery& query) {
    RecordList list;
    if (!list.run(query)) return {"failed"};
    QStringList out;
    for (qint64 i = 0; i < list.count(); ++i) out << list.cells(i)[0];
    return out;
}

// Every prefix and term, read whole and walked in pieces, against the table.
void compareAll(const char* step) {
    for (int limit : {10000, 1}) {
        RecordList::collectLimit = limit;
        for (const QString& p : kPrefixes) {
            const RecordQuery q = textSearch(SearchMode::IPAddress, MatchOption::BeginWith, p).query;
            const QStringList want = byTable("IP_Address LIKE ?", {p + '%'});
            QVERIFY2(bySearch(q) == want, qPrintable(QStringLiteral("%1, begin %2, limit %3")
                                                         .arg(step, p).arg(limit)));
        }
        for (const QString& t : kTerms)
            for (SearchMode m : {SearchMode::Username, SearchMode::Remarks}) {
                const QString column = m == SearchMode::Username ? "Username" : "Remarks";
                const QStringList want = byTable(column + " LIKE ?", {'%' + t + '%'});
                QVERIFY2(bySearch(textSearch(m, MatchOption::Exact, t).query) == want,
                         qPrintable(QStringLiteral("%1, %2 contains %3, limit %4")
                                        .arg(step, column, t).arg(limit)));
            }
    }
    RecordList::collectLimit = 10000;
}

} // namespace

class TestSearchIndex : public test::ZorvaTest {
    Q_OBJECT

    void addAll() {
        using test::addRecord;
        addRecord(app(), "10.1.2.3", {{"Username", "Ali O'Brien"}, {"Remarks", "printer room"}});
        addRecord(app(), "10.1.2.30", {{"Username", "user a\"b"}, {"Remarks", "Lab"}});
        addRecord(app(), "10.10.0.1", {{"Username", "ALIYA"}, {"Remarks", "lab a%b"}});
        addRecord(app(), "10.100.7.7", {{"Username", "Siti"}, {"Remarks", "l_b"}});
        addRecord(app(), "ALL.0.0.7", {{"Username", "bulk user"}});
        addRecord(app(), "10.1", {{"Username", "short ali"}});
        addRecord(app(), "10", {});
        app().exec("INSERT INTO IP_Info (IP_4, Username) VALUES (5, 'no address ali')");
        test::addManyRecords(app(), 600, 7);
    }

private slots:
    void answersFollowEveryChange() {
        addAll();
        compareAll("inserted");
        app().exec("UPDATE IP_Info SET IP_Address = '10.2.9.9' WHERE IP_Address = '10.1.2.3'");
        app().exec("UPDATE IP_Info SET IP_Address = 'all.0.0.8' WHERE IP_Address = '10.10.0.1'");
        app().exec("UPDATE IP_Info SET Username = 'Lab user', Remarks = NULL WHERE IP_Address = '10.1.2.30'");
        app().exec("UPDATE IP_Info SET IP_Address = '10.1.3.1' WHERE IP_4 = 5 AND IP_Address IS NULL");
        compareAll("updated");
        app().exec("DELETE FROM IP_Info WHERE IP_Address LIKE '10.1.0.%' OR IP_Address = '10.1'");
        app().exec("DELETE FROM IP_Info WHERE Username = 'Siti'");
        compareAll("deleted");
        // A block whose last address went is gone from the counts.
        QCOMPARE(app().count("IP_Info_Block", "Block = '10.1.0.'"), 0);
        QCOMPARE(app().count("IP_Info_Block", "Total <= 0"), 0);
    }

    // A file without the aids (an older version's, or one whose triggers were lost) gets them,
    // filled from its rows; a second upgrade changes nothing.
    void upgradeBuildsTheAids() {
        ZORVA_FILE_ONLY("the file's full-text table and triggers");
        addAll();
        app().exec("DROP TRIGGER IP_Info_Search_Insert");
        test::addRecord(app(), "10.1.2.99", {{"Username", "missed ali"}});
        QVERIFY(UpgradeSchema());
        compareAll("rebuilt");
        QSqlDatabase db = database();
        QVERIFY(searchIndexStatements(db).isEmpty());
        app().exec("DROP TABLE IP_Info_Text");
        app().exec("DROP TABLE IP_Info_Block");
        app().exec("DROP TRIGGER IP_Info_Search_Insert");
        app().exec("DROP TRIGGER IP_Info_Search_Delete");
        QVERIFY(UpgradeSchema());
        compareAll("created");
    }

    // The first fill over a large inventory goes in steps and says how far it is; rows far
    // apart in key (several steps) are all found afterwards.
    void upgradeTellsItsProgress() {
        ZORVA_FILE_ONLY("the file's full-text table and triggers");
        addAll();
        for (int key : {30001, 61000, 99999})
            app().exec(QStringLiteral("INSERT INTO IP_Info (rowid, IP_Address, IP_4, Username) "
                                      "VALUES (%1, '10.7.7.%2', %2, 'far ali')")
                           .arg(key)
                           .arg(key % 250));
        for (const char* sql : {"DROP TRIGGER IP_Info_Search_Insert", "DROP TRIGGER IP_Info_Search_Delete",
                                "DROP TABLE IP_Info_Text", "DROP TABLE IP_Info_Block"})
            app().exec(sql);
        QList<std::pair<QString, int>> told;
        QVERIFY(UpgradeSchema(nullptr, [&](const QString& what, int percent) { told.append({what, percent}); }));
        compareAll("filled in steps");
        QVERIFY(told.size() > 8); // four steps of keys, two statements each
        QCOMPARE(told.first(), std::make_pair(QString("Checking the database"), 0));
        QCOMPARE(told.last().first, QString("Preparing the database for searching"));
        QVERIFY(told.last().second < 100 && told.last().second > 80);
        for (qsizetype i = 1; i < told.size(); ++i) QVERIFY(told[i].second >= told[i - 1].second);
        // Nothing left to do: no progress at all, so a second start is as quick as before.
        told.clear();
        QVERIFY(UpgradeSchema(nullptr, [&](const QString& what, int percent) { told.append({what, percent}); }));
        QVERIFY(told.isEmpty());
    }

    // Compaction renumbers nothing: the full-text index still names the right rows.
    void compactionKeepsTheAnswers() {
        ZORVA_FILE_ONLY("compaction of the file");
        addAll();
        app().exec("DELETE FROM IP_Info WHERE rowid % 3 = 0");
        QString error;
        QCOMPARE(compactDatabaseFile(app().dbPath(), app().path("compact.tmp"), &error),
                 CompactResult::Done);
        compareAll("compacted");
    }

    void whatTheAidsCannotTell() {
        ZORVA_FILE_ONLY("the file's full-text table and block counts");
        QVERIFY(!indexedContains("Username", "ab"));
        QVERIFY(!indexedContains("Username", "a%b"));
        QVERIFY(!indexedContains("StaffNo", "abc"));
        QVERIFY(!prefixCount("10.1.2.3"));
        QVERIFY(!prefixCount("10_"));
        QVERIFY(prefixCount("10.1.2."));
        QVERIFY(prefixCount("10.1.2"));
    }
};

QTEST_MAIN(TestSearchIndex)
#include "tst_search_index.moc"

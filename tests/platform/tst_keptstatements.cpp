// Lookups kept prepared on the server: the same answers as any statement, one prepared
// statement for all values, and a stale one (a table changed, a session gone, a transaction in
// the way) prepared again without the caller noticing.
#include "platform/Database.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QSqlRecord>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

const QString kLookup = QStringLiteral("SELECT * FROM Region WHERE Region = ?");

QStringList rows(std::optional<QSqlQuery> q) {
    QStringList out;
    while (q && q->next()) {
        QStringList row;
        for (int i = 0; i < q->record().count(); ++i) row << q->value(i).toString();
        out << row.join(QLatin1Char('|'));
    }
    return out;
}

int keptOnServer() {
    auto q = runSql(QStringLiteral("SELECT count(*) FROM pg_prepared_statements WHERE name LIKE 'zorva_kept_%'"));
    return q && q->next() ? q->value(0).toInt() : -1;
}

} // namespace

class TestKeptStatements : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        for (const char* name : {"Northmoor", "O'Brien's", "back\\slash", "Élan", "northmoor east"})
            app().exec("INSERT INTO Region (Region) VALUES (?)", {QString::fromUtf8(name)});
    }

private slots:
    void sameAnswersAsAnyStatement_data() {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("letter case") << QVariant("NORTHMOOR");
        QTest::newRow("apostrophes") << QVariant("o'brien's");
        QTest::newRow("backslash") << QVariant("back\\slash");
        QTest::newRow("non-ASCII") << QVariant(QString::fromUtf8("Élan"));
        QTest::newRow("none found") << QVariant("south");
        QTest::newRow("NULL") << QVariant(QString());
        QTest::newRow("a number") << QVariant(42);
    }
    void sameAnswersAsAnyStatement() {
        QFETCH(QVariant, value);
        for (int run = 0; run < 8; ++run) // past the runs after which the server keeps one plan
            QCOMPARE(rows(runLookup(kLookup, {value})), rows(runSql(kLookup, {value})));
        if (!onServer()) return;
        QCOMPARE(keptOnServer(), 1);
        // Planned once for every value, from the first run.
        auto plans = runSql("SELECT sum(custom_plans), sum(generic_plans) FROM pg_prepared_statements");
        QVERIFY(plans && plans->next());
        QCOMPARE(plans->value(0).toInt(), 0);
        QVERIFY(plans->value(1).toInt() > 0);
    }

    // What the server cannot prepare (a value whose type nothing tells) runs as any statement.
    void unpreparableRunsAsAnyStatement() {
        QCOMPARE(rows(runLookup("SELECT ?", {"x"})), QStringList{"x"});
        QCOMPARE(rows(runLookup("SELECT ?", {"y"})), QStringList{"y"});
    }

    void staleStatementIsPreparedAgain_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("inTransaction");
        for (bool t : {false, true}) {
            const char* where = t ? ", in a transaction" : "";
            QTest::addRow("columns changed%s", where) << "ALTER TABLE Region ADD COLUMN Extra TEXT" << t;
            QTest::addRow("session lost its statements%s", where) << "DEALLOCATE ALL" << t;
            QTest::addRow("nothing changed%s", where) << "" << t;
        }
    }
    void staleStatementIsPreparedAgain() {
        QFETCH(QString, change);
        QFETCH(bool, inTransaction);
        const int columns = runSql("SELECT * FROM Region")->record().count();
        QCOMPARE(rows(runLookup(kLookup, {"northmoor"})).size(), 1);
        if (!change.isEmpty() && (onServer() || !change.startsWith("DEALLOCATE"))) app().exec(change);
        std::optional<Transaction> t;
        if (inTransaction) t.emplace();
        auto q = runLookup(kLookup, {"northmoor"});
        QVERIFY(q && q->next());
        QCOMPARE(q->record().count(), columns + (change.startsWith("ALTER") ? 1 : 0));
        q.reset();
        // A transaction stays whole through a second attempt: its write sticks.
        QVERIFY(runSql("INSERT INTO Region (Region) VALUES ('West')"));
        if (t) QVERIFY(t->commit());
        t.reset();
        QCOMPARE(app().count("Region", "Region = 'West'"), 1);
        QCOMPARE(rows(runLookup(kLookup, {"northmoor"})).size(), 1);
    }
};

QTEST_MAIN(TestKeptStatements)
#include "tst_keptstatements.moc"

// The inventory on a PostgreSQL server: letter case and indexes as on the file, the schema's
// creation and upgrade there, and the migration of a file into it. The server's own cases skip
// on the file backend (they run as platform_server_pg).
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/Migration.h"
#include "platform/MonitorSchema.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"
#include "platform/SearchIndex.h"
#include "platform/ServerCopy.h"
#include "platform/ServerStatement.h"
#include "platform/SqlDialect.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QProcess>
#include <QSqlRecord>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

// A file of the program with `n` addresses of every kind of value: apostrophes, letter case,
// empty and missing texts, dates.
void fillInventory(QSqlDatabase db, int n) {
    Transaction t(db);
    for (int i = 0; i < n; ++i) {
        QVERIFY(runSqlOn(db, "INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Region, Status, "
                             "Remarks, Username, DateIssue) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                         {QString("10.%1.%2.%3").arg(i / 65536).arg(i / 256 % 256).arg(i % 256), i % 256,
                          QString("Host%1").arg(i), i % 2 ? "PC" : "Router", "Headquarters",
                          i % 3 ? QString() : QString("Temp"),
                          i % 7 ? QVariant(QString("O'Brien's %1").arg(i)) : QVariant(),
                          i % 5 ? QString("user%1").arg(i) : QString(""),
                          QDate(2020, 1, 1).addDays(i % 900).toString(Qt::ISODate)}));
    }
    QVERIFY(t.commit());
}

QList<QVariantList> rowsOf(QSqlDatabase db, const QString& sql) {
    QList<QVariantList> out;
    auto q = runSqlOn(db, sql);
    while (q && q->next()) {
        QVariantList row;
        for (int i = 0; i < q->record().count(); ++i) row << q->value(i).toString();
        out << row;
    }
    return out;
}

} // namespace

class TestServer : public ZorvaTest {
    Q_OBJECT

    void serverOnly() {
        if (!onServer()) QSKIP("about the PostgreSQL server (runs as platform_server_pg)");
    }

private slots:
    // The same answers on both backends: text compares and sorts without regard to case.
    void letterCaseIsIgnored_data() {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QString>("names");
        QTest::newRow("equal") << "[Name] = ?" << QVariantList{"PCa01"} << "pca01";
        QTest::newRow("like prefix") << "[Name] LIKE ?" << QVariantList{"pc%"} << "pca01,PCB02";
        QTest::newRow("like inside") << "Remarks LIKE ?" << QVariantList{"%SECOND%"} << "PCB02";
        QTest::newRow("in list") << "[Type] IN (?, ?)" << QVariantList{"router", "SWITCH"} << "Core1";
        QTest::newRow("address prefix") << "IP_Address LIKE ?" << QVariantList{"10.1.1.%"} << "pca01,PCB02";
        QTest::newRow("greater") << "[Name] > ?" << QVariantList{"PCA01"} << "PCB02";
    }
    void letterCaseIsIgnored() {
        QFETCH(QString, where);
        QFETCH(QVariantList, values);
        QFETCH(QString, names);
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Remarks) VALUES "
                   "('10.1.1.5', 5, 'pca01', 'PC', 'first'), ('10.1.1.6', 6, 'PCB02', 'pc', 'The Second'), "
                   "('10.1.2.1', 1, 'Core1', 'Router', NULL)");
        QStringList got;
        auto q = runSql("SELECT [Name] FROM IP_Info WHERE " + where + " ORDER BY [Name]", values);
        QVERIFY(q);
        while (q->next()) got << q->value(0).toString();
        QCOMPARE(got.join(','), names);
    }

    // The lookups of the forms keep to the indexes on the server too.
    void lookupsUseTheIndexes_data() {
        QTest::addColumn<QString>("sql");
        QTest::newRow("address") << "SELECT * FROM IP_Info WHERE IP_Address = '10.0.3.7'";
        QTest::newRow("address prefix, range listing")
            << "SELECT * FROM IP_Info WHERE IP_Address LIKE '10.0.3.%' AND IP_4 >= 1 AND IP_4 <= 50 ORDER BY IP_4";
        QTest::newRow("host name") << "SELECT * FROM IP_Info WHERE [Name] = 'HOST77'";
        QTest::newRow("sorted by name") << "SELECT rowid FROM IP_Info ORDER BY [Name] LIMIT 20";
        QTest::newRow("temporary records") << "SELECT rowid FROM IP_Info WHERE Status = 'temp' ORDER BY IP_4 LIMIT 20";
        QTest::newRow("row key") << "SELECT * FROM IP_Info WHERE rowid = 42";
        // NULLs first as on the file: the indexes hold them first too.
        QTest::newRow("sorted by name, descending") << "SELECT rowid FROM IP_Info ORDER BY [Name] DESC LIMIT 20";
        QTest::newRow("record search walk, continued")
            << "SELECT rowid, IP_4 FROM IP_Info WHERE (IP_Address Like '10.0.%') AND IP_4 >= 3 "
               "AND (IP_4 > 3 OR rowid > 100) ORDER BY IP_4, rowid LIMIT 256";
        QTest::newRow("temporary records walk")
            << "SELECT rowid, IP_4 FROM IP_Info WHERE (Status = 'temp') ORDER BY IP_4, rowid LIMIT 256";
    }
    void lookupsUseTheIndexes() {
        serverOnly();
        QFETCH(QString, sql);
        fillInventory(database(), 5000);
        app().exec("ANALYZE IP_Info");
        QStringList lines;
        for (const QVariantList& r : rowsOf(database(), "EXPLAIN " + sql)) lines << r.value(0).toString();
        const QString plan = lines.join('\n');
        QVERIFY2(plan.contains("Index"), qPrintable(plan));
        QVERIFY2(!plan.contains("Seq Scan"), qPrintable(plan));
    }

    // The temporary records are counted and walked from their own index, not compared one by one.
    void temporaryRecordsHaveTheirIndex() {
        serverOnly();
        fillInventory(database(), 2000);
        app().exec("UPDATE IP_Info SET Status = 'Temporary' WHERE rowid % 3 = 0");
        app().exec("VACUUM ANALYZE IP_Info");
        // A table this small is read whole, and the status index costs about the same here: the
        // check is that the search's condition lets the server use the index of its own.
        app().exec("DROP INDEX IP_Info_Status");
        app().exec("SET enable_seqscan = off");
        const auto reset = qScopeGuard([&] { app().exec("RESET enable_seqscan"); });
        for (const QString& sql : {QString("SELECT count(*) FROM IP_Info WHERE Status = 'Temporary'"),
                                   QString("SELECT rowid, IP_4 FROM IP_Info WHERE Status = 'Temporary' "
                                           "ORDER BY IP_4, rowid LIMIT 256")}) {
            QStringList lines;
            for (const QVariantList& r : rowsOf(database(), "EXPLAIN " + serverSql(sql))) lines << r.value(0).toString();
            QVERIFY2(lines.join('\n').contains("ip_info_temporary"), qPrintable(lines.join('\n')));
            QVERIFY2(!lines.join('\n').contains("Sort"), qPrintable(lines.join('\n')));
        }
        QCOMPARE(app().scalar("SELECT count(*) FROM IP_Info WHERE Status = 'Temporary'").toInt(), 666);
    }

    // The "contains" search counts from the folded copy of the two columns: after every kind of
    // change, and after the upgrade from the trigram indexes on IP_Info itself, it finds what a
    // Like over IP_Info finds.
    void containsFollowsChanges_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("as filled") << "";
        QTest::newRow("added") << "INSERT INTO IP_Info (IP_Address, Username, Remarks) VALUES "
                                  "('10.9.9.9', 'New USER1', 'o''brien \\x'), ('10.9.9.10', NULL, NULL)";
        QTest::newRow("username changed") << "UPDATE IP_Info SET Username = 'User1 Élan' WHERE rowid % 4 = 0";
        QTest::newRow("remarks emptied") << "UPDATE IP_Info SET Remarks = NULL WHERE rowid % 3 = 0";
        QTest::newRow("another column") << "UPDATE IP_Info SET [Name] = 'user1' WHERE rowid % 5 = 0";
        QTest::newRow("deleted") << "DELETE FROM IP_Info WHERE rowid % 2 = 0";
        QTest::newRow("upgraded") << "upgrade";
    }
    void containsFollowsChanges() {
        serverOnly();
        QFETCH(QString, change);
        fillInventory(database(), 300);
        if (change == "upgrade") {
            for (const char* sql : {"DROP TRIGGER IP_Info_Text_Copy ON IP_Info", "DROP TABLE IP_Info_Text",
                                    "CREATE INDEX IP_Info_Text_Username_Trigrams ON IP_Info USING gin "
                                    "((Username::text) gin_trgm_ops)"})
                app().exec(sql);
            app().exec("UPDATE IP_Info SET Username = 'gone user1' WHERE rowid = 7");
            QString error;
            QVERIFY2(UpgradeSchema(&error), qPrintable(error));
            QSqlDatabase db = database();
            QVERIFY(!catalog(db, Catalog::Indexes).contains("ip_info_text_username_trigrams"));
        } else if (!change.isEmpty()) {
            app().exec(change);
        }
        int total = 0;
        for (const QString& column : {QString("Username"), QString("Remarks")})
            for (const QString& text : {QString("user1"), QString("USER1 é"), QString("O'B"),
                                        QString("RIEN"), QString("n \\x"), QString("élan")}) {
                const auto c = indexedContains(column, text);
                QVERIFY(c);
                const int found = app().scalar(c->countSql, c->values).toInt();
                const int listed = app().scalar("SELECT count(*) FROM IP_Info WHERE " + c->where, c->values).toInt();
                const int expected = app().scalar("SELECT count(*) FROM IP_Info WHERE " + column + " LIKE ?",
                                                  {"%" + text + "%"}).toInt();
                QCOMPARE(found, expected);
                QCOMPARE(listed, expected);
                total += expected;
            }
        QVERIFY(total > 100);
    }

    // An older layout on the server gains the new columns and indexes, once.
    void upgradeOnTheServer() {
        serverOnly();
        QSqlDatabase db = database();
        for (const QString& table : schemaTables()) app().exec("DROP TABLE " + table);
        for (const QString& table : schemaTables()) {
            QStringList columns = schemaColumnsOf(table);
            columns.removeAll("StartIPRange");
            columns.removeAll("ToIPRange");
            columns.removeAll("Status");
            for (QString& c : columns) c = "[" + c + "] TEXT COLLATE NOCASE";
            QVERIFY(runSqlOn(db, serverDdl("CREATE TABLE " + table + " (" + columns.join(", ") + ")")));
        }
        app().exec("INSERT INTO City (City_name, IP_octet2) VALUES ('Ipoh', '20')");
        QString error;
        QVERIFY2(UpgradeSchema(&error), qPrintable(error));
        QVERIFY(storedColumns(db, "City").contains("startiprange"));
        QVERIFY(storedColumns(db, "IP_Info").contains("status"));
        QCOMPARE(app().scalar("SELECT ToIPRange FROM City WHERE City_name = 'IPOH'").toInt(), 0);
        QVERIFY(databaseProblem(db).isEmpty());
        app().exec("INSERT INTO IP_Info (IP_Address, Status) VALUES ('10.1.1.1', '')");
        QVERIFY(!runSql("INSERT INTO IP_Info (IP_Address) VALUES ('10.1.1.1')"));
        QVERIFY(!runSql("UPDATE IP_Info SET Status = ?", {QString(11, 'x')}));
        QVERIFY2(UpgradeSchema(&error), qPrintable(error)); // nothing left to do
    }

    // The initial database on a server: refused where Zorva's tables are already.
    void initialServerDatabase() {
        serverOnly();
        QString error;
        QVERIFY(!createInitialServerDatabase(*serverInUse(), &error));
        QVERIFY2(error.contains("holds tables of Zorva already"), qPrintable(error));
        QCOMPARE(app().count("UserID"), 1);
        const auto fresh = newTestSchema(&error);
        QVERIFY2(fresh, qPrintable(error));
        const bool made = createInitialServerDatabase(*fresh, &error);
        {
            QSqlDatabase other = openDatabaseServer(*fresh, "fresh");
            QVERIFY(other.isValid());
            QCOMPARE(rowsOf(other, "SELECT UserID, [Group] FROM UserID"), (QList<QVariantList>{{"ADMIN", "Sistem"}}));
            QCOMPARE(rowsOf(other, "SELECT count(*) FROM Equipment"), (QList<QVariantList>{{"5"}}));
        }
        closeConnection("fresh");
        dropTestSchema(*fresh);
        QVERIFY2(made, qPrintable(error));
    }

    // A file of some thousand rows moves to the server whole: counts per table, every column of
    // a sample of rows, the row keys, and new rows after the copied ones.
    void migrationCopiesEveryRow() {
        serverOnly();
        const QString file = app().path("site.mdb");
        QString error;
        QVERIFY2(createInitialDatabase(file, &error), qPrintable(error));
        {
            QSqlDatabase db = openDatabaseFile(file, "site");
            fillInventory(db, 3000);
            QVERIFY(runSqlOn(db, "DELETE FROM IP_Info WHERE rowid % 10 = 3")); // keys with gaps
            QVERIFY(runSqlOn(db, "INSERT INTO UserID VALUES ('ALI', 'pw', 'Ali bin Abu', '', 'Kawasan', 'North')"));
            QVERIFY(runSqlOn(db, "INSERT INTO Monitor_Watch ([Name], Kind, Scope, LastSweep) "
                                 "VALUES ('lab', 'range', '192.0.2.0/29', '2026-01-02 03:04:05')"));
        }
        closeConnection("site");
        const auto target = newTestSchema(&error);
        QVERIFY(target);
        const auto copied = migrateToServer(file, *target, &error);
        QVERIFY2(copied, qPrintable(error));
        const auto cleanup = qScopeGuard([&] { closeAllConnections(); dropTestSchema(*target); });
        QSqlDatabase from = openDatabaseFile(file, "site");
        QSqlDatabase to = openDatabaseServer(*target, "target");
        // Every table, and the history as it was (three thousand additions, three hundred deletions).
        QCOMPARE(copied->size(), schemaTables().size() + monitorTables().size() + 1);
        QCOMPARE(copied->at(copied->size() - 2).table, QString("Monitor_Reclaim"));
        QCOMPARE(copied->last().table, kHistoryTable);
        QCOMPARE(copied->last().rows, 3300);
        const QString history = "SELECT rowid, " + historyColumns().join(", ") +
                                " FROM IP_History WHERE rowid % 101 = 0 ORDER BY rowid";
        QCOMPARE(rowsOf(to, history), rowsOf(from, history));
        // Every table has its key again (the rows went in without its index), the narrow text too.
        QStringList keyed{"IP_Info_Text"};
        for (const CopiedTable& t : *copied) {
            QCOMPARE(rowsOf(to, "SELECT count(*) FROM " + t.table).value(0).value(0).toLongLong(), t.rows);
            keyed << t.table;
        }
        // The search aids come with their statistics, not planned blind until the server's own.
        for (const char* aid : {"ip_info_text", "ip_info_block"})
            QVERIFY2(rowsOf(to, QString("SELECT count(*) FROM pg_stats WHERE schemaname = current_schema() "
                                        "AND tablename = '%1'").arg(aid)).value(0).value(0).toInt() > 0, aid);
        for (const QString& table : keyed)
            QVERIFY2(rowsOf(to, "SELECT count(*) FROM pg_constraint WHERE contype = 'p' AND conrelid = "
                                "to_regclass('" + table.toLower() + "')").value(0).value(0).toInt() == 1,
                     qPrintable(table));
        QCOMPARE(copied->at(schemaTables().indexOf("IP_Info")).rows, 2700);
        QCOMPARE(copied->at(schemaTables().indexOf("UserID")).rows, 2);
        const auto every = [](const QString& table, const QString& where) {
            return "SELECT rowid, [" + schemaColumnsOf(table).join("], [") + "] FROM " + table + where +
                   " ORDER BY rowid";
        };
        const QString sample = every("IP_Info", " WHERE rowid % 97 = 0");
        QCOMPARE(rowsOf(to, sample).size(), 27);
        QCOMPARE(rowsOf(to, sample), rowsOf(from, sample));
        QCOMPARE(rowsOf(to, every("UserID", "")), rowsOf(from, every("UserID", "")));
        const QString watches = "SELECT [Name], Kind, Scope, IntervalMinutes, RateLimit, LastSweep FROM Monitor_Watch";
        QCOMPARE(rowsOf(to, watches).size(), 1);
        QCOMPARE(rowsOf(to, watches), rowsOf(from, watches));
        QVERIFY(serverGuardsAddresses(*target));
        QVERIFY(!runSqlOn(to, "INSERT INTO IP_Info (IP_Address) VALUES ('10.0.0.96')"));
        QVERIFY(runSqlOn(to, "INSERT INTO IP_Info (IP_Address) VALUES ('192.0.2.1')"));
        // The server's own triggers record what happens there from now on.
        QCOMPARE(rowsOf(to, "SELECT count(*) FROM IP_History WHERE Action = 'added' AND IP_Address = '192.0.2.1'")
                     .value(0).value(0).toInt(), 1);
        // After the copied keys (a refused insert may have used one number).
        QVERIFY(rowsOf(to, "SELECT rowid FROM IP_Info WHERE IP_Address = '192.0.2.1'").value(0).value(0).toInt() > 3000);
        // Into a server that holds the tables now: refused, nothing added.
        QVERIFY(!migrateToServer(file, *target, &error));
        QVERIFY2(error.contains("holds tables of Zorva already"), qPrintable(error));
        QCOMPARE(rowsOf(to, "SELECT count(*) FROM IP_Info").value(0).value(0).toInt(), 2701);
    }

    // A row the server cannot take: named, and the server left without tables.
    void failedMigrationLeavesNothing() {
        serverOnly();
        const QString file = app().path("odd.mdb");
        QString error;
        QVERIFY(createInitialDatabase(file, &error));
        {
            QSqlDatabase db = openDatabaseFile(file, "odd");
            fillInventory(db, 450);
            QVERIFY(runSqlOn(db, "UPDATE IP_Info SET IP_4 = 'five' WHERE rowid = 420"));
        }
        closeConnection("odd");
        const auto target = newTestSchema(&error);
        QVERIFY(target);
        const auto cleanup = qScopeGuard([&] { closeAllConnections(); dropTestSchema(*target); });
        QVERIFY(!migrateToServer(file, *target, &error));
        QVERIFY2(error.contains("table IP_Info, row 420: invalid input syntax for type bigint"),
                 qPrintable(error));
        QSqlDatabase to = openDatabaseServer(*target, "target");
        QVERIFY(rowsOf(to, catalogSql(Dialect::PostgreSQL, Catalog::Tables)).isEmpty());
    }

    // Texts that COPY's format must escape, NULL beside the empty text, letters beyond ASCII:
    // all arrive as they were (the migration also compares every value itself).
    void awkwardTextsMigrate() {
        serverOnly();
        const QString file = app().path("awkward.mdb");
        QString error;
        QVERIFY(createInitialDatabase(file, &error));
        const QVariantList texts = {QString("tab\there"), QString("two\nlines"), QString("cr\rhere"),
                                    QString("C:\\share\\"), QString("\\N"), QString("\\."),
                                    QString(""), QVariant(), QString("Émile 東京"), QString("O'Brien"),
                                    QString("\t\\\n\r"), QString("\\"), QString("end\t")};
        {
            QSqlDatabase db = openDatabaseFile(file, "awkward");
            for (int i = 0; i < texts.size(); ++i)
                QVERIFY(runSqlOn(db, "INSERT INTO IP_Info (IP_Address, IP_4, Remarks) VALUES (?, ?, ?)",
                                 {QString("10.7.7.%1").arg(i), i, texts[i]}));
        }
        closeConnection("awkward");
        const auto target = newTestSchema(&error);
        QVERIFY(target);
        const auto cleanup = qScopeGuard([&] { closeAllConnections(); dropTestSchema(*target); });
        QVERIFY2(migrateToServer(file, *target, &error), qPrintable(error));
        const QString shown = "SELECT rowid, IP_4, CASE WHEN Remarks IS NULL THEN 'null' ELSE 'text:' || Remarks END "
                              "FROM IP_Info ORDER BY rowid";
        const auto there = rowsOf(openDatabaseServer(*target, "target"), shown);
        QCOMPARE(there.size(), texts.size());
        QCOMPARE(there, rowsOf(openDatabaseFile(file, "awkward"), shown));
    }

    // A statement with values reaches the server as one text, its values as they were given:
    // quotes, backslashes, marks inside literals, NULL; no prepared statement is left behind.
    void valuesArriveAsSent_data() {
        QTest::addColumn<QVariant>("value");
        QTest::newRow("apostrophes") << QVariant(QString("O'Brien's ''lab''"));
        QTest::newRow("backslashes") << QVariant(QString("C:\\temp\\n"));
        QTest::newRow("question mark") << QVariant(QString("why? because?"));
        QTest::newRow("empty text") << QVariant(QString(""));
        QTest::newRow("null text") << QVariant(QString());
        QTest::newRow("letters beyond ASCII") << QVariant(QString("Émile 東京"));
        QTest::newRow("number") << QVariant(qint64(4294967295LL));
    }
    void valuesArriveAsSent() {
        serverOnly();
        QFETCH(QVariant, value);
        QString error;
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.1.2.7', 7)");
        auto q = runSql("SELECT CASE WHEN ? IS NULL THEN 'null' ELSE 'text:' || ? END, 'a?b', "
                   "IP_Address FROM IP_Info WHERE IP_4 = ?",
                   {value, value, "7"}, &error);
        QVERIFY2(q && q->next(), qPrintable(error));
        QCOMPARE(q->value(0).toString(), isNullValue(value) ? QString("null") : "text:" + value.toString());
        QCOMPARE(q->value(1).toString(), QString("a?b"));
        QCOMPARE(q->value(2).toString(), QString("10.1.2.7"));
        QCOMPARE(app().scalar("SELECT count(*) FROM pg_prepared_statements").toInt(), 0);
        QVERIFY(!runSql("SELECT ?, ?", {1}));
    }

    // An address recorded twice in the file: both rows move, and the server goes without the
    // unique index until they are resolved, as the file's upgrade does; the command says so.
    void duplicateAddressesMigrateUnguarded() {
        serverOnly();
        const QString file = app().path("twice.mdb");
        QString error;
        QVERIFY(createInitialDatabase(file, &error));
        {
            QSqlDatabase db = openDatabaseFile(file, "twice");
            QVERIFY(runSqlOn(db, "DROP INDEX IP_Info_IP_Address"));
            QVERIFY(runSqlOn(db, "INSERT INTO IP_Info (IP_Address, [Name]) VALUES ('10.9.9.9', 'A'), ('10.9.9.9', 'B')"));
        }
        closeConnection("twice");
        const auto target = newTestSchema(&error);
        QVERIFY(target);
        const auto cleanup = qScopeGuard([&] { closeAllConnections(); dropTestSchema(*target); });
        const auto copied = migrateToServer(file, *target, &error);
        QVERIFY2(copied, qPrintable(error));
        QCOMPARE(copied->at(schemaTables().indexOf("IP_Info")).rows, 2);
        QVERIFY(!serverGuardsAddresses(*target));
    }

    // A value as COPY's text format takes it, appended after what the line holds already: only
    // backslash, tab, newline and return escaped, NULL apart from the empty text.
    void copyTextFormat_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("isNull");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("plain") << QByteArray("Émile's PC") << false << QByteArray("Émile's PC");
        QTest::newRow("empty") << QByteArray("") << false << QByteArray("");
        QTest::newRow("null") << QByteArray() << true << QByteArray("\\N");
        QTest::newRow("the text \\N") << QByteArray("\\N") << false << QByteArray("\\\\N");
        QTest::newRow("only escapes") << QByteArray("\t\\\n\r") << false << QByteArray("\\t\\\\\\n\\r");
        QTest::newRow("between runs") << QByteArray("a\tbc\nd") << false << QByteArray("a\\tbc\\nd");
        QTest::newRow("at the end") << QByteArray("C:\\share\\") << false << QByteArray("C:\\\\share\\\\");
    }
    void copyTextFormat() {
        QFETCH(QByteArray, value);
        QFETCH(bool, isNull);
        QFETCH(QByteArray, written);
        std::string line = "1\t";
        appendCopyValue(line, value.constData(), value.size(), isNull);
        QCOMPARE(QByteArray::fromStdString(line), "1\t" + written);
    }

    // The command a site runs: the initial database, or its file, onto the server named in
    // Zorva.ini; the rows per table are printed.
    void initdbCommand() {
        serverOnly();
        QString error;
        const auto target = newTestSchema(&error);
        QVERIFY(target);
        const auto cleanup = qScopeGuard([&] { dropTestSchema(*target); });
        QFile ini(app().path("server.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(("[Database]\r\n" + serverIniLines(*target)).toUtf8());
        ini.close();
        const QString file = app().path("site.mdb");
        QVERIFY(createInitialDatabase(file, &error));
        fillInventory(openDatabaseFile(file, "site"), 1200);
        closeConnection("site");
        QProcess p;
        p.start(qEnvironmentVariable("ZORVA_INITDB_BIN"), {"--migrate", file, "--ini", ini.fileName()});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        QVERIFY2(QRegularExpression("IP_Info +1200 rows").match(out).hasMatch(), qPrintable(out));
        QVERIFY2(QRegularExpression("Equipment +5 rows").match(out).hasMatch(), qPrintable(out));
        p.start(qEnvironmentVariable("ZORVA_INITDB_BIN"), {"--server", "--ini", ini.fileName()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("holds tables of Zorva already"));
    }
};

QTEST_MAIN(TestServer)
#include "tst_server.moc"

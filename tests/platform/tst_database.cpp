// The database module: connections, the schema, its upgrade, and quoting.
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Schema.h"
#include "support/BadDatabases.h"
#include "utilities/FileHelpers.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestDatabase : public ZorvaTest {
    Q_OBJECT

    // A database of the older layout: City without the range columns, IP_Info without Status.
    QString makeOldDatabase(bool duplicateAddress = false) {
        const QString path = app().path("old.mdb");
        {
            QSqlDatabase db = openDatabaseFile(path, "old", nullptr, true);
            QSqlQuery q(db);
            q.exec("CREATE TABLE City (City_name TEXT, Abbr_city TEXT, IP_octet2 INTEGER, "
                   "[Offset] INTEGER, Abbr_state TEXT, Region TEXT)");
            q.exec("INSERT INTO City VALUES ('Ipoh', 'IPH', 20, 30, 'A', 'North')");
            q.exec("CREATE TABLE IP_Info (IP_Address TEXT, IP_4 INTEGER, [Name] TEXT)");
            q.exec("INSERT INTO IP_Info VALUES ('10.1.1.5', 5, 'PCA01')");
            if (duplicateAddress) q.exec("INSERT INTO IP_Info VALUES ('10.1.1.5', 5, 'PCA02')");
            db.close();
        }
        closeConnection("old");
        return path;
    }

    QStringList columns(const QString& table) {
        QStringList out;
        auto q = runSql(QString("PRAGMA table_info(%1)").arg(table));
        while (q && q->next()) out << q->value(1).toString();
        return out;
    }

private slots:
    void upgradeAddsColumnsOnce() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        appState().gDbPath = makeOldDatabase();
        QString error;
        QVERIFY2(UpgradeSchema(&error), qPrintable(error));
        QCOMPARE(columns("City").mid(columns("City").size() - 2), QStringList({"StartIPRange", "ToIPRange"}));
        QVERIFY(columns("IP_Info").contains("Status"));
        // Existing rows: no own range, empty status.
        auto q = runSql("SELECT StartIPRange, ToIPRange FROM City");
        QVERIFY(q && q->next());
        QCOMPARE(q->value(0).toInt(), 0);
        QCOMPARE(q->value(1).toInt(), 0);
        QCOMPARE(app().scalar("SELECT Status FROM IP_Info").toString(), QString());
        // An empty status is accepted, an 11-character one is not.
        app().exec("UPDATE IP_Info SET Status = ''");
        QVERIFY(!runSql("UPDATE IP_Info SET Status = ?", {QString(11, 'x')}));

        const QStringList cityBefore = columns("City"), ipBefore = columns("IP_Info");
        QVERIFY(UpgradeSchema(&error));
        QCOMPARE(columns("City"), cityBefore);
        QCOMPARE(columns("IP_Info"), ipBefore);
        // The address is now unique.
        QVERIFY(!runSql("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.1.1.5', 5)"));
    }

    void upgradeLooksOnlyAtStartIPRange() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        const QString path = app().path("half.mdb");
        {
            QSqlDatabase db = openDatabaseFile(path, "half", nullptr, true);
            QSqlQuery(db).exec("CREATE TABLE City (City_name TEXT, StartIPRange INTEGER)");
            db.close();
        }
        closeConnection("half");
        appState().gDbPath = path;
        QVERIFY(UpgradeSchema());
        QCOMPARE(columns("City"), QStringList({"City_name", "StartIPRange"}));
    }

    void duplicateAddressesKeepTheirRows() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        appState().gDbPath = makeOldDatabase(true);
        QVERIFY(UpgradeSchema());
        QCOMPARE(app().count("IP_Info"), 2);
        QVERIFY(!app().scalar("SELECT 1 FROM sqlite_master WHERE name = 'IP_Info_IP_Address'").isValid());
    }

    void initialDatabaseContents() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        QCOMPARE(app().count("UserID", "[Group] = 'Sistem'"), 1);
        QCOMPARE(app().scalar("SELECT Password FROM UserID WHERE UserID = 'admin'").toString(),
                 QString(kInitialPassword));
        QCOMPARE(app().count("Region", "Region = 'Headquarters' AND Abbr_segment = 'HQ' AND Segment_ip = 1"), 1);
        QCOMPARE(app().count("City", "City_name = 'IT Division' AND Abbr_city = 'ITD' AND "
                                     "IP_octet2 = 100 AND Abbr_state = 'HQ' AND Region = 'Headquarters'"),
                 1);
        QCOMPARE(app().count("Equipment", "Eqp_name = 'PC' AND Octet4_start = 71 AND Octet4_end = 240"), 1);
        // Equipment ranges of the presets do not overlap.
        QCOMPARE(app().count("Equipment e1, Equipment e2",
                             "e1.rowid < e2.rowid AND e1.Octet4_start <= e2.Octet4_end AND "
                             "e2.Octet4_start <= e1.Octet4_end"),
                 0);
        // Never written over an existing file.
        QString error;
        QVERIFY(!createInitialDatabase(app().dbPath(), &error));
        QVERIFY(error.contains("already exists"));
        QCOMPARE(app().count("UserID"), 1);
    }

    void apostrophesAndCase() {
        app().addUser("OBRIEN", "it's", "Seán O'Brien", "HQ");
        auto q = runSql("SELECT [Name] FROM UserID WHERE UserID = ? AND Password = ?",
                        {"obrien", "IT'S"});
        QVERIFY(q && q->next());
        QCOMPARE(q->value(0).toString(), QString("Seán O'Brien"));
        QCOMPARE(app().count("UserID", "[Name] LIKE ?", {"%o'brien%"}), 1);
        QCOMPARE(SqlQuote("O'Brien's"), QString("O''Brien''s"));
        // Text spliced through SqlQuote finds the same row.
        QCOMPARE(app().count("UserID", "[Name] = '" + SqlQuote("Seán O'Brien") + "'"), 1);
        // An identifier longer than six characters is refused.
        QVERIFY(!runSql("INSERT INTO UserID (UserID) VALUES ('SEVENCH')"));
    }

    void badDatabasePaths() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        QString error;
        // Missing: reported, and no file is created.
        appState().gDbPath = app().path("missing.mdb");
        QVERIFY(!runSql("SELECT 1", {}, &error));
        QVERIFY(error.contains("not found"));
        QVERIFY(!QFile::exists(app().path("missing.mdb")));
        // A folder.
        QDir(app().folder()).mkpath("folder.mdb");
        appState().gDbPath = app().path("folder.mdb");
        error.clear();
        QVERIFY(!UpgradeSchema(&error));
        QVERIFY(error.contains("folder"));
        // A file that is not a database: reported, and left as it was.
        QFile junk(app().path("junk.mdb"));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(4096, 'z'));
        junk.close();
        appState().gDbPath = app().path("junk.mdb");
        error.clear();
        QVERIFY(!UpgradeSchema(&error));
        QVERIFY2(!error.isEmpty(), "no error text");
        QCOMPARE(QFileInfo(app().path("junk.mdb")).size(), 4096);
        // The error is shown to the user by the reporting variant.
        QVERIFY(!runSqlOrReport(nullptr, "SELECT * FROM UserID"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.icon, Icon::Critical);
    }

    // A file that cannot be the database: the check says why, the upgrade refuses it or fails
    // as one step, and the file keeps every byte.
    void badFilesAreNamedAndLeftAsTheyWere_data() { addBadDatabaseRows(); }
    void badFilesAreNamedAndLeftAsTheyWere() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        QFETCH(int, kind);
        const auto bad = BadDatabase(kind);
        const QString path = app().path("bad.mdb");
        writeBadDatabase(bad, path, app().dbPath());
        const QByteArray before = readFile(path);
        const QString problem = databaseFileProblem(path);
        QVERIFY2(problem.startsWith("This is not a Zorva database: "), qPrintable(problem));
        QVERIFY2(problem.contains(badDatabaseWords(bad)), qPrintable(problem));

        appState().gDbPath = path;
        QString error;
        QVERIFY(!UpgradeSchema(&error));
        const QString words = bad == BadDatabase::LackingColumns
                                  ? QString("could not be brought up to date (no such column: IP_Address)")
                                  : badDatabaseWords(bad);
        QVERIFY2(error.contains(words), qPrintable(error));
        QVERIFY2(error.endsWith("It was left unchanged."), qPrintable(error));
        closeAllConnections();
        QCOMPARE(readFile(path), before);
    }

    void goodAndOlderDatabasesPassTheCheck() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        QCOMPARE(databaseFileProblem(app().dbPath()), QString());
        // the older layout lacks only what the upgrade adds
        app().exec("DROP INDEX IP_Info_Status"); // nor its index
        for (const QString& sql : beforeHistory()) app().exec(sql);
        app().exec("ALTER TABLE IP_Info DROP COLUMN Status");
        app().exec("ALTER TABLE City DROP COLUMN ToIPRange");
        QCOMPARE(databaseFileProblem(app().dbPath()), QString());
        app().exec("ALTER TABLE UserID DROP COLUMN Email");
        QCOMPARE(databaseFileProblem(app().dbPath()),
                 QString("This is not a Zorva database: table UserID lacks Email."));
        QVERIFY(databaseFileProblem(app().path("none.mdb")).contains("not found"));
    }

    void lockedDatabaseWaitsThenReports() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        // Another copy holds a write lock: a writer waits for it, then gets a clear error.
        QSqlDatabase other = openDatabaseFile(app().dbPath(), "other");
        QSqlQuery(other).exec("BEGIN EXCLUSIVE");
        QElapsedTimer t;
        t.start();
        QString error;
        QVERIFY(!runSql("UPDATE UserID SET Email = 'x'", {}, &error));
        QVERIFY(t.elapsed() >= 4000);
        QVERIFY2(error.contains("locked"), qPrintable(error));
        QSqlQuery(other).exec("ROLLBACK");
        QVERIFY(runSql("UPDATE UserID SET Email = 'x'"));
        other = QSqlDatabase();
        closeConnection("other");
    }

    void connectionFollowsDbPath() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        const QString second = app().path("second.mdb");
        QVERIFY(createInitialDatabase(second));
        app().exec("DELETE FROM Equipment");
        appState().gDbPath = second;
        QCOMPARE(app().count("Equipment"), 5);
        appState().gDbPath = app().dbPath();
        QCOMPARE(app().count("Equipment"), 0);
    }

    void consistentCopy() {
        ZORVA_FILE_ONLY("the database file (the server's schema: platform_server_pg)");
        app().addUser("U1", "p", "One", "HQ");
        const QString target = app().path("copy.mdb");
        QString error;
        QVERIFY2(copyDatabaseTo(database(), target, &error), qPrintable(error));
        QVERIFY(!copyDatabaseTo(database(), target, &error));
        appState().gDbPath = target;
        QCOMPARE(app().count("UserID"), 2);
    }

    void transactionRollsBack() {
        {
            Transaction t;
            app().exec("DELETE FROM UserID");
        }
        QCOMPARE(app().count("UserID"), 1);
        {
            Transaction t;
            app().exec("DELETE FROM Workgroup");
            QVERIFY(t.commit());
        }
        QCOMPARE(app().count("Workgroup"), 0);
    }
};

QTEST_MAIN(TestDatabase)
#include "tst_database.moc"

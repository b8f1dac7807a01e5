// Finding, upgrading and replacing the database file at start and from the menu.
#include "StartUpTest.h"

using namespace zorva;
using namespace zorva::test;

class TestStartDatabase : public StartUpTest {
    Q_OBJECT

private slots:
    void databaseInTheApplicationFolder() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        setLocation("   ");
        freshProcess();
        expectSession(true);
        StartUp();
        QCOMPARE(appState().gIniFile, app().iniPath());
        QCOMPARE(appState().gDbPath, app().dbPath());
        MDIFrmUtama* main = MDIFrmUtama::instance();
        QVERIFY(main);
        QCOMPARE(main->windowTitle(), "Zorva - [User : " + appState().gUserName + "]");
        QCOMPARE(appState().gDbFolder, app().folder());
        QCOMPARE(main->statusText(), QString());
    }

    void databaseElsewhereWithTrailingSeparator() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        const QString folder = moveDatabaseAway("shared");
        setLocation(folder + "/");
        freshProcess();
        expectSession(false);
        StartUp();
        QCOMPARE(appState().gDbPath, folder + "//Zorvadb.mdb");
        QCOMPARE(MDIFrmUtama::instance()->statusText(),
                 "Database dir = " + folder + "/");
        QCOMPARE(app().count("UserID"), 1);
    }

    void olderDatabaseIsUpgradedAtStart() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        app().exec("CREATE TABLE City2 AS SELECT City_name, Abbr_city, IP_octet2, [Offset], "
                   "Abbr_state, Region FROM City");
        app().exec("DROP TABLE City");
        app().exec("ALTER TABLE City2 RENAME TO City");
        freshProcess();
        expectSession(true);
        StartUp();
        QCOMPARE(app().scalar("SELECT ToIPRange FROM City").toInt(), 0);
    }

    void unreadableDatabaseIsReportedAndStartGoesOn() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        closeAllConnections();
        QFile::remove(app().dbPath());
        QFile junk(app().dbPath());
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("this is not a database");
        junk.close();
        freshProcess();
        expectUnreadableLogin(true);
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY(!m.text.isEmpty());
        // The login says it too, stays open, and its "Exit" ends the program.
        QCOMPARE(sui().take().title, QString("Error !!!"));
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(appState().gUserID.isEmpty());
        QVERIFY(MDIFrmUtama::instance());
        QFile check(app().dbPath());
        QVERIFY(check.open(QIODevice::ReadOnly));
        QCOMPARE(check.readAll(), QByteArray("this is not a database"));
    }

    // Opening: a file that cannot be the database where the settings say it is. The first
    // message names it and why; it is neither upgraded nor changed; the login offers "Exit".
    void badDatabaseAtStart_data() { addBadDatabaseRows(); }
    void badDatabaseAtStart() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        QFETCH(int, kind);
        closeAllConnections();
        const QString good = app().path("good.mdb");
        QVERIFY(QFile::rename(app().dbPath(), good));
        writeBadDatabase(BadDatabase(kind), app().dbPath(), good);
        const QByteArray before = readFile(app().dbPath());
        freshProcess();
        sui().onModal("frmChangeFolder", [](QDialog& d) { d.findChild<QPushButton*>("cmdTutup")->click(); });
        sui().onModal("frmLogin", [](QDialog& d) { d.findChild<QPushButton*>("cmdExit")->click(); });
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY2(m.text.startsWith(app().dbPath() + ": This is not a Zorva database: "), qPrintable(m.text));
        QVERIFY2(m.text.contains(badDatabaseWords(BadDatabase(kind))), qPrintable(m.text));
        QCOMPARE(sui().endRequests, 1);
        closeAllConnections();
        QCOMPARE(readFile(app().dbPath()), before);
    }

    // Locating at start-up: a chosen file that cannot be the database ends the program as a
    // folder without one does; nothing is recorded and the file is left as it was.
    void badDatabaseChosenAtStart_data() { addBadDatabaseRows(); }
    void badDatabaseChosenAtStart() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        QFETCH(int, kind);
        const QString folder = moveDatabaseAway("data");
        const QString bad = folder + "/copy.mdb";
        writeBadDatabase(BadDatabase(kind), bad, folder + "/Zorvadb.mdb");
        const QByteArray before = readFile(bad), ini = readFile(app().iniPath());
        freshProcess();
        sui().answerFile(bad);
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error"));
        QCOMPARE(m.icon, Icon::Critical);
        QVERIFY2(m.text.startsWith(bad + ": This is not a Zorva database: "), qPrintable(m.text));
        QVERIFY2(m.text.contains(badDatabaseWords(BadDatabase(kind))), qPrintable(m.text));
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
        QCOMPARE(readFile(bad), before);
        QCOMPARE(readFile(app().iniPath()), ini);
    }

    // Locating from the menu: the session stays on its database, nothing is recorded.
    void badDatabaseChosenFromTheMenu_data() { addBadDatabaseRows(); }
    void badDatabaseChosenFromTheMenu() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        QFETCH(int, kind);
        freshProcess();
        expectSession(true);
        StartUp();
        MDIFrmUtama* main = MDIFrmUtama::instance();
        QVERIFY(main);
        const QString bad = app().path("other.mdb");
        writeBadDatabase(BadDatabase(kind), bad, app().dbPath());
        const QByteArray before = readFile(bad), ini = readFile(app().iniPath());
        sui().answerFile(bad);
        main->mnuChangeDBDir->trigger();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error"));
        QVERIFY2(m.text.contains(badDatabaseWords(BadDatabase(kind))), qPrintable(m.text));
        QCOMPARE(appState().gDbPath, app().dbPath());
        QCOMPARE(appState().gDbFolder, app().folder());
        QCOMPARE(appState().gUserID, QString("ADMIN"));
        QCOMPARE(sui().endRequests, 0);
        QCOMPARE(readFile(bad), before);
        QCOMPARE(readFile(app().iniPath()), ini);
    }

    void missingDatabaseChosenFileOfAnotherName() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        const QString folder = moveDatabaseAway("data");
        const QString other = folder + "/copy-2026.mdb";
        QVERIFY(createInitialDatabase(other));
        freshProcess();
        sui().answerFile(other);
        sui().onModal("frmCariDB", [&](QDialog& d) {
            QCOMPARE(labelText(d), folder + "/");
            clickOk(d);
        });
        expectSession(false);
        StartUp();
        const FileDialogRequest r = sui().fileRequests.value(0);
        QCOMPARE(r.title, QString("Browse for Zorva database ..."));
        QCOMPARE(r.fileName, QString("Zorvadb.mdb"));
        QCOMPARE(r.folder, app().folder());
        QCOMPARE(r.filterIndex, 3);
        QCOMPARE(r.filter, QString("All Files (*.*)|*.*|MS Access 2000 Files (*.mdb)|*.mdb|"
                                   "Zorva database (Zorvadb.mdb)|Zorvadb.mdb"));
        // The chosen file is used until the next start; the folder is remembered.
        QCOMPARE(appState().gDbPath, other);
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), folder);
        QVERIFY(MDIFrmUtama::instance());
        freshProcess();
        delete MDIFrmUtama::instance();
        expectSession(false);
        StartUp();
        QCOMPARE(appState().gDbPath, folder + "/Zorvadb.mdb");
    }

    void missingDatabaseFolderWithoutIt() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        moveDatabaseAway("data");
        QDir(app().folder()).mkpath("empty");
        freshProcess();
        sui().answerFile(app().path("empty/Zorvadb.mdb"));
        StartUp();
        QVERIFY(sui().takeText("Zorva database not found!", "Error"));
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
    }

    void missingDatabaseCancelledWithoutLocation() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        moveDatabaseAway("data");
        freshProcess();
        sui().answerFile(QString());
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QString("No Database !!!"));
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
    }

    void missingDatabaseCancelledWithLocation() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        const QString folder = moveDatabaseAway("data");
        QDir(app().folder()).mkpath("gone");
        setLocation(app().path("gone"));
        freshProcess();
        sui().answerFile(QString());
        sui().onModal("frmCariDB", [&](QDialog& d) {
            QCOMPARE(labelText(d), app().path("gone") + "/");
            clickOk(d);
        });
        expectUnreadableLogin(false);
        StartUp();
        // "OK" keeps the configured folder; the missing database is then reported.
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), app().path("gone"));
        QCOMPARE(sui().take().title, QString("Error !!!"));
        QCOMPARE(sui().take().title, QString("Error !!!"));
        QVERIFY(MDIFrmUtama::instance());
        Q_UNUSED(folder);
    }

    void changeDirectoryFromTheMenuToTheApplicationFolder() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        // Running with the database elsewhere, the user points back at the application folder.
        const QString elsewhere = app().path("elsewhere");
        QDir(app().folder()).mkpath("elsewhere");
        QVERIFY(createInitialDatabase(elsewhere + "/Zorvadb.mdb"));
        setLocation(elsewhere);
        freshProcess();
        expectSession(false);
        StartUp();
        QCOMPARE(appState().gUserID, QString("ADMIN"));
        MDIFrmUtama* main = MDIFrmUtama::instance();
        QCOMPARE(main->statusText(), "Database dir = " + elsewhere + "/");

        sui().answerFile(app().dbPath());
        sui().onModal("frmCariDB", [](QDialog& d) { clickOk(d); });
        frmCariDB dlg;
        QCOMPARE(ui().showModal(dlg), int(QDialog::Accepted));
        QCOMPARE(appState().gDbPath, app().dbPath());
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), QString());
        QVERIFY(QFile(app().iniPath()).open(QIODevice::ReadOnly));
        QCOMPARE(main->statusText(), QString());
        QCOMPARE(appState().gUserID, QString("ADMIN"));
    }

    // The dialog has only "OK"; closing it otherwise must not leave the session on a database
    // that was neither checked for the user nor recorded.
    void closingTheLocateDialogFromTheMenuIsOk() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        const QString elsewhere = app().path("elsewhere");
        QDir(app().folder()).mkpath("elsewhere");
        QVERIFY(createInitialDatabase(elsewhere + "/Zorvadb.mdb"));
        app().addUser("HQ1", "hq", "Hana HQ", "HQ");
        freshProcess();
        expectSession(true);
        StartUp();
        MDIFrmUtama* main = MDIFrmUtama::instance();
        QVERIFY(main);
        QVERIFY(main->isVisible());
        appState().gReLogin = true;
        sui().onModal("frmLogin", [](QDialog& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), "HQ1");
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), "hq");
            d.findChild<QPushButton*>("CmdTeruskan")->click();
        });
        QVERIFY(main->requireLogin());
        QCOMPARE(appState().gUserID, QString("HQ1"));

        sui().answerFile(elsewhere + "/Zorvadb.mdb");
        sui().onModal("frmCariDB", [](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
        // HQ1 does not exist there: a new login is needed.
        sui().onModal("frmLogin", [](QDialog& d) {
            QCOMPARE(d.findChild<QPushButton*>("cmdExit")->text(), QString("Exit"));
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), "ADMIN");
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), "zorva");
            d.findChild<QPushButton*>("CmdTeruskan")->click();
        });
        main->mnuChangeDBDir->trigger();
        QCOMPARE(appState().gDbPath, elsewhere + "/Zorvadb.mdb");
        QCOMPARE(appState().gUserID, QString("ADMIN"));
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), elsewhere);
        QCOMPARE(main->statusText(), "Database dir = " + elsewhere + "/");
    }

    void failedSettingsWriteOfTheLocateDialogIsReported() {
        ZORVA_FILE_ONLY("finding the database file at start (on a server: app_serverstart_pg)");
        const QString elsewhere = app().path("elsewhere");
        QDir(app().folder()).mkpath("elsewhere");
        QVERIFY(createInitialDatabase(elsewhere + "/Zorvadb.mdb"));
        freshProcess();
        expectSession(true);
        StartUp();
        QVERIFY(MDIFrmUtama::instance());
        sui().answerFile(elsewhere + "/Zorvadb.mdb");
        sui().onModal("frmCariDB", [&](QDialog& d) {
            // A settings file that cannot be replaced: a folder stands in its place.
            QVERIFY(QFile::remove(app().iniPath()));
            QVERIFY(QDir(app().folder()).mkdir("Zorva.ini"));
            clickOk(d);
        });
        MDIFrmUtama::instance()->mnuChangeDBDir->trigger();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.text, "Zorva.ini could not be written. The database folder " + elsewhere +
                             "/ was not saved.");
    }
};

QTEST_MAIN(TestStartDatabase)
#include "tst_startdatabase.moc"

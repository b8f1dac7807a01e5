// From the splash through the start-up routine and the locate-database dialog to the main window.
#include "app/MDIFrmUtama.h"
#include "app/StartUp.h"
#include "app/frmCariDB.h"
#include "app/frmSplash.h"
#include "platform/AppFolder.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "support/BadDatabases.h"
#include "support/Fixture.h"
#include "support/TestServer.h"
#include "utilities/FileHelpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestStartUp : public ZorvaTest {
    Q_OBJECT

    void tearDown() override { delete MDIFrmUtama::instance(); }

    // Puts the database of the fixture elsewhere so that start-up cannot find it.
    QString moveDatabaseAway(const QString& folderName) {
        QDir(app().folder()).mkpath(folderName);
        const QString target = app().path(folderName + "/Zorvadb.mdb");
        closeAllConnections();
        if (!QFile::rename(app().dbPath(), target)) qWarning("rename failed");
        return app().path(folderName);
    }

    void setLocation(const QString& value) {
        QVERIFY(writeIniFile(app().iniPath(), "Database", "DatabaseLocation", value));
    }

    static QString labelText(QDialog& d) {
        return d.findChild<QLabel*>("lblDBFolder")->text();
    }
    static void clickOk(QDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); }

    // The main window's load: the database folder form while no location is configured
    // (left with Cancel), then the login.
    void expectSession(bool folderForm) {
        if (folderForm)
            sui().onModal("frmChangeFolder", [](QDialog& d) {
                // The main window becomes visible only after this form.
                QVERIFY(!MDIFrmUtama::instance()->isVisible());
                d.findChild<QPushButton*>("cmdTutup")->click();
            });
        sui().onModal("frmLogin", [](QDialog& d) {
            QVERIFY(MDIFrmUtama::instance()->isVisible());
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), "ADMIN");
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), "zorva");
            d.findChild<QPushButton*>("CmdTeruskan")->click();
        });
    }
    // A login on a database that cannot be read: the error is shown, the user leaves.
    void expectUnreadableLogin(bool folderForm) {
        if (folderForm)
            sui().onModal("frmChangeFolder",
                          [](QDialog& d) { d.findChild<QPushButton*>("cmdTutup")->click(); });
        sui().onModal("frmLogin", [](QDialog& d) {
            d.findChild<QPushButton*>("CmdTeruskan")->click();
            QVERIFY(d.isVisible());
            d.findChild<QPushButton*>("cmdExit")->click();
        });
    }

    // The state start-up leaves: only the application folder is known.
    void freshProcess() {
        const QString folder = app().folder();
        resetAppState();
        appState().appFolder = folder;
    }

private slots:
    void missingIniEndsTheProgram() {
        QFile::remove(app().iniPath());
        freshProcess();
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("File not found..."));
        QCOMPARE(m.text, "Can't find the 'Zorva.ini' file. This file is mandatory for this program "
                         "to run correctly. If you can find this file elsewhere on your computer, "
                         "safely copy it to " +
                             app().folder().toUpper() +
                             ".\r\n\r\nIf this does not work, you will have to reinstall the program.");
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
    }

    // An installed program (no Zorva.ini beside it) starts in the user's data folder: the first
    // start writes the settings and the initial database there, says so once, and goes on to
    // the login on that database.
    void firstStartPreparesTheUserFolder() {
        ZORVA_FILE_ONLY("the user's own database file");
        QTemporaryDir home;
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        resetAppState();
        appState().appFolder = userDataFolder();
        const QString folder = home.path() + "/Zorva";
        QCOMPARE(appState().appFolder, folder);
        expectSession(false); // the database is where it belongs: no offer to move it
        StartUp();
        qunsetenv("XDG_DATA_HOME");
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Information);
        QCOMPARE(m.text, firstStartText(folder, FirstStart{{folder + "/Zorvadb.mdb", folder + "/Zorva.ini"}, {}}));
        QCOMPARE(sui().pendingMessages(), 0);
        QCOMPARE(appState().gDbPath, folder + "/Zorvadb.mdb");
        QCOMPARE(appState().gUserID, QStringLiteral("ADMIN")); // logged in on the new database
        QVERIFY(MDIFrmUtama::instance());
        QCOMPARE(sui().endRequests, 0);
    }

    void unwritableUserFolderEndsTheProgram() {
        QTemporaryDir home;
        QFile blocker(home.path() + "/data");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_DATA_HOME", blocker.fileName().toLocal8Bit());
        resetAppState();
        appState().appFolder = userDataFolder();
        StartUp();
        qunsetenv("XDG_DATA_HOME");
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QVERIFY2(m.text.contains(home.path() + "/data/Zorva") && m.text.contains("cannot be created"),
                 qPrintable(m.text));
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
    }

    void databaseLocationRules() {
        // Spaces only count as empty; any other value is used as read, even with a trailing
        // separator.
        QCOMPARE(databasePathFor("   ", "/opt/zorva"), QString("/opt/zorva/Zorvadb.mdb"));
        QCOMPARE(databasePathFor("", "/opt/zorva"), QString("/opt/zorva/Zorvadb.mdb"));
        QCOMPARE(databasePathFor("/srv/data/", "/opt/zorva"), QString("/srv/data//Zorvadb.mdb"));
        QCOMPARE(databasePathFor(" /srv/data", "/opt/zorva"), QString(" /srv/data/Zorvadb.mdb"));
    }

    // An older database without the search aids: the upgrade reports its steps, and the report
    // ends (the splash goes away) before the first window of the session shows. The splash
    // shows the text and the bar once the work has lasted a moment.
    void longUpgradeShowsItsProgress() {
        ZORVA_FILE_ONLY("the file's search aids");
        setLocation("   ");
        for (int i = 1; i <= 300; ++i)
            app().exec(QStringLiteral("INSERT INTO IP_Info (IP_Address, IP_4, Username) VALUES "
                                      "('10.9.%1.%2', %2, 'user %1')").arg(i / 100).arg(i % 100));
        for (const char* sql : {"DROP TRIGGER IP_Info_Search_Insert", "DROP TABLE IP_Info_Text",
                                "DROP TABLE IP_Info_Block"})
            app().exec(sql);
        freshProcess();
        QStringList told;
        sui().onModal("frmChangeFolder", [&](QDialog& d) {
            QCOMPARE(told.last(), QString(": 100"));
            d.findChild<QPushButton*>("cmdTutup")->click();
        });
        expectSession(false);
        StartUp([&](const QString& what, int percent) { told << what + ": " + QString::number(percent); });
        QVERIFY(told.size() >= 3);
        QVERIFY(told.first().startsWith("Checking the database: 0"));
        QVERIFY(told.filter(QRegularExpression("^Preparing the database for searching: \\d+$")).size() >= 2);
        QCOMPARE(told.last(), QString(": 100"));

        frmSplash splash;
        splash.showProgress("Preparing the database for searching", 10);
        QVERIFY(!splash.isVisible()); // a quick upgrade does not flash the splash
        QTest::qWait(frmSplash::kQuietMs + 20);
        splash.showProgress("Preparing the database for searching", 45);
        QVERIFY(splash.isVisible());
        QCOMPARE(splash.lblStatus->text(), QString("Preparing the database for searching: 45 %"));
        QCOMPARE(splash.pro_delay->value(), 45);
        splash.showProgress(QString(), 100);
        QVERIFY(!splash.isVisible());
    }

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

    void splashCountsTicksThenStartsUp() {
        freshProcess();
        auto* splash = new frmSplash;
        splash->runLoad();
        auto* bar = splash->findChild<QProgressBar*>("pro_delay");
        QCOMPARE(splash->findChild<QLabel*>("lbl_version")->text(), "Zorva : Version " + versionText());
        QCOMPARE(splash->tim_delay->interval(), 50);
        QCOMPARE(bar->maximum(), 75);
        splash->tim_delay->stop(); // the test ticks by itself
        for (int i = 1; i <= 75; ++i) splash->tim_delay_Timer();
        QCOMPARE(bar->value(), 75);
        QVERIFY(!MDIFrmUtama::instance());
        expectSession(!onServer()); // a server needs no database folder
        splash->tim_delay_Timer(); // the 76th tick
        QVERIFY(splash->isUnloaded());
        QVERIFY(MDIFrmUtama::instance());
        QTest::qWait(1);
    }

    void versionText_() {
        QVERIFY(QRegularExpression("^\\d\\.\\d\\d\\.\\d{4}$").match(versionText()).hasMatch());
    }

    void secondCopyIsRefused() {
        const QByteArray bin = qgetenv("ZORVA_TEST_BIN");
        if (bin.isEmpty()) QSKIP("the path of the zorva executable is not given");
        // The running copy: the executable in an application folder of its own.
        const QString exe = app().path("zorva");
        QVERIFY(QFile::copy(QString::fromLocal8Bit(bin), exe));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZORVA_UNATTENDED", "1");
        env.insert("XDG_RUNTIME_DIR", app().folder());
        QProcess first, second;
        first.setProcessEnvironment(env);
        second.setProcessEnvironment(env);
        first.start(exe);
        QVERIFY(first.waitForStarted());
        QTest::qWait(1500);
        QCOMPARE(first.state(), QProcess::Running);
        second.start(exe);
        QVERIFY(second.waitForFinished(10000));
        QVERIFY2(second.readAllStandardError().contains("[Error]: Zorva software is already open !"),
                 "the second copy did not refuse");
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"

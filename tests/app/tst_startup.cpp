// From the splash through the start-up routine and the locate-database dialog to the main window.
#include "StartUpTest.h"

using namespace zorva;
using namespace zorva::test;

class TestStartUp : public StartUpTest {
    Q_OBJECT

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

// From the splash through start-up and the login to the main window, and the session's
// commands: caption, status bar, rights of the groups, "Change Login", "Change Directory".
#include "app/MDIFrmUtama.h"
#include "app/frmSplash.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class SessionTest : public ZorvaTest {
    Q_OBJECT

    void tearDown() override { delete MDIFrmUtama::instance(); }

    void expectLogin(const QString& id, const QString& password) {
        sui().onModal("frmLogin", [=](QDialog& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), id);
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), password);
            d.findChild<QPushButton*>("CmdTeruskan")->click();
        });
    }

    // Runs the program from its first window as a user would see it start.
    MDIFrmUtama* startProgram() {
        const QString folder = app().folder();
        resetAppState();
        appState().appFolder = folder;
        auto* splash = new frmSplash;
        splash->show();
        QDeadlineTimer deadline(10000);
        while (!MDIFrmUtama::instance() && !deadline.hasExpired()) QTest::qWait(20);
        return MDIFrmUtama::instance();
    }

    // The user form belongs to the program's user administration; its entry is checked here
    // with a stand-in opener so that the group rule can be seen.
    void userFormAvailable(MDIFrmUtama* main) {
        if (!main->hasOpener("mnuMaklumatPengguna"))
            main->setOpener("mnuMaklumatPengguna", [](MDIFrmUtama&) {});
        main->applyUserRights();
    }

    bool userEntryShown(MDIFrmUtama* main) {
        const bool menu = main->mnuMaklumatPengguna->isEnabled();
        const bool button = main->toolButton(MDIFrmUtama::kUserButton)->isVisible();
        if (menu != button) qWarning("menu entry and button disagree");
        return menu && button;
    }

private slots:
    void fromTheSplashToTheMainWindow() {
        ZORVA_FILE_ONLY("the database folder asked at the first start (on a server: app_fileonly_pg)");
        app().addUser("HQ1", "hq", "Hana HQ", "HQ");
        app().addUser("AREA", "ka", "Kamal Area", "Kawasan", "Northern");
        QDir(app().folder()).mkpath("shared");
        QVERIFY(createInitialDatabase(app().path("shared/Zorvadb.mdb")));
        // First start: no location yet, the database folder form is offered and cancelled.
        sui().onModal("frmChangeFolder", [](QDialog& d) {
            d.findChild<QPushButton*>("cmdTutup")->click();
        });
        expectLogin("hq1", "HQ");
        MDIFrmUtama* main = startProgram();
        QVERIFY(main);
        QCOMPARE(sui().modalForms, (QStringList{"frmChangeFolder", "frmLogin"}));
        QCOMPARE(main->windowTitle(), QString("Zorva - [User : Hana HQ]"));
        QCOMPARE(main->statusText(), QString());
        QCOMPARE(readIniFile(app().iniPath(), "Version", "Version"), versionText());
        QVERIFY(!main->mnuLamanWeb->isEnabled());
        userFormAvailable(main);
        QVERIFY(!userEntryShown(main));
        QCOMPARE(main->buttonImage(13), 10);

        // "Change Login" as a user limited to one area, then as the system administrator.
        expectLogin("AREA", "ka");
        main->mnuTukarLogin->trigger();
        QCOMPARE(appState().gUserRegion, QString("Northern"));
        QVERIFY(!userEntryShown(main));
        expectLogin("ADMIN", "zorva");
        main->mnuTukarLogin->trigger();
        QCOMPARE(appState().gUserRegion, QString());
        QVERIFY(userEntryShown(main));
        QCOMPARE(main->buttonImage(13), 9);
        QCOMPARE(main->windowTitle(), QString("Zorva - [User : Administrator]"));

        // "Change Directory" to a database in which HQ1 does not exist forces a new login.
        expectLogin("HQ1", "hq");
        main->mnuTukarLogin->trigger();
        sui().answerFile(app().path("shared/Zorvadb.mdb"));
        sui().onModal("frmCariDB", [](QDialog& d) { d.findChild<QPushButton*>("cmdOK")->click(); });
        expectLogin("ADMIN", "zorva");
        main->toolButton(QStringLiteral("mChangeDirectory"))->trigger();
        QCOMPARE(appState().gDbPath, app().path("shared/Zorvadb.mdb"));
        QCOMPARE(appState().gUserID, QString("ADMIN"));
        QCOMPARE(main->statusText(), "Database dir = " + app().path("shared") + "/");
        QVERIFY(userEntryShown(main));
        delete main;

        // Next start: the database is elsewhere, the intranet entry has an address.
        QVERIFY(WriteIni("Web", "IntraURL", "http://intranet.example/zorva"));
        expectLogin("ADMIN", "zorva");
        main = startProgram();
        QVERIFY(main);
        QCOMPARE(main->statusText(), "Database dir = " + app().path("shared") + "/");
        QVERIFY(main->mnuLamanWeb->isEnabled());
        main->mnuLamanWeb->trigger();
        QCOMPARE(sui().openedUrls.last(), QString("http://intranet.example/zorva"));
    }
};

QTEST_MAIN(SessionTest)
#include "tst_session.moc"

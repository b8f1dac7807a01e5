// Starting on a server named in Zorva.ini: no database folder form and no search for a file,
// the status bar names the server, the login works; an unreachable server is said at start
// and at the login; an unknown driver ends the program with the reason.
#include "app/MDIFrmUtama.h"
#include "app/StartUp.h"
#include "platform/AppState.h"
#include "platform/DatabaseServer.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestServerStart : public ZorvaTest {
    Q_OBJECT

    void tearDown() override { delete MDIFrmUtama::instance(); }

    // What start-up leaves to find: the settings file of the application folder.
    void freshProcess() {
        const QString folder = appState().appFolder;
        resetAppState();
        serverInUse().reset();
        appState().appFolder = folder;
    }
    void serverOnly() {
        if (!onServer()) QSKIP("starting on a server (runs as app_serverstart_pg)");
    }
    void login(bool succeeds) {
        sui().onModal("frmLogin", [succeeds](QDialog& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), "ADMIN");
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), "zorva");
            d.findChild<QPushButton*>("CmdTeruskan")->click();
            if (!succeeds) {
                QVERIFY(d.isVisible());
                d.findChild<QPushButton*>("cmdExit")->click();
            }
        });
    }

private slots:
    void startsOnTheServer() {
        serverOnly();
        const DatabaseServer server = *serverInUse();
        freshProcess();
        login(true);
        StartUp(); // no frmChangeFolder, no frmCariDB: any would fail the test unanswered
        QCOMPARE(serverInUse(), std::optional<DatabaseServer>(server));
        MDIFrmUtama* main = MDIFrmUtama::instance();
        QVERIFY(main);
        QCOMPARE(main->statusText(), "Database = " + server.description());
        QCOMPARE(appState().gUserID, QString("ADMIN"));
    }

    void unreachableServerIsSaid() {
        serverOnly();
        QVERIFY(writeIniFile(app().iniPath(), "Database", "Host", app().path("no-server")));
        freshProcess();
        login(false);
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY2(m.text.contains("PostgreSQL database zorva_tests on " + app().path("no-server")), qPrintable(m.text));
        QCOMPARE(sui().take().title, QString("Error !!!")); // the login's own attempt
        QVERIFY(appState().gUserID.isEmpty());
    }

    void unknownDriverEndsTheProgram() {
        QVERIFY(writeIniFile(app().iniPath(), "Database", "Driver", "Oracle"));
        freshProcess();
        StartUp();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("Error"));
        QVERIFY2(m.text.contains("the database driver 'Oracle' is not known"), qPrintable(m.text));
        QCOMPARE(sui().endRequests, 1);
        QVERIFY(!MDIFrmUtama::instance());
    }
};

QTEST_MAIN(TestServerStart)
#include "tst_serverstart.moc"

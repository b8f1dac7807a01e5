// The login form: lookup, session values, Exit/Cancel, recovery form, keys.
#include "app/MDIFrmUtama.h"
#include "platform/AppState.h"
#include "support/Fixture.h"
#include "users/frmLogin.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class LoginTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<MDIFrmUtama> main_;
    void setUp() override { main_ = std::make_unique<MDIFrmUtama>(); }
    void tearDown() override { main_.reset(); }

    static void type(QDialog& d, const QString& id, const QString& password) {
        QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), id);
        QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), password);
    }
    static void click(QDialog& d, const char* name) { d.findChild<QPushButton*>(name)->click(); }

    // Shows the login as the main window does and returns whether it closed.
    bool showLogin(std::function<void(QDialog&)> script) {
        sui().onModal("frmLogin", std::move(script));
        return main_->requireLogin();
    }

private slots:
    void apostrophesAndLetterCase() {
        app().addUser("O'NEIL", "it's Me", "Pat O'Neil", "HQ");
        bool closed = false;
        QVERIFY(showLogin([&](QDialog& d) {
            type(d, "o'neil", "IT'S me");
            click(d, "CmdTeruskan");
            closed = !d.isVisible();
        }));
        QVERIFY(closed);
        const AppState& s = appState();
        QCOMPARE(s.gUserID, QString("O'NEIL"));
        QCOMPARE(s.gUserName, QString("Pat O'Neil"));
        QCOMPARE(s.gUserGroup, QString("HQ"));
        QCOMPARE(s.gUserRegion, QString());
        QCOMPARE(main_->windowTitle(), QString("Zorva - [User : Pat O'Neil]"));
    }

    void wrongCredentialsOpenTheRecoveryFormEachTime() {
        int recoveries = 0;
        for (int i = 0; i < 3; ++i)
            sui().onModal("frmLoginSilap", [&](QDialog& d) {
                ++recoveries;
                click(d, "cmdBatal2");
            });
        QVERIFY(showLogin([&](QDialog& d) {
            type(d, "ADMIN", "wrong");
            click(d, "CmdTeruskan");
            click(d, "CmdTeruskan");
            QVERIFY(d.isVisible());
            // An identifier alone is not enough, nor an injection attempt.
            auto* pw = d.findChild<QLineEdit*>("txtPassword");
            pw->clear();
            QTest::keyClicks(pw, "' OR '1'='1");
            click(d, "CmdTeruskan");
            QVERIFY(d.isVisible());
            QCOMPARE(d.findChild<QLineEdit*>("txtUserID")->text(), QString("ADMIN"));
            QVERIFY(appState().gUserID.isEmpty());
            pw->clear();
            QTest::keyClicks(pw, "ZORVA");
            click(d, "CmdTeruskan");
        }));
        QCOMPARE(recoveries, 3);
        QCOMPARE(appState().gUserID, QString("ADMIN"));
    }

    void enterInThePasswordBoxLogsIn() {
        QVERIFY(showLogin([&](QDialog& d) {
            QApplication::setActiveWindow(&d);
            auto* id = d.findChild<QLineEdit*>("txtUserID");
            id->setFocus();
            QTest::keyClicks(id, "admin");
            QTest::keyClick(id, Qt::Key_Return);
            auto* pw = d.findChild<QLineEdit*>("txtPassword");
            QCOMPARE(QApplication::focusWidget(), pw);
            QTest::keyClicks(pw, "zorva");
            QTest::keyClick(pw, Qt::Key_Return);
        }));
        QCOMPARE(appState().gUserGroup, QString("Sistem"));
    }

    void cancelDuringChangeLoginKeepsTheUser() {
        app().addUser("AREA1", "pw", "Area Man", "Kawasan", "North");
        app().loginAs("AREA1");
        appState().gReLogin = true;
        QVERIFY(showLogin([&](QDialog& d) {
            QCOMPARE(d.findChild<QPushButton*>("cmdExit")->text(), QString("Cancel"));
            type(d, "ADMIN", "nope");
            click(d, "cmdExit");
        }));
        QCOMPARE(appState().gUserID, QString("AREA1"));
        QCOMPARE(appState().gUserRegion, QString("North"));
        QVERIFY(!appState().gReLogin);
        QCOMPARE(sui().endRequests, 0);
        // Changing to a user of all areas clears the area.
        appState().gReLogin = true;
        QVERIFY(showLogin([&](QDialog& d) {
            type(d, "ADMIN", "zorva");
            click(d, "CmdTeruskan");
        }));
        QCOMPARE(appState().gUserRegion, QString());
        QCOMPARE(appState().gUserName, QString("Administrator"));
    }

    void exitAtStartEndsTheProgram() {
        QVERIFY(!showLogin([&](QDialog& d) {
            QCOMPARE(d.findChild<QPushButton*>("cmdExit")->text(), QString("Exit"));
            click(d, "cmdExit");
        }));
        QCOMPARE(sui().endRequests, 1);
        // Escape is "Exit" too: nobody gets past the login without logging in.
        QVERIFY(!showLogin([&](QDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }));
        QCOMPARE(sui().endRequests, 2);
    }

    void updateCheckRunsOnlyWhenTicked() {
        int checks = 0;
        for (bool ticked : {true, false}) {
            QVERIFY(showLogin([&](QDialog& d) {
                auto& login = static_cast<frmLogin&>(d);
                QVERIFY(login.chkLiveUpdate->isChecked());
                QCOMPARE(login.chkLiveUpdate->text(), QString("Check for Version Updates."));
                login.updateCheck = [&](QWidget*) { ++checks; };
                login.chkLiveUpdate->setChecked(ticked);
                type(d, "ADMIN", "zorva");
                click(d, "CmdTeruskan");
            }));
        }
        QCOMPARE(checks, 1);
    }

    void loadDisablesLiveUpdate() {
        main_->enableLiveUpdate();
        QVERIFY(showLogin([&](QDialog& d) {
            QVERIFY(!main_->mnuLiveUpdate->isEnabled());
            QCOMPARE(main_->buttonImage(MDIFrmUtama::kLiveUpdateButton), 13);
            type(d, "ADMIN", "zorva");
            click(d, "CmdTeruskan");
        }));
    }

    void unreadableDatabaseKeepsTheLoginOpen() {
        makeDatabaseUnreachable(app().path("missing"));
        QVERIFY(!showLogin([&](QDialog& d) {
            type(d, "ADMIN", "zorva");
            click(d, "CmdTeruskan");
            QVERIFY(d.isVisible());
            const RecordedMessage m = sui().take();
            QCOMPARE(m.title, QString("Error !!!"));
            QVERIFY(!m.text.isEmpty());
            // The database comes back; the same form logs in.
            makeDatabaseReachable();
            click(d, "CmdTeruskan");
        }) == false);
        QCOMPARE(appState().gUserID, QString("ADMIN"));
    }
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"

// The main window's user entries: "Zorva User ID" (menu and button 13) for the group "Sistem",
// "Change Password" for everybody, and what the user form changes in the main window when the
// logged-in user edits his own row.
#include "app/MDIFrmUtama.h"
#include "platform/AppState.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "users/frmTukarPassword.h"
#include "users/frmUser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class UserMenuTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<MDIFrmUtama> main_;
    MDIFrmUtama& main() { return *main_; }

    void setUp() override {
        QVERIFY(WriteIni("Network", "SMTP", "127.0.0.1"));
        app().addUser("HANA", "hq", "Hana HQ", "HQ");
        main_ = std::make_unique<MDIFrmUtama>();
        main().show();
    }
    void tearDown() override { main_.reset(); }

    void logIn(const QString& id, const QString& password) {
        sui().onModal("frmLogin", [=](QDialog& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("txtUserID"), id);
            QTest::keyClicks(d.findChild<QLineEdit*>("txtPassword"), password);
            d.findChild<QPushButton*>("CmdTeruskan")->click();
        });
        main().mnuTukarLogin->trigger();
    }

    bool userEntryShown() {
        const bool menu = main().mnuMaklumatPengguna->isEnabled();
        const bool button = main().toolButton(MDIFrmUtama::kUserButton)->isVisible();
        const int image = main().buttonImage(MDIFrmUtama::kUserButton);
        if (menu != button || image != (menu ? 9 : 10)) qWarning("entry, button and image disagree");
        return menu && button && image == 9;
    }

    frmUser* openUserForm() {
        main().toolButton(QStringLiteral("mUserID"))->trigger();
        return qobject_cast<frmUser*>(main().openChildOf(frmUser::staticMetaObject));
    }

    // Updates the logged-in administrator's own row on the user form.
    void editOwnRow(frmUser& f, const QString& name, QRadioButton* option) {
        f.lstUserName->setCurrentItem(f.lstUserName->findItems("Administrator", Qt::MatchExactly).first());
        f.cmdKemaskini->click();
        f.txtNama->clear();
        QTest::keyClicks(f.txtNama, name);
        option->click();
        sui().answerNext(Button::Ok);
        f.cmdSimpan->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
    }

private slots:
    void entriesFollowTheGroupAtEachLogin() {
        logIn("HANA", "hq");
        QVERIFY(!userEntryShown());
        // Change Password is there for every group.
        QVERIFY(main().mnuTukarPassword->isEnabled());
        sui().onModal("frmTukarPassword", [](QDialog& d) {
            QCOMPARE(d.windowTitle(), QString("Change password for Hana HQ"));
            d.findChild<QPushButton*>("cmdBatal")->click();
        });
        main().mnuTukarPassword->trigger();
        QCOMPARE(sui().modalForms.last(), QString("frmTukarPassword"));

        logIn("ADMIN", "zorva");
        QVERIFY(userEntryShown());
        frmUser* f = openUserForm();
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QVERIFY(f->lstUserName->count() == 2);
        // A second click brings the same form forward.
        QCOMPARE(openUserForm(), f);
        QCOMPARE(main().mdiArea->subWindowList().size(), 1);
    }

    void renameChangesTheCaptionNotTheSession() {
        logIn("ADMIN", "zorva");
        frmUser* f = openUserForm();
        QVERIFY(f);
        editOwnRow(*f, "Chief Admin", f->optKumpulan1);
        QCOMPARE(main().windowTitle(), QString("Zorva - [User : Chief Admin]"));
        QCOMPARE(appState().gUserName, QString("Administrator"));
        QVERIFY(userEntryShown());
        QVERIFY(!f->isUnloaded());
    }

    void becomingAreaAdministratorKeepsTheEntryUntilNextLogin() {
        app().exec("INSERT INTO Region (Region, AssignIP, Segment_ip, Abbr_segment) "
                   "VALUES ('Northern', 20, 0, 'N')");
        app().addUser("SYS2", "s", "Second Admin", "Sistem");
        logIn("ADMIN", "zorva");
        frmUser* f = openUserForm();
        QVERIFY(f);
        f->lstUserName->setCurrentItem(f->lstUserName->findItems("Administrator", Qt::MatchExactly).first());
        f->cmdKemaskini->click();
        f->optKumpulan3->click();
        f->cboRegion->setCurrentIndex(f->cboRegion->findText("Northern"));
        sui().answerNext(Button::Ok);
        f->cmdSimpan->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
        QVERIFY(userEntryShown());
        QVERIFY(!f->isUnloaded());
        logIn("ADMIN", "zorva");
        QVERIFY(!userEntryShown());
        QCOMPARE(appState().gUserRegion, QString("Northern"));
    }

    void becomingHQRemovesTheEntryAtOnce() {
        app().addUser("SYS2", "s", "Second Admin", "Sistem");
        logIn("ADMIN", "zorva");
        frmUser* f = openUserForm();
        QVERIFY(f);
        QPointer<frmUser> guard(f);
        editOwnRow(*f, "Administrator", f->optKumpulan2);
        QVERIFY(!main().mnuMaklumatPengguna->isEnabled());
        QVERIFY(!main().toolButton(MDIFrmUtama::kUserButton)->isVisible());
        QCOMPARE(main().buttonImage(MDIFrmUtama::kUserButton), 10);
        QVERIFY(guard.isNull() || guard->isUnloaded());
        QTRY_VERIFY(main().mdiArea->subWindowList().isEmpty());
        QCOMPARE(app().scalar("SELECT [Group] FROM UserID WHERE UserID = 'ADMIN'").toString(),
                 QString("HQ"));
    }
};

QTEST_MAIN(UserMenuTest)
#include "tst_usermenu.moc"

// User administration, driven as the system administrator would: the list, the record cycle,
// the group options with the area list, the checks of Save and Delete, the welcome message
// through a real SMTP exchange on loopback.
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Ini.h"
#include "platform/RecordCycle.h"
#include "support/Fixture.h"
#include "support/LoopbackSmtpServer.h"
#include "users/frmUser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class UserFormTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmUser> form_;
    frmUser& f() { return *form_; }

    void setUp() override {
        app().exec("INSERT INTO Region (Region, AssignIP, Segment_ip, Abbr_segment) "
                   "VALUES ('Northern', 20, 0, 'N')");
        app().loginAs("ADMIN");
        // A server that takes no connection: a mail that should not go would fail loudly.
        QVERIFY(WriteIni("Network", "SMTP", "127.0.0.1"));
        QVERIFY(WriteIni("Network", "Port", "1"));
    }
    void tearDown() override { form_.reset(); }

    frmUser& open() {
        form_ = std::make_unique<frmUser>();
        f().smtp.timeoutMs = 2000;
        f().smtp.heloName = QStringLiteral("zorvahost");
        f().runLoad();
        f().show();
        return f();
    }

    QStringList names() {
        QStringList out;
        for (int i = 0; i < f().lstUserName->count(); ++i) out << f().lstUserName->item(i)->text();
        return out;
    }

    void select(const QString& name) {
        const auto items = f().lstUserName->findItems(name, Qt::MatchExactly);
        QVERIFY(!items.isEmpty());
        f().lstUserName->setCurrentItem(items.first());
    }

    void type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

    void fill(const QString& name, const QString& id, const QString& password,
              const QString& email = {}) {
        type(f().txtNama, name);
        type(f().txtUserID, id);
        type(f().txtPassword, password);
        type(f().txtEmail, email);
    }

    // Save answered with OK; the question is taken.
    void saveOk() {
        sui().answerNext(Button::Ok);
        f().cmdSimpan->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
    }

    void chooseArea(const QString& area) {
        f().optKumpulan3->click();
        QVERIFY(f().cboRegion->isVisible());
        f().cboRegion->setCurrentIndex(f().cboRegion->findText(area));
    }

    QVariant column(const QString& id, const QString& col) {
        return app().scalar("SELECT [" + col + "] FROM UserID WHERE UserID = ?", {id});
    }

    void expectWarning(const QString& text, const QString& title) {
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Warning);
        QCOMPARE(m.title, title);
        QCOMPARE(m.text, text);
    }

private slots:
    void loadsInBrowseState() {
        app().addUser("ZED", "z", "Zed", "HQ");
        app().addUser("ALI", "a", "Ali bin Abu", "HQ");
        open();
        QCOMPARE(f().windowTitle(), QString("Zorva User ..."));
        QCOMPARE(names(), (QStringList{"Administrator", "Ali bin Abu", "Zed"}));
        QVERIFY(f().frameOperasi->isVisible());
        QVERIFY(!f().frameSimpan->isVisible());
        QVERIFY(!f().cmdKemaskini->isEnabled());
        QVERIFY(!f().cmdHapus->isEnabled());
        QVERIFY(!f().cboRegion->isVisible());
        QVERIFY(!isEditable(f().txtNama));
        QVERIFY(!f().optKumpulan1->isEnabled());
        QCOMPARE(f().optKumpulan1->text(), QString("System Administrator"));
        QCOMPARE(f().optKumpulan2->text(), QString("Admininstrator For HQ"));
        QCOMPARE(f().optKumpulan3->text(), QString("Administrator For Area"));
    }

    void noServerAsksForOneAtLoad() {
        QVERIFY(WriteIni("Network", "SMTP", ""));
        sui().onModal("frmSMTPSetup", [](QDialog& d) {
            QTest::keyClicks(d.findChild<QLineEdit*>("txtSMTPServer"), "mail.example.org");
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        open();
        QCOMPARE(sui().modalForms, QStringList{"frmSMTPSetup"});
        QCOMPARE(f().smtpHost(), QString("mail.example.org"));
    }

    void selectingShowsTheRowAndItsArea() {
        app().addUser("KAMAL", "k", "Kamal", "Kawasan", "Northern", "kamal@example.org");
        app().addUser("HANA", "h", "Hana", "HQ");
        open();
        select("Kamal");
        QCOMPARE(f().txtUserID->text(), QString("KAMAL"));
        QCOMPARE(f().txtEmail->text(), QString("kamal@example.org"));
        QVERIFY(f().optKumpulan3->isChecked());
        QCOMPARE(f().optKumpulan3->text(), QString("Administrator For Area  Northern"));
        QVERIFY(f().cmdKemaskini->isEnabled());
        QVERIFY(f().cmdHapus->isEnabled());
        select("Hana");
        QVERIFY(f().optKumpulan2->isChecked());
        QCOMPARE(f().optKumpulan3->text(), QString("Administrator For Area"));
        QVERIFY(f().txtEmail->text().isEmpty());
    }

    void areaAdministratorNeedsAnAreaAndHQGetsNone() {
        open();
        f().cmdTambah->click();
        QVERIFY(f().frameSimpan->isVisible());
        QVERIFY(!f().lstUserName->isEnabled());
        fill("Kamal", "KAMAL", "pw");
        f().optKumpulan3->click();
        QVERIFY(f().cboRegion->isVisible());
        QCOMPARE(f().cboRegion->currentIndex(), -1);
        f().cmdSimpan->click();
        expectWarning("Please select user responsibility !", "Error !!!");
        QCOMPARE(app().count("UserID", "UserID = 'KAMAL'"), 0);
        // Chosen as HQ instead: no area written, the area list goes away.
        f().optKumpulan2->click();
        QVERIFY(!f().cboRegion->isVisible());
        saveOk();
        QCOMPARE(column("KAMAL", "Group").toString(), QString("HQ"));
        QCOMPARE(column("KAMAL", "Tadbir").toString(), QString());
        QVERIFY(f().frameOperasi->isVisible());
        QVERIFY(!isEditable(f().txtNama));
        QVERIFY(f().txtNama->text().isEmpty());
    }

    void leavingKawasanClearsTheArea() {
        app().addUser("KAMAL", "k", "Kamal", "Kawasan", "Northern");
        open();
        select("Kamal");
        f().cmdKemaskini->click();
        QCOMPARE(f().optKumpulan3->toolTip(), QString("Double-Click to update ..."));
        // Saved untouched, the area stays; its list shows it when the option is clicked.
        saveOk();
        QCOMPARE(column("KAMAL", "Tadbir").toString(), QString("Northern"));
        select("Kamal");
        f().cmdKemaskini->click();
        f().optKumpulan3->click();
        QCOMPARE(f().cboRegion->currentText(), QString("Northern"));
        f().optKumpulan1->click();
        saveOk();
        QCOMPARE(column("KAMAL", "Group").toString(), QString("Sistem"));
        QCOMPARE(column("KAMAL", "Tadbir").toString(), QString());
    }

    void refusedSaves_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no name") << "" << "NEW" << "Please enter User Name !" << "Error !"
                                 << "txtNama";
        QTest::newRow("duplicate") << "Someone" << "admin" << "User ID already exist !"
                                   << "Error" << "txtUserID";
    }
    void refusedSaves() {
        QFETCH(QString, name);
        QFETCH(QString, id);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, focus);
        open();
        QVERIFY(showActive(&f()));
        f().cmdTambah->click();
        fill(name, id, "pw");
        f().optKumpulan2->click();
        f().cmdSimpan->click();
        expectWarning(text, title);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(app().count("UserID"), 1);
        QVERIFY(f().frameSimpan->isVisible());
    }

    void updateCannotTakeAnotherUsersIdentifier() {
        app().addUser("HANA", "h", "Hana", "HQ");
        open();
        select("Hana");
        f().cmdKemaskini->click();
        type(f().txtUserID, "Admin");
        f().cmdSimpan->click();
        expectWarning("User ID already exist !", "Error");
        // Her own identifier in other letters is hers.
        type(f().txtUserID, "hana");
        saveOk();
        QCOMPARE(app().count("UserID", "UserID = 'hana'"), 1);
    }

    void apostrophesInNames() {
        open();
        f().cmdTambah->click();
        fill("Sean O'Brien", "O'B", "it's");
        f().optKumpulan2->click();
        saveOk();
        QVERIFY(names().contains("Sean O'Brien"));
        select("Sean O'Brien");
        QCOMPARE(f().txtPassword->text(), QString("it's"));
        f().cmdKemaskini->click();
        type(f().txtNama, "Sean O'Brien-D'Arcy");
        saveOk();
        QCOMPARE(app().scalar("SELECT [Name] FROM UserID WHERE UserID = ?", {"O'B"}).toString(),
                 QString("Sean O'Brien-D'Arcy"));
    }

    void identifierOfSevenIsRefusedOnLeaving() {
        open();
        QVERIFY(showActive(&f()));
        f().cmdTambah->click();
        f().txtUserID->setFocus();
        QTest::keyClicks(f().txtUserID, "ABCDEFG");
        QTest::keyClick(f().txtUserID, Qt::Key_Tab);
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::None);
        QCOMPARE(m.title, QString());
        QCOMPARE(m.text, QString("User ID : 6 character only ... "));
        QVERIFY(f().txtUserID->hasFocus());
        // Six characters pass.
        f().txtUserID->backspace();
        QTest::keyClick(f().txtUserID, Qt::Key_Down);
        QVERIFY(f().txtPassword->hasFocus());
        QCOMPARE(sui().pendingMessages(), 0);
    }

    void cancelShowsTheSelectedUserAgain() {
        app().addUser("HANA", "h", "Hana", "HQ");
        open();
        select("Hana");
        f().cmdKemaskini->click();
        type(f().txtNama, "Changed");
        f().cmdBatal->click();
        QCOMPARE(f().txtNama->text(), QString("Hana"));
        QVERIFY(f().cmdKemaskini->isEnabled());
        QVERIFY(f().lstUserName->isEnabled());
        QVERIFY(!isEditable(f().txtNama));
        QCOMPARE(column("HANA", "Name").toString(), QString("Hana"));
    }

    void deleteRules() {
        app().addUser("SYS2", "s", "Second Admin", "Sistem");
        app().addUser("HANA", "h", "Hana", "HQ");
        open();
        // His own record.
        select("Administrator");
        f().cmdHapus->click();
        expectWarning("You cannot delete your own record !", "Error !!!");
        // The second-to-last system administrator can go (Cancel first: nothing happens).
        select("Second Admin");
        sui().answerNext(Button::Cancel);
        f().cmdHapus->click();
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete record"));
        QCOMPARE(app().count("UserID", "UserID = 'SYS2'"), 1);
        sui().answerNext(Button::Ok);
        f().cmdHapus->click();
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete record"));
        QCOMPARE(app().count("UserID", "UserID = 'SYS2'"), 0);
        QCOMPARE(names(), (QStringList{"Administrator", "Hana"}));
        QVERIFY(!f().cmdHapus->isEnabled());
        // Seen by another user, the last one cannot.
        app().loginAs("HANA");
        select("Administrator");
        f().cmdHapus->click();
        expectWarning("This user is the only System Administrator. You cannot delete this record !",
                      "Error !!!");
        QCOMPARE(app().count("UserID", "[Group] = 'Sistem'"), 1);
    }

    void renamedUserCannotDeleteHimself() {
        app().addUser("SYS2", "s", "Second Admin", "Sistem");
        app().exec("UPDATE UserID SET [Name] = 'Renamed Admin' WHERE UserID = 'ADMIN'");
        open();
        select("Renamed Admin");
        f().cmdHapus->click();
        expectWarning("You cannot delete your own record !", "Error !!!");
    }
};

QTEST_MAIN(UserFormTest)
#include "tst_userform.moc"

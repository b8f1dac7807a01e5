// The password change, driven as the logged-in user would.
#include "platform/AppState.h"
#include "support/Fixture.h"
#include "users/frmTukarPassword.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class PasswordTest : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        app().addUser("OBRIEN", "Pa55'Word", "Sean O'Brien", "HQ");
        app().loginAs("OBRIEN");
    }

    QString stored() {
        return app().scalar("SELECT Password FROM UserID WHERE UserID = 'OBRIEN'").toString();
    }

    // Types the three boxes and presses OK; returns whether the form closed.
    bool change(frmTukarPassword& f, const QString& current, const QString& fresh,
                const QString& again) {
        f.txtPassword->clear();
        f.txtNewPassword->clear();
        f.txtReconfirm->clear();
        QTest::keyClicks(f.txtPassword, current);
        QTest::keyClicks(f.txtNewPassword, fresh);
        QTest::keyClicks(f.txtReconfirm, again);
        f.cmdSimpan->click();
        return f.isUnloaded();
    }

    void show(frmTukarPassword& f) {
        f.runLoad();
        QVERIFY(showActive(&f));
    }

private slots:
    void showsTheSessionsUser() {
        frmTukarPassword f;
        show(f);
        QCOMPARE(f.windowTitle(), QString("Change password for Sean O'Brien"));
        QCOMPARE(f.lblUserID->text(), QString("OBRIEN"));
        for (QLineEdit* box : {f.txtPassword, f.txtNewPassword, f.txtReconfirm})
            QCOMPARE(box->echoMode(), QLineEdit::Password);
        QCOMPARE(f.cmdSimpan->text(), QString("OK"));
        QCOMPARE(f.cmdBatal->text(), QString("Cancel"));
    }

    void refusals_data() {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("fresh");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("focus");
        // The login ignores letter case; this comparison does not.
        QTest::newRow("wrong case") << "pa55'word" << "new" << "new" << "Invalid password !"
                                    << "txtPassword";
        QTest::newRow("wrong") << "nothing" << "new" << "new" << "Invalid password !"
                               << "txtPassword";
        QTest::newRow("mismatch") << "Pa55'Word" << "new" << "New"
                                  << "Invalid password confirmation. Passwords do not match."
                                  << "txtNewPassword";
    }
    void refusals() {
        QFETCH(QString, current);
        QFETCH(QString, fresh);
        QFETCH(QString, again);
        QFETCH(QString, text);
        QFETCH(QString, focus);
        frmTukarPassword f;
        show(f);
        QVERIFY(!change(f, current, fresh, again));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Warning);
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.text, text);
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QCOMPARE(stored(), QString("Pa55'Word"));
    }

    void savesTheNewPassword_data() {
        QTest::addColumn<QString>("fresh");
        QTest::newRow("typed") << "N3w'one";
        QTest::newRow("empty") << "";
    }
    void savesTheNewPassword() {
        QFETCH(QString, fresh);
        app().addUser("OTHER", "Pa55'Word", "Other", "HQ");
        frmTukarPassword f;
        show(f);
        QVERIFY(change(f, "Pa55'Word", fresh, fresh));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Information);
        QCOMPARE(m.title, QString("New Password"));
        QCOMPARE(m.text, QString("Done. Password saved ..."));
        QCOMPARE(stored(), fresh);
        QCOMPARE(app().scalar("SELECT Password FROM UserID WHERE UserID = 'OTHER'").toString(),
                 QString("Pa55'Word"));
    }

    void cancelWritesNothing() {
        frmTukarPassword f;
        show(f);
        QTest::keyClicks(f.txtPassword, "Pa55'Word");
        QTest::keyClicks(f.txtNewPassword, "x");
        QTest::keyClicks(f.txtReconfirm, "x");
        f.cmdBatal->click();
        QVERIFY(f.isUnloaded());
        QCOMPARE(stored(), QString("Pa55'Word"));
    }

    void enterMovesOnAndNeverSaves() {
        frmTukarPassword f;
        show(f);
        f.txtPassword->setFocus();
        QTest::keyClicks(f.txtPassword, "Pa55'Word");
        QTest::keyClick(f.txtPassword, Qt::Key_Return);
        QVERIFY(f.txtNewPassword->hasFocus());
        QTest::keyClick(f.txtNewPassword, Qt::Key_Down);
        QVERIFY(f.txtReconfirm->hasFocus());
        QTest::keyClick(f.txtReconfirm, Qt::Key_Up);
        QVERIFY(f.txtNewPassword->hasFocus());
        QTest::keyClick(f.txtNewPassword, Qt::Key_Return);
        QTest::keyClick(f.txtReconfirm, Qt::Key_Return);
        QVERIFY(!f.isUnloaded());
        QCOMPARE(sui().pendingMessages(), 0);
        QCOMPARE(stored(), QString("Pa55'Word"));
    }

    void renamedUserIsToldToLogInAgain() {
        // He renamed himself in this session: the session's name no longer names his row.
        app().exec("UPDATE UserID SET [Name] = 'Sean Brien' WHERE UserID = 'OBRIEN'");
        frmTukarPassword f;
        show(f);
        QVERIFY(!change(f, "Pa55'Word", "new", "new"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.text, frmTukarPassword::noRecordText());
        QVERIFY(m.text.contains("Change Login"));
        QCOMPARE(stored(), QString("Pa55'Word"));
        // What he typed is still there for the next try.
        QCOMPARE(f.txtNewPassword->text(), QString("new"));
    }
};

QTEST_MAIN(PasswordTest)
#include "tst_password.moc"

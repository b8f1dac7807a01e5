// The session's group rules and what a login tells the listeners.
#include "platform/AppState.h"
#include "platform/Session.h"

#include <QSignalSpy>
#include <QtTest>

using namespace zorva;

class TestSession : public QObject {
    Q_OBJECT

private slots:
    void init() { resetAppState(); }

    void groupRules_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<bool>("sistem");
        QTest::addColumn<bool>("areaUser");
        QTest::addColumn<bool>("keepsUserAdministration");
        QTest::newRow("Sistem") << "Sistem" << true << false << true;
        QTest::newRow("HQ") << "HQ" << false << false << false;
        QTest::newRow("Kawasan") << "Kawasan" << false << true << true;
        // The database compares without regard to case, the rules do not: only the stored
        // spellings are groups.
        QTest::newRow("lower case") << "sistem" << false << false << true;
        QTest::newRow("none") << "" << false << false << true;
    }
    void groupRules() {
        QFETCH(QString, group);
        QFETCH(bool, sistem);
        QFETCH(bool, areaUser);
        QFETCH(bool, keepsUserAdministration);
        appState().gUserGroup = group;
        QCOMPARE(session().isSistem(), sistem);
        QCOMPARE(session().isAreaUser(), areaUser);
        QCOMPARE(Session::keepsUserAdministration(group), keepsUserAdministration);
    }

    void loginFillsTheValuesAfterTheCaption() {
        QStringList seen;
        auto c1 = connect(&session(), &Session::userNameChanged, this, [&](const QString& name) {
            seen << "caption " + name + " over " + appState().gUserName;
        });
        auto c2 = connect(&session(), &Session::loggedIn, this,
                          [&] { seen << "logged in " + appState().gUserID; });
        appState().gUserName = QStringLiteral("Before");
        session().logIn("Kamal Area", "AREA", "Kawasan", "Northern");
        disconnect(c1);
        disconnect(c2);
        QCOMPARE(seen, (QStringList{"caption Kamal Area over Before", "logged in AREA"}));
        QVERIFY(session().isLoggedIn());
        QVERIFY(session().isAreaUser());
        QCOMPARE(session().userArea(), QStringLiteral("Northern"));
        QCOMPARE(appState().gUserGroup, QStringLiteral("Kawasan"));
    }

    // A rename and a change of one's own group are news for the main window only: the session
    // keeps the values of the login.
    void renameAndGroupChangeKeepTheLoginValues() {
        session().logIn("Ali", "ALI", "Sistem", QString());
        QSignalSpy names(&session(), &Session::userNameChanged);
        QSignalSpy groups(&session(), &Session::groupChanged);
        session().renameUser("Ali Baba");
        session().changeOwnGroup("HQ");
        QCOMPARE(names.value(0).value(0).toString(), QStringLiteral("Ali Baba"));
        QCOMPARE(groups.value(0).value(0).toString(), QStringLiteral("HQ"));
        QCOMPARE(appState().gUserName, QStringLiteral("Ali"));
        QVERIFY(session().isSistem());
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"

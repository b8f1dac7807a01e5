// Moving the database out of the application folder.
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "support/Fixture.h"
#include "support/TestServer.h"
#include "utilities/frmChangeFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class ChangeFolderTest : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmChangeFolder> form_;
    frmChangeFolder& form() { return *form_; }
    void setUp() override {
        form_ = std::make_unique<frmChangeFolder>();
        form_->runLoad();
    }
    void tearDown() override { form_.reset(); }

    QString makeFolder(const QString& name) {
        QDir(app().folder()).mkpath(name);
        return app().path(name);
    }
    void browse(const QString& folder) {
        sui().answerFolder(folder);
        form().cmdDirektori->click();
    }
    QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { ZORVA_FILE_ONLY("moving the file to a shared folder (on a server: app_fileonly_pg)"); }

    void loadAndBrowse() {
        QCOMPARE(form().windowTitle(), QString("Move database ..."));
        QVERIFY(!form().cmdMoveDatabase->isEnabled());
        QCOMPARE(form().cmdTutup->text(), QString("Cancel"));
        QVERIFY(form().lblExplanation->text().startsWith(
            "By default the Zorva software and Zorva database installs into the \"Program Files\\Zorva\" folder."));
        // Cancelling the browser changes nothing.
        browse(QString());
        QVERIFY(form().txtPath->text().isEmpty());
        QVERIFY(!form().cmdMoveDatabase->isEnabled());
        browse(makeFolder("shared"));
        QCOMPARE(form().txtPath->text(), app().path("shared") + "/");
        QVERIFY(form().cmdMoveDatabase->isEnabled());
        // A root folder is not given a second separator in the box.
        browse("/");
        QCOMPARE(form().txtPath->text(), QString("/"));
        form().cmdMapNetwork->click();
        QCOMPARE(sui().openedUrls, QStringList{frmChangeFolder::networkView()});
    }

    void moveCopiesAndTheProgramGoesOnWithTheCopy() {
        const QString shared = makeFolder("shared");
        browse(shared);
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.0.0.1', 1)");
        form().cmdMoveDatabase->click();
        QVERIFY(QFile::exists(shared + "/Zorvadb.mdb"));
        QVERIFY(QFile::exists(app().dbPath())); // a copy: the source stays
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), shared);
        QCOMPARE(appState().gDbPath, shared + "/Zorvadb.mdb");
        QCOMPARE(appState().gDbFolder, shared);
        QVERIFY(!form().cmdMoveDatabase->isEnabled());
        QCOMPARE(form().cmdTutup->text(), QString("OK"));
        // The program now works on the copy, which holds what the source held.
        QCOMPARE(app().count("IP_Info"), 1);
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.0.0.2', 2)");
        QString error;
        QSqlDatabase old = openDatabaseFile(app().dbPath(), "old", &error);
        QSqlQuery q(old);
        QVERIFY(q.exec("SELECT count(*) FROM IP_Info") && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        q = QSqlQuery();
        old = QSqlDatabase();
        closeConnection("old");
        form().cmdTutup->click();
        QVERIFY(form().isUnloaded());
    }

    void replaceQuestionAndCancel() {
        const QString shared = makeFolder("shared");
        QVERIFY(createInitialDatabase(shared + "/Zorvadb.mdb"));
        const QByteArray target = bytes(shared + "/Zorvadb.mdb");
        const QByteArray source = bytes(app().dbPath());
        browse(shared);
        sui().answerNext(Button::Cancel);
        form().cmdMoveDatabase->click();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Replace Database"));
        QCOMPARE(m.text, "Zorva database already exist in " + shared +
                             "/ folder. Are you sure to REPLACE Zorva database?");
        QCOMPARE(m.buttons, Buttons(Button::Ok | Button::Cancel));
        QCOMPARE(bytes(shared + "/Zorvadb.mdb"), target);
        QCOMPARE(bytes(app().dbPath()), source);
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), QString());
        QCOMPARE(appState().gDbPath, app().dbPath());
        QVERIFY(form().cmdMoveDatabase->isEnabled());

        // OK replaces it with the application folder's database.
        app().exec("INSERT INTO UserID (UserID, Password, [Name], [Group]) VALUES ('NEW', 'x', 'New', 'HQ')");
        sui().answerNext(Button::Ok);
        form().cmdMoveDatabase->click();
        QCOMPARE(sui().take().title, QString("Replace Database"));
        QCOMPARE(appState().gDbPath, shared + "/Zorvadb.mdb");
        QCOMPARE(app().count("UserID"), 2);
    }

    void failedCopyIsReportedAndNothingWritten() {
        const QString shared = makeFolder("shared");
        browse(shared);
        // The target folder disappears before the move.
        QVERIFY(QDir(shared).removeRecursively());
        form().cmdMoveDatabase->click();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.icon, Icon::Critical);
        QVERIFY2(m.text.endsWith(".\r\n\r\nZorva database was open."), qPrintable(m.text));
        QCOMPARE(readIniFile(app().iniPath(), "Database", "DatabaseLocation"), QString());
        QCOMPARE(appState().gDbPath, app().dbPath());
        QCOMPARE(form().cmdTutup->text(), QString("Cancel"));
    }

    void failedSettingsWriteKeepsTheOldDatabase() {
        const QString shared = makeFolder("shared");
        browse(shared);
        // A settings file that cannot be replaced: a folder stands in its place.
        QVERIFY(QFile::remove(app().iniPath()));
        QVERIFY(QDir(app().folder()).mkdir("Zorva.ini"));
        form().cmdMoveDatabase->click();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY(m.text.startsWith("Zorva.ini could not be written."));
        QCOMPARE(appState().gDbPath, app().dbPath());
    }
};

QTEST_MAIN(ChangeFolderTest)
#include "tst_changefolder.moc"

#pragma once
// What the start-up tests share: the scripted answers to the forms start-up shows, and the
// state a new process starts from.
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

namespace zorva::test {

class StartUpTest : public ZorvaTest {
protected:
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
};

} // namespace zorva::test

// The database file's own features when Zorva uses a server: Change Directory, Compact Database
// and the database part of Backup/Restore each say what applies instead, name the server, and
// change nothing; Zorva.ini alone is still backed up. On the file run a server is named in the
// program's settings without being reached: the refusals never connect.
#include "app/MDIFrmUtama.h"
#include "platform/AppState.h"
#include "platform/DatabaseServer.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "utilities/frmBackupDB.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class FileOnlyTest : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        app().loginAs();
        if (!serverInUse()) serverInUse() = DatabaseServer{"db.example.org", 5432, "zorva", "ali", {}, {}};
    }

    void expectRefusal(const QString& title, const QStringList& words) {
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, title);
        QCOMPARE(int(m.icon), int(Icon::Information));
        QVERIFY2(m.text.contains(serverInUse()->description()), qPrintable(m.text));
        for (const QString& w : words) QVERIFY2(m.text.contains(w), qPrintable(m.text));
    }

private slots:
    void databaseMenus_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("change directory")
            << "mnuChangeDBDir" << "Change Directory"
            << QStringList{"Choosing the database folder applies to a database file", "[Database] keys"};
        QTest::newRow("compact") << "mnuCompactDB" << "Compact Database"
                                 << QStringList{"Compaction applies to a database file", "nothing to compact"};
    }
    void databaseMenus() {
        QFETCH(QString, entry);
        QFETCH(QString, title);
        QFETCH(QStringList, words);
        const QByteArray iniBefore = [&] {
            QFile f(app().iniPath());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        MDIFrmUtama main;
        auto* action = main.findChild<QAction*>(entry);
        QVERIFY(action);
        action->trigger();
        // No question first, no folder dialog, no form: the message alone.
        expectRefusal(title, words);
        QFile f(app().iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), iniBefore);
    }

    void backupAndRestore() {
        const QString folder = app().path("backup");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(WriteIni("Backup", "BackupLocation", folder));
        frmBackupDB f;
        f.runLoad();
        QVERIFY(f.cmdBackup->isEnabled());
        f.cmdBackup->click();
        expectRefusal("Backup/Restore", {"Backing up the database applies to a database file", "pg_dump"});
        QVERIFY(QDir(folder).isEmpty());
        f.cmdRestore->click();
        expectRefusal("Backup/Restore", {"Restoring the database applies to a database file", "pg_restore"});
        // The settings file alone goes on as on the file.
        f.chkBackupDB->setChecked(false);
        f.cmdBackup->click();
        QVERIFY(sui().takeText("Backup Zorva INI file to " + folder + "/ completed successfully."));
        QVERIFY(QFileInfo::exists(folder + "/Zorva.ini"));
        QVERIFY(!QFileInfo::exists(folder + "/Zorvadb.mdb"));
    }
};

QTEST_MAIN(FileOnlyTest)
#include "tst_fileonly.moc"

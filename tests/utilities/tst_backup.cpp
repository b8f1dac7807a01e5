#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"
#include "platform/Ini.h"
#include "platform/UserSettings.h"
#include "platform/Schema.h"
#include "support/BadDatabases.h"
#include "utilities/FileHelpers.h"
#include "support/Fixture.h"
#include "support/TestServer.h"
#include "utilities/BackupFiles.h"
#include "utilities/UserStore.h"
#include "utilities/frmBackupDB.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSqlRecord>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestBackup : public ZorvaTest {
    Q_OBJECT

    QString backupDir() { return app().path(QStringLiteral("backup")); }

    void setUp() override {
        isolateUserStore(app().folder());
        QDir().mkpath(backupDir());
        app().loginAs();
    }

    // Loads the form with BackupLocation already set to the backup folder.
    void load(frmBackupDB& f) {
        QVERIFY(WriteIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation"), backupDir()));
        f.runLoad();
        QCOMPARE(f.txtPath->text(), backupDir() + QLatin1Char('/'));
    }

    void setModified(const QString& file, const QDateTime& when) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
    }

    // Backup and restore wait for the next choice of folder.
    void chooseAgain(frmBackupDB& f) {
        sui().answerFolder(backupDir());
        f.cmdDirektori->click();
        QVERIFY(f.cmdBackup->isEnabled());
    }

    // Waits until another process does (or no longer does) hold the database's in-use mark.
    bool otherCopyUses(bool used) {
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            {
                ExclusiveDatabaseUse probe(app().dbPath());
                if (probe.acquired() != used) return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    // Restores the database alone from the backup folder, confirming it.
    void restoreDatabaseOnly() {
        frmBackupDB f;
        load(f);
        f.chkBackupINI->setChecked(false);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
    }

    int equipmentRows() { return app().count(QStringLiteral("Equipment")); }

private slots:
    void initTestCase() { ZORVA_FILE_ONLY("copies of the file (on a server: app_fileonly_pg)"); }

    // Each kind of file error keeps the number and text the program has always told.
    void fileErrorKinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        using K = backup::FileErrorKind;
        QTest::newRow("none") << int(K::None) << "0: ";
        QTest::newRow("file") << int(K::FileNotFound) << "53: File not found";
        QTest::newRow("disk") << int(K::DiskFull) << "61: Disk full";
        QTest::newRow("permission") << int(K::PermissionDenied) << "70: Permission denied";
        QTest::newRow("access") << int(K::AccessError) << "75: Path/File access error";
        QTest::newRow("path") << int(K::PathNotFound) << "76: Path not found";
    }
    void fileErrorKinds() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        const backup::FileError e{backup::FileErrorKind(kind)};
        QCOMPARE(backup::errorText(e, QStringLiteral(": ")), text);
        QCOMPARE(e.failed(), kind != int(backup::FileErrorKind::None));
        QCOMPARE(
            backup::errorText(backup::accessError(QStringLiteral("locked")), QStringLiteral(": ")),
            QStringLiteral("75: Path/File access error (locked)"));
    }

    void fileRules() {
        QCOMPARE(backup::withSlash(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
        QCOMPARE(backup::withSlash(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
        QCOMPARE(backup::withSlash(QString()), QString());
        QVERIFY(backup::isRootFolder(QStringLiteral("/")));
        QVERIFY(!backup::isRootFolder(QStringLiteral("/media/")));
        QVERIFY(backup::samePath(app().dbPath(), app().folder() + QStringLiteral("/./Zorvadb.mdb")));
        QVERIFY(!backup::samePath(app().dbPath(), backupDir() + QStringLiteral("/Zorvadb.mdb")));
        // A failed copy leaves an older target as it was.
        QFile old(backupDir() + QStringLiteral("/x.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const backup::FileError e =
            backup::copyFileReplacing(app().path(QStringLiteral("absent")), old.fileName());
        QCOMPARE(backup::errorText(e, QStringLiteral(" : ")), QStringLiteral("53 : File not found"));
        QCOMPARE(int(e.kind), int(backup::FileErrorKind::FileNotFound));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
    }

    void loadAsksForFolderAndPreparesTheSplitter() {
        const QString given = app().path(QStringLiteral("given.bin"));
        QFile(given).open(QIODevice::WriteOnly);
        appState().gCommandLineFile = given;
        SaveSetting(QStringLiteral("OpenExplorer"), QStringLiteral("0"));
        SaveSetting(QStringLiteral("CopyToFloppy"), QString()); // empty reads as the default
        frmBackupDB f;
        sui().answerFolder(QString());
        sui().answerNext(Button::Yes);
        sui().answerFolder(backupDir());
        f.runLoad();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Please select folder, Browse Again?"));
        QCOMPARE(m.title, QStringLiteral("No Path Selected"));
        QCOMPARE(int(m.icon), int(Icon::Question));
        QCOMPARE(f.txtPath->text(), backupDir() + QLatin1Char('/'));
        QVERIFY(f.cmdBackup->isEnabled());
        QVERIFY(f.cmdRestore->isEnabled());
        QCOMPARE(f.txtFileName->text(), given);
        QVERIFY(f.chkDeleteParts->isChecked());
        QVERIFY(!f.chkOpenExplorer->isChecked());
        QVERIFY(!f.chkCopyToFloppy->isChecked());

        // The file manager's "Split File" entry starts the program with the file.
        QFile entry(fileActionEntryPath(QStringLiteral("zorva-split-file.desktop")));
        QVERIFY(entry.fileName().startsWith(app().folder()));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.contains(QStringLiteral("\nName=Split File\n")));
        QVERIFY(text.contains(QStringLiteral("\nExec=\"") + app().folder() + QStringLiteral("/zorva\" %f\n")));

        // Closing keeps the split options in the per-user store.
        f.chkCopyToFloppy->setChecked(true);
        f.chkDeleteParts->setChecked(false);
        f.cmdTutup->click();
        QCOMPARE(GetSetting(QStringLiteral("CopyToFloppy")), QStringLiteral("1"));
        QCOMPARE(GetSetting(QStringLiteral("DeleteParts")), QStringLiteral("0"));
        QCOMPARE(GetSetting(QStringLiteral("OpenExplorer")), QStringLiteral("0"));
        QCOMPARE(GetSetting(QStringLiteral("SplitSize")), QStringLiteral("1360"));
    }

    void loadWithoutFolder() {
        frmBackupDB f;
        sui().answerFolder(QString());
        sui().answerNext(Button::No);
        f.runLoad();
        QVERIFY(sui().takeText(QStringLiteral("Please select folder, Browse Again?")));
        QVERIFY(!f.cmdBackup->isEnabled());
        QVERIFY(!f.cmdRestore->isEnabled());
        QCOMPARE(f.txtPath->text(), QString());
        QVERIFY(f.chkDeleteParts->isChecked()); // the split options are still read
        sui().answerFolder(backupDir());
        f.cmdDirektori->click();
        QCOMPARE(f.txtPath->text(), backupDir() + QLatin1Char('/'));
        QVERIFY(f.cmdBackup->isEnabled());
        QVERIFY(f.cmdRestore->isEnabled());
    }

    void restoreReservedToSistem() {
        app().addUser(QStringLiteral("HQ1"), QStringLiteral("pw"), QStringLiteral("Hq User"),
                      QStringLiteral("HQ"));
        app().loginAs(QStringLiteral("HQ1"));
        frmBackupDB f;
        load(f);
        QVERIFY(f.cmdBackup->isEnabled());
        QVERIFY(!f.cmdRestore->isEnabled());
        sui().answerFolder(backupDir());
        f.cmdDirektori->click();
        QVERIFY(!f.cmdRestore->isEnabled());
        f.cmdBackup->click();
        sui().take();
        QVERIFY(!f.cmdRestore->isEnabled());
    }

    void backupBoth() {
        frmBackupDB f;
        load(f);
        f.cmdBackup->click();
        const RecordedMessage m = sui().take();
        const QString folder = backupDir() + QLatin1Char('/');
        QCOMPARE(m.text, QStringLiteral("Backup Zorva database and Zorva INI file to ") + folder +
                             QStringLiteral(" completed successfully."));
        QCOMPARE(m.title, QStringLiteral("Backup completed"));
        QCOMPARE(int(m.icon), int(Icon::Information));
        QCOMPARE(ReadIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation")), folder);
        QCOMPARE(f.txtFileName->text(), folder + QStringLiteral("Zorvadb.mdb"));
        QVERIFY(f.cmdSplit->isEnabled()); // the backup is ready for splitting
        QVERIFY(!f.cmdBackup->isEnabled());
        QVERIFY(f.cmdRestore->isEnabled());
        // The copy is a complete database; the settings file is a copy of the current one.
        {
            QString error;
            QSqlDatabase copy = openDatabaseFile(folder + QStringLiteral("Zorvadb.mdb"), "copy", &error);
            QVERIFY2(copy.isValid(), qPrintable(error));
            auto q = runSqlOn(copy, QStringLiteral("SELECT count(*) FROM Equipment"));
            QVERIFY(q && q->next());
            QCOMPARE(q->value(0).toInt(), equipmentRows());
        }
        closeConnection(QStringLiteral("copy"));
        QFile ini(folder + QStringLiteral("Zorva.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("[Backup]"));

        // Database only, then settings file only.
        f.chkBackupINI->setChecked(false);
        f.cmdBackup->click(); // disabled until a folder is chosen again
        chooseAgain(f);
        f.cmdBackup->click();
        QVERIFY(sui().takeText(QStringLiteral("Backup Zorva database to ") + folder +
                               QStringLiteral(" completed successfully.")));
        f.chkBackupINI->setChecked(true);
        f.chkBackupDB->setChecked(false);
        f.txtFileName->clear();
        chooseAgain(f);
        f.cmdBackup->click();
        QVERIFY(sui().takeText(QStringLiteral("Backup Zorva INI file to ") + folder +
                               QStringLiteral(" completed successfully.")));
        QCOMPARE(f.txtFileName->text(), QString());
        // Nothing checked: nothing happens.
        f.chkBackupINI->setChecked(false);
        chooseAgain(f);
        f.cmdBackup->click();
        QVERIFY(f.cmdBackup->isEnabled());
    }

    void backupRefusals() {
        // The database lives in its own folder, apart from the settings file.
        const QString dataDir = app().path(QStringLiteral("data"));
        QDir().mkpath(dataDir);
        closeAllConnections();
        QVERIFY(QFile::rename(app().dbPath(), dataDir + QStringLiteral("/Zorvadb.mdb")));
        appState().gDbPath = dataDir + QStringLiteral("/Zorvadb.mdb");
        appState().gDbFolder = dataDir;

        frmBackupDB f;
        load(f);
        f.txtPath->setText(QStringLiteral("/"));
        f.cmdBackup->click();
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Backup to / root folder is not allowed! Please choose other folder."));
        QCOMPARE(m.title, QStringLiteral("Error !!!"));
        QCOMPARE(int(m.icon), int(Icon::Warning));

        // Both checked and the database target refused: the settings file is not copied either.
        f.txtPath->setText(dataDir);
        f.cmdBackup->click();
        QVERIFY(sui().takeText(QStringLiteral("Backup to Zorva database folder is not allowed !"),
                               QStringLiteral("Error !!!")));
        QVERIFY(!QFile::exists(dataDir + QStringLiteral("/Zorva.ini")));
        QVERIFY(f.cmdBackup->isEnabled());

        f.chkBackupDB->setChecked(false);
        f.txtPath->setText(app().folder());
        f.cmdBackup->click();
        QVERIFY(sui().takeText(QStringLiteral("Backup to Zorva application folder is not allowed !")));

        // A folder that does not exist: the error, nothing written.
        f.chkBackupDB->setChecked(true);
        f.txtPath->setText(app().path(QStringLiteral("nowhere")));
        f.cmdBackup->click();
        m = sui().take();
        QCOMPARE(m.text, QStringLiteral("76 : Path not found."));
        QCOMPARE(int(m.icon), int(Icon::Critical));
        QCOMPARE(ReadIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation")), backupDir());

        // An emptied or relative folder box names no folder: nothing is written into the
        // program's working folder.
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir().mkpath(backupDir() + QStringLiteral("/sub")));
        QVERIFY(QDir::setCurrent(backupDir()));
        for (const QString& typed : {QString(), QStringLiteral("sub")}) {
            f.txtPath->setText(typed);
            f.cmdBackup->click();
            QVERIFY(sui().takeText(QStringLiteral("76 : Path not found."), QStringLiteral("Error !!!")));
        }
        QDir::setCurrent(cwd);
        QCOMPARE(QDir(backupDir()).entryList({QStringLiteral("Zorva*")}, QDir::Files), QStringList());
        QCOMPARE(QDir(backupDir() + QStringLiteral("/sub")).entryList(QDir::Files), QStringList());
    }

    void restoreAsksWithBackupDates() {
        frmBackupDB f;
        load(f);
        f.cmdBackup->click();
        sui().take();
        const QString folder = backupDir() + QLatin1Char('/');
        setModified(folder + QStringLiteral("Zorvadb.mdb"), QDateTime(QDate(2026, 3, 7), QTime(15, 4, 9)));
        setModified(folder + QStringLiteral("Zorva.ini"), QDateTime(QDate(2026, 3, 8), QTime(9, 0, 1)));
        app().exec(QStringLiteral("DELETE FROM Equipment"));
        WriteIni(QStringLiteral("Web"), QStringLiteral("MainURL"), QStringLiteral("changed"));

        // Cancel on the database still offers the settings file.
        sui().answerNext(Button::Cancel);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Restore Zorva database dated 07/03/2026 03:04:09 PM ?"));
        QCOMPARE(m.title, QStringLiteral("Confirm Restore"));
        QCOMPARE(m.buttons, Buttons(Button::Ok | Button::Cancel));
        QVERIFY(sui().takeText(QStringLiteral("Restore Zorva INI file dated 08/03/2026 09:00:01 AM ?")));
        m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Zorva INI file restoration completed !"));
        QCOMPARE(m.title, QStringLiteral("Zorva"));
        QCOMPARE(ReadIni(QStringLiteral("Web"), QStringLiteral("MainURL")), QStringLiteral("https://zorva.example.org/"));
        QCOMPARE(equipmentRows(), 0);
        QVERIFY(!f.cmdBackup->isEnabled());
        QVERIFY(!f.cmdRestore->isEnabled());

        // The database alone: the program's own connection continues on the restored file.
        f.chkBackupINI->setChecked(false);
        chooseAgain(f);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        QVERIFY(sui().takeText(QStringLiteral("Zorva database restoration completed !"), QStringLiteral("Zorva")));
        QCOMPARE(equipmentRows(), 5);

        // Both confirmed: one report names both files.
        f.chkBackupINI->setChecked(true);
        chooseAgain(f);
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        sui().take();
        QVERIFY(sui().takeText(QStringLiteral("Zorva database and Zorva INI file restoration completed !"),
                               QStringLiteral("Zorva")));
    }

    void restoreUpgradesAnOlderDatabase() {
        const QString folder = backupDir() + QLatin1Char('/');
        const QString old = folder + QStringLiteral("Zorvadb.mdb");
        QVERIFY(backup::backupDatabase(database(), old).number() == 0);
        {
            QSqlDatabase db = openDatabaseFile(old, QStringLiteral("old"));
            QVERIFY(runSqlOn(db, QStringLiteral("DROP INDEX IP_Info_Status"))); // nor its index
            for (const QString& sql : test::beforeHistory()) QVERIFY(runSqlOn(db, sql));
            QVERIFY(runSqlOn(db, QStringLiteral("ALTER TABLE IP_Info DROP COLUMN Status")));
            QVERIFY(!db.record(QStringLiteral("IP_Info")).contains(QStringLiteral("Status")));
        }
        closeConnection(QStringLiteral("old"));
        restoreDatabaseOnly();
        QVERIFY(sui().takeText(QStringLiteral("Zorva database restoration completed !")));
        QVERIFY(database().record(QStringLiteral("IP_Info")).contains(QStringLiteral("Status")));
    }

    // A backup that cannot be the database is named and never replaces it.
    void restoreRefusesABadBackup_data() { addBadDatabaseRows(); }
    void restoreRefusesABadBackup() {
        QFETCH(int, kind);
        const QString backup = backupDir() + QStringLiteral("/Zorvadb.mdb");
        writeBadDatabase(BadDatabase(kind), backup, app().dbPath());
        const QByteArray before = readFile(backup);
        restoreDatabaseOnly();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QStringLiteral("Error !!!"));
        QVERIFY2(m.text.startsWith(QStringLiteral("75: Path/File access error (")), qPrintable(m.text));
        QVERIFY2(m.text.contains(badDatabaseWords(BadDatabase(kind))), qPrintable(m.text));
        QCOMPARE(equipmentRows(), 5);
        QCOMPARE(databaseFileProblem(app().dbPath()), QString());
        QCOMPARE(readFile(backup), before);
        QCOMPARE(QDir(app().folder()).entryList({QStringLiteral(".*part")}, QDir::Files | QDir::Hidden),
                 QStringList());
    }

    void restoreRefusedWhileAnotherCopyUsesTheDatabase() {
        frmBackupDB f;
        load(f);
        f.chkBackupINI->setChecked(false);
        f.cmdBackup->click();
        sui().take();
        app().exec(QStringLiteral("DELETE FROM Equipment"));
        // Another process holds the in-use mark, as a running copy of the program does.
        QProcess other;
        other.start(QStringLiteral("flock"), {QStringLiteral("-s"), QStringLiteral("-o"), databaseUseFile(app().dbPath()),
                                              QStringLiteral("sleep"), QStringLiteral("30")});
        if (!other.waitForStarted()) QSKIP("flock is not installed");
        QVERIFY(otherCopyUses(true));
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("70: ") + backup::inUseDescription());
        QCOMPARE(m.title, QStringLiteral("Error !!!"));
        QCOMPARE(equipmentRows(), 0);
        other.kill();
        QVERIFY(other.waitForFinished());
        QVERIFY(otherCopyUses(false)); // its helper may hold the mark a moment longer
        // Once the other copy has ended, the restore goes ahead.
        chooseAgain(f);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        QVERIFY(sui().takeText(QStringLiteral("Zorva database restoration completed !")));
        QCOMPARE(equipmentRows(), 5);
    }

    void restoreRefusals() {
        frmBackupDB f;
        load(f);
        // No backup database: stops before the settings file is offered.
        f.cmdRestore->click();
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Backup Zorva database not found!"));
        QCOMPARE(m.title, QStringLiteral("Zorva"));

        f.chkBackupDB->setChecked(false);
        f.cmdRestore->click();
        QVERIFY(sui().takeText(QStringLiteral("Backup Zorva INI file not found!")));

        // A file that is not a database never replaces the database.
        QFile junk(backupDir() + QStringLiteral("/Zorvadb.mdb"));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'j')) == 4096);
        junk.close();
        f.chkBackupDB->setChecked(true);
        sui().answerNext(Button::Ok);
        f.cmdRestore->click();
        sui().take();
        m = sui().take();
        QCOMPARE(int(m.icon), int(Icon::Critical));
        QCOMPARE(m.title, QStringLiteral("Error !!!"));
        QVERIFY2(m.text.startsWith(QStringLiteral("75: ")), qPrintable(m.text));
        QCOMPARE(equipmentRows(), 5);
        QCOMPARE(QDir(app().folder()).entryList({QStringLiteral(".*part")}, QDir::Files | QDir::Hidden),
                 QStringList());

        // An emptied folder box names no folder: a database in the working folder is not taken.
        QVERIFY(QFile::remove(junk.fileName()));
        QVERIFY(QFile::copy(app().dbPath(), junk.fileName()));
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(backupDir()));
        f.txtPath->clear();
        f.cmdRestore->click();
        QDir::setCurrent(cwd);
        m = sui().take();
        QCOMPARE(m.text, QStringLiteral("76: Path not found"));
        QCOMPARE(m.title, QStringLiteral("Error !!!"));
    }
};

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"

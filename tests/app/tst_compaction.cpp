// Compacting the database: the question, the sizes, the atomic replace, and the refusal while
// another running copy of the program uses the file.
#include "app/Compaction.h"
#include "app/MDIFrmUtama.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"
#include "platform/History.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "support/TestServer.h"

#include <QFileInfo>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

using namespace zorva;
using namespace zorva::test;

class CompactionTest : public ZorvaTest {
    Q_OBJECT

    void fill(int rows) {
        Transaction t(database());
        for (int i = 0; i < rows; ++i)
            app().exec("INSERT INTO IP_Info (IP_Address, IP_4, Remarks) VALUES (?, ?, ?)",
                       {QString("10.1.%1.%2").arg(i / 250).arg(i % 250 + 1), i % 250 + 1,
                        QString(400, QLatin1Char('r'))});
        QVERIFY(t.commit());
    }

    QByteArray fileBytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Starts the real program in its own application folder on the fixture's database and
    // waits until it has the database open (it then waits in its first dialog).
    bool startSecondCopy(QProcess& other) {
        const QByteArray bin = qgetenv("ZORVA_TEST_BIN");
        if (bin.isEmpty()) return false;
        QDir(app().folder()).mkpath("other");
        const QString exe = app().path("other/zorva");
        if (!QFile::copy(QString::fromLocal8Bit(bin), exe)) return false;
        QFile::copy(app().iniPath(), app().path("other/Zorva.ini"));
        writeIniFile(app().path("other/Zorva.ini"), "Database", "DatabaseLocation", app().folder());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("ZORVA_UNATTENDED", "1");
        env.insert("XDG_RUNTIME_DIR", app().path("other"));
        other.setProcessEnvironment(env);
        other.start(exe);
        if (!other.waitForStarted()) return false;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired() && other.state() == QProcess::Running) {
            {
                ExclusiveDatabaseUse probe(app().dbPath());
                if (!probe.acquired()) return true;
            }
            QTest::qWait(100);
        }
        return false;
    }

private slots:
    void initTestCase() { ZORVA_FILE_ONLY("compaction of the file (on a server: app_fileonly_pg)"); }

    void compactingShrinksADatabaseWithDeletedRows() {
        fill(3000);
        app().exec("DELETE FROM IP_Info WHERE IP_4 > 10");
        // The history keeps what was deleted; here it has been purged as well.
        app().loginAs(); // a "Sistem" user purges
        QVERIFY(purgeHistory(database(), 0) >= 0);
        const int kept = app().count("IP_Info");
        const qint64 before = QFileInfo(app().dbPath()).size();
        QFile stale(app().path("backup.mdb")); // left by an earlier failed run
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        MDIFrmUtama main;
        sui().answerNext(Button::Yes);
        main.mnuCompactDB->trigger();
        QVERIFY(sui().takeText("Do you want to compact Zorva database ?", "Compact Database"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Information);
        QCOMPARE(m.title, QString("Compact Successful"));
        const qint64 after = QFileInfo(app().dbPath()).size();
        QVERIFY2(after < before / 2, qPrintable(QString("%1 -> %2").arg(before).arg(after)));
        QCOMPARE(m.text, "Zorva database compacted successfully.\r\n\r\nSize before compacting:\t" +
                             fileSizeText(before) + "\r\nSize after compacting:\t" + fileSizeText(after));
        QVERIFY(!QFile::exists(app().path("backup.mdb")));
        // The program goes on with the compacted file, and what it writes stays.
        QCOMPARE(app().count("IP_Info"), kept);
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.9.9.9', 9)");
        closeAllConnections();
        QCOMPARE(app().count("IP_Info"), kept + 1);
    }

    void noMeansNothingHappens() {
        const QByteArray before = fileBytes(app().dbPath());
        MDIFrmUtama main;
        sui().answerNext(Button::No);
        main.toolButton(QStringLiteral("mCompactDB"))->trigger();
        QVERIFY(sui().takeText("Do you want to compact Zorva database ?", "Compact Database"));
        QCOMPARE(fileBytes(app().dbPath()), before);
    }

    void usesTheConfiguredDatabaseFolder() {
        QDir(app().folder()).mkpath("shared");
        const QString shared = app().path("shared");
        closeAllConnections();
        QVERIFY(QFile::rename(app().dbPath(), shared + "/Zorvadb.mdb"));
        QVERIFY(WriteIni("Database", "DatabaseLocation", shared));
        appState().gDbPath = shared + "/Zorvadb.mdb";
        MDIFrmUtama main;
        QVERIFY(main.CompressDatabase("Zorvadb.mdb"));
        QCOMPARE(sui().take().title, QString("Compact Successful"));
        QVERIFY(!QFile::exists(app().dbPath()));
        QCOMPARE(app().count("UserID"), 1);
    }

    void refusedWhileAnotherRunningCopyUsesIt() {
        fill(200);
        app().exec("DELETE FROM IP_Info");
        QProcess other;
        if (!startSecondCopy(other)) {
            other.kill();
            other.waitForFinished();
            if (qEnvironmentVariableIsEmpty("ZORVA_TEST_BIN")) QSKIP("the zorva executable is not given");
            QFAIL("the second copy did not open the database");
        }
        closeAllConnections();
        const QByteArray before = fileBytes(app().dbPath());
        MDIFrmUtama main;
        QVERIFY(!main.CompressDatabase("Zorvadb.mdb"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.title, QString("Database in use ..."));
        QCOMPARE(m.text, QString("Not Allowed : Zorva database was in use ... "));
        QCOMPARE(fileBytes(app().dbPath()), before);
        QVERIFY(!QFile::exists(app().path("backup.mdb")));

        // Once the other copy has ended, compaction goes ahead.
        other.kill();
        QVERIFY(other.waitForFinished());
        QVERIFY(main.CompressDatabase("Zorvadb.mdb"));
        QCOMPARE(sui().take().title, QString("Compact Successful"));
        QCOMPARE(app().count("UserID"), 1);
    }

    // The in-use marks: one per process and file, shared by every copy, exclusive for none
    // while another copy holds its mark.
    void inUseMarksWithinOneProcess() {
        database();
        QCOMPARE(markedDatabase(), QFileInfo(app().dbPath()).canonicalFilePath());
        {
            ExclusiveDatabaseUse sole(app().dbPath());
            QVERIFY(sole.acquired());
        }
        QCOMPARE(markedDatabase(), QFileInfo(app().dbPath()).canonicalFilePath());
        QVERIFY(QFileInfo(databaseUseFile(app().dbPath())).isHidden());
        releaseDatabaseInUse();
        QVERIFY(markedDatabase().isEmpty());
    }

    // The folder does not let the compacted copy be written: refused, the database intact.
    void unwritableFolderIsRefused() {
        const QByteArray before = fileBytes(app().dbPath());
        QDir(app().folder()).mkpath("backup.mdb/busy"); // the temporary name is taken by a folder
        bool readOnly = false;
        if (::geteuid() != 0) {
            QFile::setPermissions(app().folder(), QFile::ReadOwner | QFile::ExeOwner);
            readOnly = true;
        }
        MDIFrmUtama main;
        const bool done = main.CompressDatabase("Zorvadb.mdb");
        if (readOnly) QFile::setPermissions(app().folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!done);
        QCOMPARE(sui().take().text, QString("Not Allowed : Zorva database was in use ... "));
        QCOMPARE(fileBytes(app().dbPath()), before);
        QCOMPARE(app().count("UserID"), 1);
    }

    void missingDatabaseIsReportedNotCreated() {
        closeAllConnections();
        QVERIFY(QFile::remove(app().dbPath()));
        MDIFrmUtama main;
        QVERIFY(!main.CompressDatabase("Zorvadb.mdb"));
        QCOMPARE(sui().take().title, QString("Database in use ..."));
        QVERIFY(!QFile::exists(app().dbPath()));
    }
};

QTEST_MAIN(CompactionTest)
#include "tst_compaction.moc"

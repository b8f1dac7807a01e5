// Where the settings and the database live: beside the executable when Zorva.ini is there, else
// in the user's data folder, which the first start prepares itself.
#include "platform/AppFolder.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <optional>

using namespace zorva;

class TestAppFolder : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> tmp_;

    QString path(const QString& name) const { return tmp_->filePath(name); }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    // The initial user's password as the database holds it; empty when it cannot be read.
    static QString adminPassword(const QString& database) {
        QString password;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("appfolder"));
            db.setDatabaseName(database);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec(QStringLiteral("SELECT Password FROM UserID WHERE UserID = 'ADMIN'")) && q.next())
                    password = q.value(0).toString();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("appfolder"));
        return password;
    }

private slots:
    void init() {
        // Each test function in a fresh temporary folder.
        tmp_.emplace();
        QVERIFY(tmp_->isValid());
    }

    void rule_data() {
        QTest::addColumn<QString>("beside"); // what is beside the executable: file, folder or nothing
        QTest::addColumn<bool>("dataHasIni");
        QTest::addColumn<bool>("programFolder"); // expected: the executable's folder
        QTest::newRow("folder build") << "file" << false << true;
        QTest::newRow("folder build, user folder too") << "file" << true << true;
        QTest::newRow("installed, first start") << "" << false << false;
        QTest::newRow("installed, later start") << "" << true << false;
        // Only a file counts: a folder of that name is no settings file.
        QTest::newRow("folder named Zorva.ini") << "folder" << false << false;
    }
    void rule() {
        QFETCH(QString, beside);
        QFETCH(bool, dataHasIni);
        QFETCH(bool, programFolder);
        const QString bin = path("bin"), data = path("data/Zorva");
        QVERIFY(QDir().mkpath(bin) && QDir().mkpath(data));
        if (beside == "file") QVERIFY(write(bin + "/Zorva.ini", "[Database]\n"));
        if (beside == "folder") QVERIFY(QDir().mkpath(bin + "/Zorva.ini"));
        if (dataHasIni) QVERIFY(write(data + "/Zorva.ini", "[Database]\n"));
        QCOMPARE(applicationFolderFor(bin, data), programFolder ? bin : data);
    }

    void dataFolderFollowsXdg() {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", path("xdg").toLocal8Bit());
        const QString folder = userDataFolder();
        saved.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", saved);
        QCOMPARE(folder, path("xdg/Zorva"));
    }

    void firstStartWritesSettingsAndDatabase() {
        const QString folder = path("home/.local/share/Zorva"); // parents missing too
        const FirstStart done = prepareUserFolder(folder);
        QVERIFY2(done.error.isEmpty(), qPrintable(done.error));
        QCOMPARE(done.written, QStringList({folder + "/Zorvadb.mdb", folder + "/Zorva.ini"}));
        // The shipped settings, with the database placed in this folder.
        QByteArray shipped = read(":/zorva/Zorva.ini");
        QVERIFY(shipped.contains("\nDatabaseLocation=\n"));
        shipped.replace("\nDatabaseLocation=\n", "\nDatabaseLocation=" + folder.toUtf8() + "\n");
        QCOMPARE(read(folder + "/Zorva.ini"), shipped);
        QVERIFY(!QFile::exists(folder + "/Zorva.ini.part"));
        QCOMPARE(adminPassword(folder + "/Zorvadb.mdb"), QStringLiteral("zorva"));
        const QString text = firstStartText(folder, done);
        QVERIFY2(text.contains(folder) && text.contains("Zorvadb.mdb and Zorva.ini") &&
                     text.contains("ADMIN") && text.contains("zorva"),
                 qPrintable(text));
        // Said once: the next start finds the settings and writes nothing.
        const QByteArray database = read(folder + "/Zorvadb.mdb");
        QVERIFY(prepareUserFolder(folder).written.isEmpty());
        QCOMPARE(read(folder + "/Zorvadb.mdb"), database);
    }

    void existingSettingsAreKept() {
        // A user who pointed his settings at a server has no database file, and gets none.
        const QString folder = path("Zorva");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(write(folder + "/Zorva.ini", "[Database]\nDriver=PostgreSQL\n"));
        const FirstStart done = prepareUserFolder(folder);
        QVERIFY(done.error.isEmpty());
        QVERIFY(done.written.isEmpty());
        QVERIFY(!QFile::exists(folder + "/Zorvadb.mdb"));
        QCOMPARE(read(folder + "/Zorva.ini"), QByteArray("[Database]\nDriver=PostgreSQL\n"));
    }

    void existingDatabaseIsKept() {
        // Settings lost, inventory still there: the inventory is never replaced.
        const QString folder = path("Zorva");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(write(folder + "/Zorvadb.mdb", "the user's own database"));
        const FirstStart done = prepareUserFolder(folder);
        QVERIFY(done.error.isEmpty());
        QCOMPARE(done.written, QStringList{folder + "/Zorva.ini"});
        QCOMPARE(read(folder + "/Zorvadb.mdb"), QByteArray("the user's own database"));
        const QString text = firstStartText(folder, done);
        QVERIFY2(text.contains("wrote Zorva.ini there") && !text.contains("password"), qPrintable(text));
    }

    void unwritableFolderIsNamed_data() {
        QTest::addColumn<QString>("blocker"); // a file standing where a folder must be
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("reason");
        // Files in the way hold even for root, who ignores permission bits.
        QTest::newRow("parent is a file") << "share" << "share/Zorva" << "the folder cannot be created";
        QTest::newRow("folder is a file") << "Zorva" << "Zorva" << "the folder cannot be created";
    }
    void unwritableFolderIsNamed() {
        QFETCH(QString, blocker);
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QVERIFY(write(path(blocker), "not a folder"));
        const FirstStart done = prepareUserFolder(path(folder));
        QCOMPARE(done.error, reason);
        QVERIFY(done.written.isEmpty());
        QCOMPARE(read(path(blocker)), QByteArray("not a folder"));
        const QString text = unwritableFolderText(path(folder), done);
        QVERIFY2(text.contains(path(folder)) && text.contains(reason) && text.contains("writable"),
                 qPrintable(text));
    }

    void unwritableDatabaseLeavesNoSettings() {
        // The database cannot be written (its journal's place is taken by a folder): no
        // settings file either, so that the next start tries again, and no half database.
        const QString folder = path("Zorva");
        QVERIFY(QDir().mkpath(folder + "/Zorvadb.mdb-journal/x"));
        const FirstStart done = prepareUserFolder(folder);
        QVERIFY2(done.error.startsWith("the initial database cannot be written"), qPrintable(done.error));
        QVERIFY(!QFile::exists(folder + "/Zorva.ini"));
        QVERIFY(!QFile::exists(folder + "/Zorvadb.mdb"));
    }

    void unwritableSettingsLeaveNoPart() {
        // The settings file's place is taken: the error says so and no partial file stays.
        const QString folder = path("Zorva");
        QVERIFY(QDir().mkpath(folder + "/Zorva.ini.part/x"));
        const FirstStart done = prepareUserFolder(folder);
        QCOMPARE(done.error, QStringLiteral("Zorva.ini cannot be written there"));
        QVERIFY(!QFile::exists(folder + "/Zorva.ini"));
        QVERIFY(QFileInfo(folder + "/Zorvadb.mdb").isFile()); // kept for the next start
    }
};

QTEST_MAIN(TestAppFolder)
#include "tst_appfolder.moc"

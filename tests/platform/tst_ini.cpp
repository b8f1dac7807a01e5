// The settings file reader and writer: the lookup rules of the program's private-profile file.
#include "platform/AppState.h"
#include "platform/Ini.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace zorva;

class TestIni : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString file;

    void write(const QByteArray& text) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray contents() {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void init() {
        file = dir.filePath(QStringLiteral("Zorva.ini"));
        QFile::remove(file);
        resetAppState();
        appState().gIniFile = file;
    }

    void lookupRules() {
        write("; settings of Zorva\r\n"
              "junk line without anything\r\n"
              "=value without a key\r\n"
              "[database]\r\n"
              "  databaselocation =  /srv/zorva  \r\n"
              "DatabaseLocation=/second/one\r\n"
              ";Port=99\r\n"
              "[Network]\r\n"
              "SMTP=mail.example.org\r\n"
              "Port=25\r\n"
              "[DATABASE]\r\n"
              "Other=x\r\n");
        // Names are case-insensitive; blanks around names and values go; the first wins.
        QCOMPARE(ReadIni("Database", "DatabaseLocation"), QString("/srv/zorva"));
        QCOMPARE(ReadIni("NETWORK", "smtp"), QString("mail.example.org"));
        // A commented-out key is not a key; a key of another section is not found.
        QCOMPARE(ReadIni("Database", "Port"), QString());
        QCOMPARE(ReadIni("Network", "Port"), QString("25"));
        // Only the first section of a name counts.
        QCOMPARE(ReadIni("Database", "Other"), QString());
        QCOMPARE(ReadIni("Missing", "Key"), QString());
        QCOMPARE(ReadIni("Database", ""), QString());
    }

    void longValueIsCutTo254() {
        const QString longValue(300, QLatin1Char('a'));
        write("[Web]\nMainURL=" + longValue.toLatin1() + "\n");
        const QString read = ReadIni("Web", "MainURL");
        QCOMPARE(read.size(), 254);
        QCOMPARE(read, longValue.left(254));
    }

    void missingFileReadsEmpty() {
        QCOMPARE(ReadIni("Database", "DatabaseLocation"), QString());
    }

    void writeKeepsEveryOtherLine() {
        write("; comment\r\n[Database]\r\nDatabaseLocation=/old\r\nKeepMe = yes \r\n\r\n"
              "[Web]\r\nMainURL=http://x/\r\n");
        QVERIFY(WriteIni("database", "databaselocation", "/new/place"));
        QCOMPARE(contents(), QByteArray("; comment\r\n[Database]\r\ndatabaselocation=/new/place\r\n"
                                        "KeepMe = yes \r\n\r\n[Web]\r\nMainURL=http://x/\r\n"));
        // A new key goes into its section, above the blank separator line.
        QVERIFY(WriteIni("Database", "Extra", "1"));
        QCOMPARE(ReadIni("Database", "Extra"), QString("1"));
        QVERIFY(contents().contains("KeepMe = yes \r\nExtra=1\r\n\r\n[Web]"));
        // A new section is appended.
        QVERIFY(WriteIni("Backup", "BackupLocation", "/b"));
        QVERIFY(contents().endsWith("[Backup]\r\nBackupLocation=/b\r\n"));
        QCOMPARE(ReadIni("Web", "MainURL"), QString("http://x/"));
    }

    // A file edited by hand: an 8-bit encoding, mixed line ends, no line end at its end. A
    // write changes its own line only; every other byte stays.
    void writeKeepsHandEditedBytes() {
        const QByteArray head = "; caf\xe9 settings\r\n[Network]\nSMTP=mail.caf\xe9.example\r\n";
        write(head + "Port=25\n[Backup]\r\nBackupLocation=/srv");
        QCOMPARE(ReadIni("Network", "SMTP"), QString::fromUtf8("mail.caf\xc3\xa9.example"));
        QVERIFY(WriteIni("Network", "Port", "2525"));
        QCOMPARE(contents(), head + "Port=2525\n[Backup]\r\nBackupLocation=/srv");
        QVERIFY(WriteIni("Backup", "Extra", QString::fromUtf8("\xc3\xa9t\xc3\xa9")));
        QCOMPARE(contents(), head + "Port=2525\n[Backup]\r\nBackupLocation=/srv\r\nExtra=\xe9t\xe9\r\n");
        QCOMPARE(ReadIni("Backup", "Extra"), QString::fromUtf8("\xc3\xa9t\xc3\xa9"));
    }

    void emptyValueKeepsTheKey() {
        write("[Database]\nDatabaseLocation=/x\n");
        QVERIFY(WriteIni("Database", "DatabaseLocation", ""));
        QCOMPARE(contents(), QByteArray("[Database]\nDatabaseLocation=\n"));
        QCOMPARE(ReadIni("Database", "DatabaseLocation"), QString());
    }

    void writeCreatesMissingFile() {
        QVERIFY(WriteIni("Network", "SMTP", "mail"));
        QCOMPARE(ReadIni("Network", "SMTP"), QString("mail"));
    }

    void failedWriteIsReported() {
        appState().gIniFile = dir.filePath("no/such/folder/Zorva.ini");
        QVERIFY(!WriteIni("Network", "SMTP", "mail"));
        // A path that is a folder cannot be written either, and stays a folder.
        QDir(dir.path()).mkpath("adir");
        appState().gIniFile = dir.filePath("adir");
        QVERIFY(!WriteIni("Network", "SMTP", "mail"));
        QVERIFY(QFileInfo(dir.filePath("adir")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"

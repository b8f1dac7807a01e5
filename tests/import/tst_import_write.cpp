// The import's write and the full export: a file the program wrote reads back unchanged and
// rebuilds the same inventory on both backends; a write is all or nothing; the command line.
#include "ImportTest.h"
#include "support/TestServer.h"

#include <QProcess>

using namespace zorva;
using namespace zorva::test;

namespace {

// Records with what breaks naive CSV and SQL: apostrophes, delimiters, quotes, line breaks,
// accents, empty values, a segmented area's empty state.
void addAwkwardRecords(AppFixture& app) {
    const char* const rows[][8] = {
        {"10.0.0.2", "PC-O'Hara", "Unit, West", "say \"hi\"", "two\r\nlines", "Jos\xc3\xa9 \xe2\x82\xac", "Permanent", "2024-02-29"},
        {"10.0.0.10", "", "", "", "", "", "", ""},
        {"10.0.1.1", "SRV;1", "\xe4\xb8\xad\xe6\x96\x87", "'quoted'", "a\nb\rc", "  blanks  ", "Temporary", "1999-12-31"},
        {"192.168.0.1", "x,y", ",", "\"", "\r\n", "tab\there", "", "2020-01-01"},
    };
    for (const auto& r : rows)
        app.exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], UnitDivision, Remarks, Project, Username, Status, "
                 "DateIssue, StateOwner, Floor, InputBy) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, '', 'ADMIN')",
                 {QString::fromUtf8(r[0]), QString::fromUtf8(r[0]).section('.', 3).toInt(), QString::fromUtf8(r[1]),
                  QString::fromUtf8(r[2]), QString::fromUtf8(r[3]), QString::fromUtf8(r[4]), QString::fromUtf8(r[5]),
                  QString::fromUtf8(r[6]), *r[7] ? QVariant(QString::fromUtf8(r[7])) : QVariant()});
}

QByteArray manyRows(int n) {
    QByteArray out = "IP_Address,Name\n";
    for (int i = 0; i < n; ++i) out += QStringLiteral("10.%1.%2.%3,PC%4\n").arg(100 + i / 65536).arg(i / 256 % 256).arg(i % 256).arg(i).toUtf8();
    return out;
}

} // namespace

class TestImportWrite : public ZorvaTest {
    Q_OBJECT

    void setUp() override { app().loginAs(); }

    // The import's write of a checked file, or the failed test.
    void importAll(const QString& path, const ImportOptions& options = {}) {
        const auto import = checked(path, options);
        QString error;
        QVERIFY2(import->write(options, {}, &error), qPrintable(error));
    }

private slots:
    void exportOfNothingHasItsHeading() {
        app().exec("DELETE FROM IP_Info");
        QVERIFY(exported(app()).startsWith("IP_Address,IP_4,Name,Type,Region,"));
        QCOMPARE(exported(app()).count("\r\n"), 1);
    }

    void roundTrip() {
        addAwkwardRecords(app());
        const QByteArray before = exported(app());
        QVERIFY(before.indexOf("10.0.0.2,") < before.indexOf("10.0.0.10,")); // by number
        const QString file = writeFile(app(), "inventory.csv", before);
        ImportOptions update;
        update.existing = ExistingRecords::Update;
        const auto again = checked(file, update);
        QCOMPARE(again->counts().unchanged, 4);
        QCOMPARE(again->counts().rows, 4);

        // Into an empty inventory: the same rows, every column; each one's history "added".
        app().exec("DELETE FROM IP_Info");
        const qint64 entries = historyEntries();
        importAll(file);
        QCOMPARE(exported(app()), before);
        QCOMPARE(historyEntries(), entries + 4);
        QCOMPARE(app().count("IP_History", "Action = 'added'"), 8);
        QVERIFY(app().scalar("SELECT StateOwner FROM IP_Info WHERE IP_Address = '10.0.0.10'").toString().isEmpty());
    }

    // An update changes the columns the file gives, with one "changed" entry per record.
    void updateWrites() {
        addAwkwardRecords(app());
        const QString file = writeFile(app(), "u.csv", "IP_Address,Name,Date\n10.0.0.2,PC-O'Hara,01/03/2024\n10.0.0.10,NEW,\n");
        ImportOptions update;
        update.existing = ExistingRecords::Update;
        const auto import = checked(file, update);
        QCOMPARE(import->row(0).detail, "DateIssue: 29/02/2024 -> 01/03/2024");
        QCOMPARE(import->row(1).detail, "Name:  -> NEW");
        QString error;
        QVERIFY2(import->write(update, {}, &error), qPrintable(error));
        QCOMPARE(app().scalar("SELECT DateIssue FROM IP_Info WHERE IP_Address = '10.0.0.2'").toString(), "2024-03-01");
        QCOMPARE(app().scalar("SELECT Remarks FROM IP_Info WHERE IP_Address = '10.0.0.2'").toString(), "say \"hi\"");
        QCOMPARE(app().count("IP_History", "Action = 'changed'"), 2);
        QCOMPARE(import->counts().updated, 2);
    }

    // Nothing is written when any part fails: a row the database refuses, a recorded address
    // under Stop, the file gone or changed after the check, a cancel.
    void allOrNothing_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("error");
        // New rows are written in groups of a hundred: the error names the group's lines.
        QTest::newRow("the database refuses row 1500") << "refuse" << "Lines 1402 to 1501 could not be written: ";
        QTest::newRow("recorded address, Stop") << "recorded" << "Addresses of the file already recorded: 1 (the first on line 3002)";
        QTest::newRow("file gone") << "gone" << "is gone. Nothing was written.";
        QTest::newRow("file changed") << "changed" << "changed since it was checked";
        QTest::newRow("cancelled") << "cancel" << "Cancelled. Nothing was written.";
        QTest::newRow("address recorded since the check") << "meanwhile" << "Line 9: IP_Address 10.100.0.7 is already recorded.";
    }
    void allOrNothing() {
        QFETCH(QString, failure);
        QFETCH(QString, error);
        addAwkwardRecords(app());
        QByteArray rows = manyRows(3000);
        if (failure == "recorded") rows += "10.0.0.2,dup\n";
        const QString file = writeFile(app(), "big.csv", rows);
        const auto import = checked(file);
        if (failure == "refuse") QVERIFY(refuseRows("refuse_one", "INSERT", "IP_Info", "NEW.IP_Address = '10.100.5.219'", "refused"));
        if (failure == "gone") QVERIFY(QFile::remove(file));
        if (failure == "changed") writeFile(app(), "big.csv", rows + "10.200.0.1,late\n");
        if (failure == "meanwhile") app().exec("INSERT INTO IP_Info (IP_Address, IP_4) VALUES ('10.100.0.7', 7)");
        const QByteArray before = exported(app());
        const qint64 entries = historyEntries();
        int calls = 0;
        const ImportProgress progress = [&](qint64, qint64) { return failure != "cancel" || ++calls < 2; };
        QString why;
        QVERIFY(!import->write({}, progress, &why));
        QVERIFY2(why.contains(error), qPrintable(why));
        QCOMPARE(exported(app()), before);
        QCOMPARE(historyEntries(), entries);
    }

    // A sheet saved by an older spreadsheet: Windows-1252, semicolons, CR LF; accents stored
    // as the letters they are.
    void windowsFile() {
        const QString file = writeFile(app(), "w.csv", "IP Address;User;Comment\r\n10.0.0.1;Jos\xe9 M\xfcller;\x80 5, \x93new\x94\r\n");
        const auto import = checked(file);
        QCOMPARE(import->encodingName(), "Windows-1252");
        QString error;
        QVERIFY2(import->write({}, {}, &error), qPrintable(error));
        QCOMPARE(app().scalar("SELECT Username FROM IP_Info WHERE IP_Address = '10.0.0.1'").toString(), QStringLiteral("Jos\u00e9 M\u00fcller"));
        QCOMPARE(app().scalar("SELECT Remarks FROM IP_Info WHERE IP_Address = '10.0.0.1'").toString(),
                 QStringLiteral("\u20ac 5, \u201cnew\u201d"));
    }

    // The export of a large inventory tells how far it is and can be stopped: no file then.
    void exportCancelled() {
        app().exec("DELETE FROM IP_Info");
        const auto import = checked(writeFile(app(), "m.csv", manyRows(1200)));
        QString error;
        QVERIFY2(import->write({}, {}, &error), qPrintable(error));
        QList<qint64> seen;
        const QString out = app().path("part.csv");
        QVERIFY(!exportAllRecords(out, [&seen](qint64 done, qint64 total) { seen << done << total; return done < 1000; }, &error));
        QCOMPARE(error, "Cancelled.");
        QCOMPARE(seen, (QList<qint64>{500, 1200, 1000, 1200}));
        QVERIFY(!QFile::exists(out));
    }

    void refusedRowsFile() {
        const QString file = writeFile(app(), "r.csv", "IP_Address;Name\r\n10.0.0.1;ok\r\n10.0.0.256;\"bad;\r\nname\"\r\n10.0.0.3\r\n");
        const auto import = checked(file);
        const QString out = app().path("refused.csv");
        QString error;
        QVERIFY2(import->writeRefused(out, &error), qPrintable(error));
        QCOMPARE(readFile(out), "IP_Address,Name,Reason\r\n"
                                "10.0.0.256,\"bad;\r\nname\",\"IP_Address \"\"10.0.0.256\"\" is not an IPv4 address (four numbers 0-255 without leading zeros).\"\r\n"
                                "10.0.0.3,The row has 1 fields; the header has 2.\r\n");
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<int>("records");
        const QByteArray good = "IP,Host\n10.0.0.1,a\n10.0.0.3,b\n";
        QTest::newRow("import") << QStringList{} << good << 0 << "rows 2, added 2, updated 0" << "" << 6;
        QTest::newRow("dry run") << QStringList{"--dry-run"} << good << 0 << "checked" << "" << 4;
        QTest::newRow("refused rows: the rest written, status 3")
            << QStringList{} << good + "10.0.0.999,c\n" << 3 << "refused 1" << "line 4: IP_Address \"10.0.0.999\"" << 6;
        QTest::newRow("recorded, Stop: nothing written") << QStringList{} << good + "10.0.0.2,c\n" << 1 << ""
                                                          << "already recorded: 1 (the first on line 4)" << 4;
        QTest::newRow("recorded, skip") << QStringList{"--skip"} << good + "10.0.0.2,c\n" << 0 << "skipped 1" << "" << 6;
        QTest::newRow("recorded, update") << QStringList{"--update"} << good + "10.0.0.2,c\n" << 0 << "updated 1" << "" << 6;
        QTest::newRow("strict place") << QStringList{"--strict-place", "--dry-run"} << good << 3 << "refused 2"
                                      << "fits no area and city" << 4;
        QTest::newRow("unknown option") << QStringList{"--fast"} << good << 2 << "" << "usage:" << 4;
        QTest::newRow("no file") << QStringList{"--missing"} << good << 1 << "" << "cannot be read" << 4;
    }
    void commandLine() {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, rows);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(int, records);
        addAwkwardRecords(app());
        QString file = writeFile(app(), "cmd.csv", rows);
        if (args.removeAll("--missing")) file = app().path("none.csv");
        QProcess p;
        p.start(qEnvironmentVariable("ZORVA_INITDB_BIN"), QStringList{"--import", file, "--ini", app().iniPath()} + args);
        QVERIFY(p.waitForFinished(60000));
        const QString stdOut = QString::fromUtf8(p.readAllStandardOutput()), stdErr = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(stdOut.contains(out) && stdErr.contains(err), qPrintable(stdOut + stdErr));
        QCOMPARE(p.exitCode(), status);
        QCOMPARE(app().count("IP_Info"), records);
    }

    void commandLineExport() {
        addAwkwardRecords(app());
        const QString file = app().path("out.csv");
        QProcess p;
        p.start(qEnvironmentVariable("ZORVA_INITDB_BIN"), {"--export", file, "--ini", app().iniPath()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        QVERIFY(p.readAllStandardOutput().contains("exported 4 records"));
        QCOMPARE(readFile(file), exported(app()));
    }
};

QTEST_MAIN(TestImportWrite)
#include "tst_import_write.moc"

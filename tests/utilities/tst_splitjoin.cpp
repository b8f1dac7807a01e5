#include "utilities/FileHelpers.h"
#include "utilities/SplitJoin.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace zorva::splitjoin;

namespace {

QByteArray randomBytes(qint64 size) {
    QByteArray data(qsizetype(size), Qt::Uninitialized);
    auto* gen = QRandomGenerator::global();
    for (qsizetype i = 0; i < data.size(); ++i) data[i] = char(gen->bounded(256));
    return data;
}

} // namespace

class TestSplitJoin : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

private slots:
    void pieceCounts() {
        QCOMPARE(kPieceSize, qint64(1392640));
        QCOMPARE(pieceCount(0), 0);
        QCOMPARE(pieceCount(1), 1);
        QCOMPARE(pieceCount(1392640), 1);
        QCOMPARE(pieceCount(1392641), 2);
        QCOMPARE(pieceCount(10 * 1392640), 10);
        QCOMPARE(pieceCount(14 * 1024 * 1024), 11);
        QCOMPARE(pieceCount(5000000000LL), 3591); // beyond 32 bits
    }

    void texts() {
        QCOMPARE(elapsedText(0.53), QStringLiteral(".53"));
        QCOMPARE(elapsedText(0), QStringLiteral(".00"));
        QCOMPARE(elapsedText(12.5), QStringLiteral("12.50"));
        QCOMPARE(elapsedText(1.004), QStringLiteral("1.00"));
        QCOMPARE(dateTimeText(QDateTime(QDate(2026, 12, 8), QTime(15, 4, 9))),
                 QStringLiteral("08/12/2026 03:04:09 PM"));
        QCOMPARE(dateTimeText(QDateTime(QDate(2026, 1, 2), QTime(0, 30, 0))),
                 QStringLiteral("02/01/2026 12:30:00 AM"));
        QCOMPARE(estimateText(QString()), QStringLiteral("File Count:"));
        QCOMPARE(estimateText(path("absent.bin")), QStringLiteral("File Count:"));
        QCOMPARE(estimateText(dir_.path()), QStringLiteral("File Count:"));
        QVERIFY(writeFile(path("est.bin"), QByteArray(1392641, 'x')));
        QCOMPARE(estimateText(path("est.bin")), QStringLiteral("File Count: 2"));
    }

    void batchFileLines() {
        // Kept pieces: the first piece is copied to the name, the rest appended to it.
        QCOMPARE(joinScriptText(QStringLiteral("Zorvadb.mdb"), 3, false),
                 QByteArray("@ECHO OFF\r\nECHO Joining Files...\r\n"
                            "IF EXIST \"Zorvadb.mdb\" DEL \"Zorvadb.mdb\"\r\n"
                            "COPY \"Zorvadb.mdb.1\" \"Zorvadb.mdb\"\r\n"
                            "COPY /B \"Zorvadb.mdb\"+\"Zorvadb.mdb.2\"+\"Zorvadb.mdb.3\"\r\n"
                            "ECHO Done!\r\n"));
        // Deleted pieces: appended to the first piece, which becomes the file.
        QCOMPARE(joinScriptText(QStringLiteral("a b.mdb"), 3, true),
                 QByteArray("@ECHO OFF\r\nECHO Joining Files...\r\n"
                            "IF EXIST \"a b.mdb\" DEL \"a b.mdb\"\r\n"
                            "COPY /B \"a b.mdb.1\"+\"a b.mdb.2\"+\"a b.mdb.3\"\r\n"
                            "DEL \"a b.mdb.2\"\r\nDEL \"a b.mdb.3\"\r\n"
                            "REN \"a b.mdb.1\" \"a b.mdb\"\r\nDEL \"a b.mdb.bat\"\r\n"
                            "ECHO Done!\r\n"));
        QCOMPARE(joinScriptLines(QStringLiteral("f"), 1, true),
                 (QStringList{"@ECHO OFF", "ECHO Joining Files...", "IF EXIST \"f\" DEL \"f\"",
                              "REN \"f.1\" \"f\"", "DEL \"f.bat\"", "ECHO Done!"}));
    }

    void splitOnePieceExactly() {
        const QString file = path("one.bin");
        const QByteArray data = randomBytes(1392640);
        QVERIFY(writeFile(file, data));
        QStringList statuses;
        qint64 lastProgress = -1;
        Observer o;
        o.status = [&](const QString& s) { statuses << s; };
        o.progress = [&](qint64 done) { lastProgress = done; };
        const Outcome r = splitFile(file, kPieceSize, false, o);
        QVERIFY(r.ok);
        QCOMPARE(r.pieces, 1);
        QCOMPARE(statuses, (QStringList{"Split Count: 1 of 1", "Split Count: Finished (1 Files)"}));
        QCOMPARE(lastProgress, qint64(1392640));
        QCOMPARE(readFile(piecePath(file, 1)), data);
        QVERIFY(!QFile::exists(piecePath(file, 2)));
        QCOMPARE(readFile(file), data); // the input is left as it was
        const QByteArray bat = readFile(batchPath(file));
        QVERIFY(!bat.contains("COPY /B"));
        QVERIFY(bat.contains("COPY \"one.bin.1\" \"one.bin\"\r\n"));
    }

    void splitAndJoinTwoPieces() {
        const QString file = path("two.bin");
        const QByteArray data = randomBytes(1392641);
        QVERIFY(writeFile(file, data));
        QVERIFY(writeFile(piecePath(file, 2), QByteArray(5000000, 'o'))); // an old, larger piece
        const Outcome r = splitFile(file, kPieceSize, true, {});
        QVERIFY(r.ok);
        QCOMPARE(r.pieces, 2);
        QCOMPARE(QFileInfo(piecePath(file, 2)).size(), qint64(1));
        QCOMPARE(readFile(batchPath(file)), joinScriptText(QStringLiteral("two.bin"), 2, true));

        QVERIFY(QFile::remove(file));
        qint64 total = 0;
        QCOMPARE(consecutivePieces(file, &total), 2);
        QCOMPARE(total, qint64(1392641));
        QStringList statuses;
        Observer o;
        o.status = [&](const QString& s) { statuses << s; };
        const Outcome j = joinFiles(file, 2, true, o);
        QVERIFY(j.ok);
        QCOMPARE(readFile(file), data);
        QCOMPARE(statuses, (QStringList{"Join Count: 1 of 2", "Join Count: 2 of 2",
                                        "File Count: Finished (2 Files)"}));
        // Deleting the parts removes the pieces and the batch file.
        QVERIFY(!QFile::exists(piecePath(file, 1)));
        QVERIFY(!QFile::exists(piecePath(file, 2)));
        QVERIFY(!QFile::exists(batchPath(file)));
    }

    void joinStopsAtFirstMissingPiece() {
        const QString file = path("gap.bin");
        QVERIFY(writeFile(piecePath(file, 1), "first-"));
        QVERIFY(writeFile(piecePath(file, 2), "second"));
        QVERIFY(writeFile(piecePath(file, 4), "fourth"));
        QCOMPARE(consecutivePieces(file), 2);
        QVERIFY(joinFiles(file, consecutivePieces(file), false, {}).ok);
        QCOMPARE(readFile(file), QByteArray("first-second"));
        QVERIFY(QFile::exists(piecePath(file, 1))); // kept pieces stay
    }

    void largeFileRoundTrip() {
        const QString file = path("big.bin");
        const QByteArray data = randomBytes(3 * 1392640 + 777);
        QVERIFY(writeFile(file, data));
        QVERIFY(splitFile(file, kPieceSize, false, {}).ok);
        QVERIFY(QFile::remove(file));
        QVERIFY(joinFiles(file, consecutivePieces(file), false, {}).ok);
        QCOMPARE(readFile(file), data);
    }

    void failures() {
        // A missing input: read error, nothing written.
        Outcome r = splitFile(path("missing.bin"), kPieceSize, false, {});
        QVERIFY(!r.ok);
        QVERIFY(r.readError);
        QCOMPARE(r.status, QStringLiteral("Split Count: Read Error"));
        QVERIFY(!QFile::exists(path("missing.bin.bat")));

        // A piece that cannot be created: write error, the earlier piece stays.
        const QString file = path("blocked.bin");
        const QByteArray data = randomBytes(1392640 + 10);
        QVERIFY(writeFile(file, data));
        QVERIFY(QDir().mkpath(piecePath(file, 2) + QStringLiteral("/inside")));
        r = splitFile(file, kPieceSize, false, {});
        QVERIFY(!r.ok);
        QVERIFY(!r.readError);
        QCOMPARE(r.status, QStringLiteral("Split Count: Write Error"));
        QCOMPARE(QFileInfo(piecePath(file, 1)).size(), qint64(1392640));
        QCOMPARE(readFile(file), data);

        // A piece that vanished: read error, and the existing output is kept as it was.
        const QString out = path("keep.bin");
        QVERIFY(writeFile(out, "precious"));
        QVERIFY(writeFile(piecePath(out, 1), "one"));
        r = joinFiles(out, 2, false, {});
        QVERIFY(!r.ok);
        QCOMPARE(r.status, QStringLiteral("Join Count: Read Error"));
        QCOMPARE(readFile(out), QByteArray("precious"));

        // An output folder that does not exist: write error.
        r = joinFiles(path("nowhere/x.bin"), 1, false, {});
        QCOMPARE(r.status, QStringLiteral("Join Count: Write Error"));
    }
};

QTEST_MAIN(TestSplitJoin)
#include "tst_splitjoin.moc"

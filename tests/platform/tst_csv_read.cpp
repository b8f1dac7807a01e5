// The spreadsheet reader: what Excel and LibreOffice write when a sheet is saved as CSV, and
// what must be refused with a clear message instead of read wrongly.
#include "platform/CsvRead.h"

#include <QBuffer>
#include <QtTest>

using namespace zorva;

namespace {

using Records = QList<QStringList>;
using Lines = QList<qint64>;

struct Read {
    Records records;
    Lines lines;
    QString error, encoding;
    QChar delimiter;
};

Read readAll(const QByteArray& bytes, qsizetype limit = CsvReader::kDefaultLimit) {
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    CsvReader reader(&device, limit);
    Read out;
    QStringList fields;
    qint64 line = 0;
    while (reader.next(&fields, &line)) {
        out.records << fields;
        out.lines << line;
    }
    out.error = reader.error();
    out.encoding = reader.encodingName();
    out.delimiter = reader.delimiter();
    return out;
}

} // namespace

class TestCsvRead : public QObject {
    Q_OBJECT
private slots:
    void records_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Records>("records");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QChar>("delimiter");
        QTest::newRow("comma, CR LF") << QByteArray("a,b\r\n1,2\r\n") << Records{{"a", "b"}, {"1", "2"}}
                                      << Lines{1, 2} << QChar(',');
        QTest::newRow("semicolon, LF, no last line end")
            << QByteArray("a;b;c,d\n1;2,5;x") << Records{{"a", "b", "c,d"}, {"1", "2,5", "x"}} << Lines{1, 2} << QChar(';');
        QTest::newRow("tab, CR alone") << QByteArray("a\tb\r1\t2\r") << Records{{"a", "b"}, {"1", "2"}}
                                       << Lines{1, 2} << QChar('\t');
        QTest::newRow("delimiters inside quotes are not counted")
            << QByteArray("\"x,y,z\";b\n1;2\n") << Records{{"x,y,z", "b"}, {"1", "2"}} << Lines{1, 2} << QChar(';');
        QTest::newRow("quotes doubled, line breaks inside: lines counted")
            << QByteArray("a,b\r\n\"say \"\"hi\"\"\",\"two\r\nlines\nand\rthree\"\r\nnext,row\r\n")
            << Records{{"a", "b"}, {"say \"hi\"", "two\r\nlines\nand\rthree"}, {"next", "row"}}
            << Lines{1, 2, 6} << QChar(',');
        QTest::newRow("empty fields and an empty quoted field")
            << QByteArray("a,b,c\n,\"\",\n") << Records{{"a", "b", "c"}, {"", "", ""}} << Lines{1, 2} << QChar(',');
        QTest::newRow("blank lines passed over, counted")
            << QByteArray("a\n\n\r\n1\n") << Records{{"a"}, {"1"}} << Lines{1, 4} << QChar(',');
        QTest::newRow("ragged rows read as written")
            << QByteArray("a,b\n1\n1,2,3\n") << Records{{"a", "b"}, {"1"}, {"1", "2", "3"}} << Lines{1, 2, 3} << QChar(',');
        QTest::newRow("header only") << QByteArray("IP Address,Name\r\n") << Records{{"IP Address", "Name"}}
                                     << Lines{1} << QChar(',');
        QTest::newRow("byte-order mark dropped, UTF-8 kept")
            << QByteArray("\xEF\xBB\xBFName\nJos\xC3\xA9\n") << Records{{"Name"}, {QStringLiteral("Jos\u00e9")}}
            << Lines{1, 2} << QChar(',');
        QTest::newRow("Windows-1252 accents and signs")
            << QByteArray("Name;Note\nJos\xE9;\x80 5 \x93ok\x94\n")
            << Records{{"Name", "Note"}, {QStringLiteral("Jos\u00e9"), QStringLiteral("\u20ac 5 \u201cok\u201d")}}
            << Lines{1, 2} << QChar(';');
        QTest::newRow("a quote inside an unquoted field is text")
            << QByteArray("a,b\n5\" disk,x\n") << Records{{"a", "b"}, {"5\" disk", "x"}} << Lines{1, 2} << QChar(',');
    }
    void records() {
        QFETCH(QByteArray, bytes);
        QFETCH(Records, records);
        QFETCH(Lines, lines);
        QFETCH(QChar, delimiter);
        const Read r = readAll(bytes);
        QCOMPARE(r.error, QString());
        QCOMPARE(r.records, records);
        QCOMPARE(r.lines, lines);
        QCOMPARE(r.delimiter, delimiter);
    }

    void encoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("plain ASCII") << QByteArray("a\n1\n") << "UTF-8";
        QTest::newRow("UTF-8") << QByteArray("a\n\xC3\xA9\n") << "UTF-8";
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF" "a\n") << "UTF-8 (with byte-order mark)";
        QTest::newRow("not UTF-8") << QByteArray("a\n\xE9t\xE9\n") << "Windows-1252";
    }
    void encoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, encoding);
        QCOMPARE(readAll(bytes).encoding, encoding);
    }

    void refused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("recordsBefore");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << 0 << "The file is empty.";
        QTest::newRow("only a byte-order mark") << QByteArray("\xEF\xBB\xBF") << 0 << "The file is empty.";
        QTest::newRow("only line ends") << QByteArray("\r\n\n \n") << 0 << "The file is empty.";
        QTest::newRow("binary") << QByteArray("PK\x03\x04\0\0\x14\0", 8) << 0 << "not a text file (it holds NUL bytes)";
        QTest::newRow("quote not closed") << QByteArray("a,b\n1,\"open\n2,3\n") << 1
                                          << "Line 2: a quoted field is not closed before the end of the file.";
        // Beyond the sample the encoding was decided on: said, not turned into wrong letters.
        QByteArray late = "a\n" + QByteArray(2 << 20, 'x') + "\n\xE9\n";
        QTest::newRow("not UTF-8 after the start") << late << 2 << "Line 3: the text is not valid UTF-8";
    }
    void refused() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, recordsBefore);
        QFETCH(QString, error);
        const Read r = readAll(bytes, 4 << 20);
        QVERIFY2(r.error.contains(error), qPrintable(r.error));
        QCOMPARE(r.records.size(), recordsBefore);
    }

    // A 10 MB line (a pasted page, a file that is no spreadsheet) is refused, not held.
    void longLineRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("unquoted") << "a\n" + QByteArray(10 << 20, 'x') + "\n" << "Line 2: the record is longer than 1 MB";
        QTest::newRow("quoted, with line breaks") << "a\n\"" + QByteArray(10 << 20, '\n') + "\"\n"
                                                  << "Line 2: the record is longer than 1 MB";
        QTest::newRow("header") << QByteArray(10 << 20, ',') << "Line 1: the record is longer than 1 MB";
    }
    void longLineRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const Read r = readAll(bytes);
        QVERIFY2(r.error.startsWith(error), qPrintable(r.error));
    }

    // Read from a device in pieces: a record cut by the reader's chunks reads whole.
    void recordsAcrossChunks() {
        QByteArray bytes = "n,v\r\n";
        for (int i = 0; i < 40000; ++i) bytes += "\"row " + QByteArray::number(i) + "\r\nnext\",\"a\"\"b\"\r\n";
        const Read r = readAll(bytes);
        QCOMPARE(r.error, QString());
        QCOMPARE(r.records.size(), 40001);
        QCOMPARE(r.records.at(30000), (QStringList{"row 29999\r\nnext", "a\"b"}));
        QCOMPARE(r.lines.at(30000), 2 + 2 * 29999);
    }
};

QTEST_GUILESS_MAIN(TestCsvRead)
#include "tst_csv_read.moc"

// The one comma-separated-values writer that the record export and the reports share.
#include "platform/Csv.h"

#include <QtTest>

using namespace zorva;

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void line_data() {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain fields") << QStringList{"10.0.0.1", "PC-1", "IT"}
                                      << QByteArray("10.0.0.1,PC-1,IT\r\n");
        QTest::newRow("empty fields keep their places")
            << QStringList{"", "a", ""} << QByteArray(",a,\r\n");
        QTest::newRow("comma quoted") << QStringList{"Unit, West"} << QByteArray("\"Unit, West\"\r\n");
        QTest::newRow("quotes doubled") << QStringList{"say \"hi\"", "O'Hara"}
                                        << QByteArray("\"say \"\"hi\"\"\",O'Hara\r\n");
        QTest::newRow("line feed quoted") << QStringList{"two\nlines"}
                                          << QByteArray("\"two\nlines\"\r\n");
        QTest::newRow("carriage return quoted") << QStringList{"a\rb", "c\r\nd"}
                                                << QByteArray("\"a\rb\",\"c\r\nd\"\r\n");
        QTest::newRow("blanks are part of the field") << QStringList{" lead", "trail "}
                                                      << QByteArray(" lead,trail \r\n");
        QTest::newRow("UTF-8, no byte-order mark")
            << QStringList{QStringLiteral("caf\u00e9"), QStringLiteral("\u4e2d")}
            << QByteArray("caf\xc3\xa9,\xe4\xb8\xad\r\n");
        QTest::newRow("no field: an empty line") << QStringList{} << QByteArray("\r\n");
    }
    void line() {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, line);
        QByteArray out;
        appendCsvLine(out, fields);
        QCOMPARE(out, line);
    }

    // Lines are appended after what is there.
    void linesFollowEachOther() {
        QByteArray out("head\r\n");
        appendCsvLine(out, {"a", "b"});
        appendCsvLine(out, {"c,d"});
        QCOMPARE(out, QByteArray("head\r\na,b\r\n\"c,d\"\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"

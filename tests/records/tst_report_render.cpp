// The banded report renderer: layout, paging, codes, wrapping, PDF and CSV output.
#include "records/ReportCommon.h"
#include "records/report/ReportCsv.h"
#include "records/report/ReportLayout.h"
#include "records/report/ReportPainter.h"
#include "records/ReportTest.h"

#include <QPrinter>
#include <QTemporaryDir>

using namespace zorva;
using namespace zorva::report;

namespace {

// A small report of two columns over `rows` records of (address, text).
Report sample(int rows, const QString& text = QStringLiteral("host")) {
    Report r = newReport(QStringLiteral("rptSample"), QStringLiteral("Sample"), 40);
    addTitle(r, QStringLiteral("lblTitle"), QStringLiteral("Sample report"));
    addColumns(r, {{"Label6", "IP Address", "txtIPAddress", "IP_Address", 0, 90},
                   {"Label7", "Hostname", "txtName", "Name", 90, 100},
                   {"Label8", "Unit / Division", "txtBuilding", "UnitDivision", 190, 320}});
    finishLayout(r);
    r.printedAt = QDateTime(QDate(2024, 3, 9), QTime(15, 7, 9));
    for (int i = 0; i < rows; ++i) {
        QStringList row(reportFields().size());
        row[0] = QStringLiteral("10.1.%1.%2").arg(i / 250).arg(i % 250 + 1);
        row[1] = text;
        row[6] = QStringLiteral("Unit %1").arg(i);
        r.rows.push_back(row);
    }
    return r;
}

const QSizeF kA4Area(510.2, 756.9); // A4 less 15 mm margins, in points

} // namespace

class TestReportRender : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void codes_data() {
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("afternoon") << QTime(15, 7, 9) << "%t" << "3:07:09 PM";
        QTest::newRow("midnight") << QTime(0, 0, 5) << "%t" << "12:00:05 AM";
        QTest::newRow("noon") << QTime(12, 30, 0) << "at %t" << "at 12:30:00 PM";
        QTest::newRow("date") << QTime(1, 0) << "%d" << "09/03/2024";
        QTest::newRow("pages") << QTime(1, 0) << "Page : %p/%P" << "Page : 2/7";
        QTest::newRow("other percent") << QTime(1, 0) << "100% %x %" << "100% %x %";
    }
    void codes() {
        QFETCH(QTime, time);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(expandCodes(text, 2, 7, QDateTime(QDate(2024, 3, 9), time)), expected);
    }

    // Every page holds whole rows inside its detail area, and all rows appear once, in order.
    void pagingNeverCutsARow_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "x";
        QTest::newRow("one") << 1 << "x";
        QTest::newRow("many") << 500 << "x";
        QTest::newRow("wrapped") << 300
                                 << "a rather long host name that needs three lines to be shown "
                                    "whole in its column and more than that";
    }
    void pagingNeverCutsARow() {
        QFETCH(int, rows);
        QFETCH(QString, text);
        const Report r = sample(rows, text);
        const TextMeasure m;
        const Layout l = layoutReport(r, kA4Area, m);
        QVERIFY(l.pageCount() >= 1);
        QVERIFY(l.pages.front().reportHeader);
        QVERIFY(l.pages.back().reportFooter);
        qsizetype next = 0;
        for (const Page& p : l.pages) {
            QCOMPARE(p.firstRow, next);
            double y = l.detailTop(r, p);
            for (qsizetype i = p.firstRow; i < p.endRow; ++i) y += l.rowHeights[size_t(i)];
            QVERIFY2(y <= kA4Area.height() - r.pageFooter.height + 1e-6, "row cut by the footer");
            if (rows) QVERIFY(p.endRow > p.firstRow);
            next = p.endRow;
        }
        QCOMPARE(next, qsizetype(rows));
        // One row more than fits would open another page: the pages are as full as they can be.
        if (rows > 1 && l.pageCount() > 1) {
            const Page& first = l.pages[0];
            double y = l.detailTop(r, first);
            for (qsizetype i = first.firstRow; i <= first.endRow; ++i)
                y += l.rowHeights[size_t(i)];
            QVERIFY(y > kA4Area.height() - r.pageFooter.height);
        }
    }

    // Long texts: one line is elided, a wrapping field grows to at most three lines, and no
    // line is wider than its column.
    void longTexts() {
        const TextMeasure m;
        Element one = label(QStringLiteral("x"), {}, 0, 0, 60);
        Element wrapped = detailField(QStringLiteral("y"), QStringLiteral("Name"), 0, 60);
        const QString longText = QStringLiteral("WORKSTATION-OF-THE-FINANCE-DEPARTMENT-LEVEL-12 "
                                                "and more words after it to run past three lines");
        const QStringList a = m.lines(longText, one, 60);
        QCOMPARE(a.size(), 1);
        QVERIFY(a[0].endsWith(QChar(0x2026)));
        const QStringList b = m.lines(longText, wrapped, 60);
        QCOMPARE(b.size(), 3);
        QVERIFY(b[2].endsWith(QChar(0x2026)));
        QCOMPARE(m.lines(QStringLiteral("short"), wrapped, 60), QStringList{"short"});
        QCOMPARE(m.lines(QStringLiteral("two\r\nlines"), wrapped, 60),
                 (QStringList{"two", "lines"}));
        QCOMPARE(m.lines(QStringLiteral("two\r\nlines"), one, 60), QStringList{"two lines"});
        // Each line fits its column as it is: measured on one line, nothing is cut.
        for (const QString& line : a) QCOMPARE(m.lines(line, one, 60).constFirst(), line);
        Element wrappedOnOneLine = wrapped;
        wrappedOnOneLine.maxLines = 1;
        for (const QString& line : b)
            QCOMPARE(m.lines(line, wrappedOnOneLine, 60).constFirst(), line);
    }

    // Painted, a long text stays left of the next column.
    void noOverlapOnThePage() {
        Report r = sample(1, QString(60, QLatin1Char('W')));
        r.rows[0][6].clear(); // the next column is empty: anything painted there overflowed
        const QImage page = renderPage(r, 0, kA4Area, 144);
        const TextMeasure m;
        const Layout l = layoutReport(r, kA4Area, m);
        const double scale = 144 / 72.0;
        const double top = l.detailTop(r, l.pages[0]);
        const int x0 = int((190 + 1) * scale), y0 = int(top * scale);
        const int y1 = int((top + l.rowHeights[0]) * scale);
        int dark = 0, darkInColumn = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) >= 128) continue;
                (x >= x0 ? dark : darkInColumn)++;
            }
        QVERIFY(darkInColumn > 0);
        QCOMPARE(dark, 0);
    }

    // A three-page PDF: every page numbered of three, the footer line and the printing time.
    void pdfPages() {
        const TextMeasure m;
        int rows = 0;
        while (layoutReport(sample(rows + 1), kA4Area, m).pageCount() < 3) ++rows;
        const Report r = sample(rows + 1);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("three.pdf"));
        QString error;
        QCOMPARE(writePdf(r, path, &error), 3);
        const QString text = test::pdfText(path);
        QVERIFY2(!text.isNull(), "pdftotext failed");
        for (int page = 1; page <= 3; ++page) {
            const QString footer = test::pdfPageLines(text, page).constLast();
            QVERIFY2(footer.startsWith(QLatin1String("This report was generate by Zorva system.")),
                     qPrintable(footer));
            QVERIFY2(footer.contains(QStringLiteral("09/03/2024 3:07:09 PM")), qPrintable(footer));
            QVERIFY2(footer.endsWith(QStringLiteral("Page : %1/3").arg(page)), qPrintable(footer));
            QVERIFY(test::pdfPageLines(text, page).join('\n').contains(
                QRegularExpression(QStringLiteral("IP Address +Hostname +Unit / Division"))));
        }
        QVERIFY(test::pdfPageLines(text, 1).constFirst().contains(QStringLiteral("Sample report")));
        QVERIFY(!test::pdfPageLines(text, 2).constFirst().contains(QStringLiteral("Sample")));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("10\\.1\\.0\\.1 +host +Unit 0\n"))));
        QVERIFY(text.contains(QStringLiteral("Unit %1").arg(rows)));
    }

    // The printer path (what the preview's Print runs) honours the chosen page range.
    void printerPageRange() {
        const TextMeasure m;
        int rows = 0;
        while (layoutReport(sample(rows + 1), kA4Area, m).pageCount() < 3) ++rows;
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
        printer.setPageLayout(reportPageLayout());
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        QVERIFY(printReport(sample(rows + 1), printer));
        const QString text = test::pdfText(dir.filePath(QStringLiteral("printed.pdf")));
        QCOMPARE(text.count(QLatin1Char('\f')), 2);
        QVERIFY(test::pdfPageLines(text, 1).constLast().endsWith(QStringLiteral("Page : 2/3")));
        QVERIFY(test::pdfPageLines(text, 2).constLast().endsWith(QStringLiteral("Page : 3/3")));
    }

    void pdfWriteFailureKeepsNothing() {
        QString error;
        QCOMPARE(writePdf(sample(3), QStringLiteral("/nonexistent-folder/x.pdf"), &error), 0);
        QVERIFY(!error.isEmpty());
    }

    void csvBytes() {
        Report r = sample(0);
        auto row = [](const QString& ip, const QString& name, const QString& unit) {
            QStringList fields(reportFields().size());
            fields[0] = ip;
            fields[1] = name;
            fields[6] = unit;
            return fields;
        };
        r.rows.push_back(row("10.0.0.1", "plain", "Unit, West"));
        r.rows.push_back(row("10.0.0.2", "say \"hi\"", "two\r\nlines"));
        r.rows.push_back(row("10.0.0.3", QStringLiteral("caf\u00e9"), ""));
        QCOMPARE(reportCsv(r),
                 QByteArray("IP Address,Hostname,Unit / Division\r\n"
                            "10.0.0.1,plain,\"Unit, West\"\r\n"
                            "10.0.0.2,\"say \"\"hi\"\"\",\"two\r\nlines\"\r\n"
                            "10.0.0.3,caf\xc3\xa9,\r\n"));
    }
};

QTEST_MAIN(TestReportRender)
#include "tst_report_render.moc"

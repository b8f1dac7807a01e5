// The report by date: its form's count and button rules, the inclusive range, the report it
// shows (read back from its PDF and CSV), and its main-window entry.
#include "platform/AppState.h"
#include "records/ReportTest.h"
#include "records/frmRptByDate.h"
#include "support/PlanTest.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zorva;
using namespace zorva::test;

namespace {
const QDate kStart(2024, 3, 1);
const QDate kEnd(2024, 3, 31);
} // namespace

class TestReportByDate : public ZorvaTest {
    Q_OBJECT

    void setUp() override { app().loginAs(); }

    // The form loaded with the range kStart..kEnd chosen.
    void open(frmRptByDate& f) {
        f.runLoad();
        f.DTPickerStart->setDate(kStart);
        f.DTPickerEnd->setDate(kEnd);
    }

private slots:
    void totalOfAllRecords_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << 0 << "Total Zorva records : 0";
        QTest::newRow("thousands") << 1234 << "Total Zorva records : 1,234";
    }
    void totalOfAllRecords() {
        QFETCH(int, records);
        QFETCH(QString, shown);
        addDatedRecords(app(), records, QDate(2020, 1, 1));
        frmRptByDate f;
        f.runLoad();
        QCOMPARE(f.windowTitle(), QStringLiteral("Zorva : Report by Date"));
        QCOMPARE(f.lblTotalZorvaRecords->text(), shown);
        QVERIFY(f.lblTotalAssignment->isHidden());
        QCOMPARE(f.cmdOK->text(), QStringLiteral("OK"));
    }

    // Both ends of the range count; the days just outside do not.
    void countIsInclusiveAndButtonTurnsToDisplay() {
        addDatedRecords(app(), 1200, kStart, 0);
        addDatedRecords(app(), 34, kEnd, 1200);
        addDatedRecords(app(), 5, kStart.addDays(-1), 1300);
        addDatedRecords(app(), 7, kEnd.addDays(1), 1400);
        app().exec(QStringLiteral("INSERT INTO IP_Info (IP_Address, DateIssue) VALUES "
                                  "('10.9.9.9', '2024-03-31 23:59:00')"));
        frmRptByDate f;
        open(f);
        f.cmdOK->click();
        QVERIFY(!f.lblTotalAssignment->isHidden());
        QCOMPARE(f.lblTotalAssignment->text(), QStringLiteral("1,235"));
        QCOMPARE(f.cmdOK->text(), QStringLiteral("Display"));
        QVERIFY(!f.cmdOK->isHidden());

        // Another date: the total goes, the button is "OK" again.
        f.DTPickerEnd->setDate(kEnd.addDays(-1));
        QVERIFY(f.lblTotalAssignment->isHidden());
        QCOMPARE(f.cmdOK->text(), QStringLiteral("OK"));
        f.cmdOK->click();
        QCOMPARE(f.lblTotalAssignment->text(), QStringLiteral("1,200"));
    }

    void noRecordsHideTheButtonUntilADateChanges() {
        addDatedRecords(app(), 3, QDate(2023, 1, 1));
        frmRptByDate f;
        open(f);
        f.cmdOK->click();
        QCOMPARE(f.lblTotalAssignment->text(), QStringLiteral("0"));
        QVERIFY(f.cmdOK->isHidden());
        f.DTPickerStart->setDate(QDate(2024, 2, 1));
        QVERIFY(!f.cmdOK->isHidden());
        QCOMPARE(f.cmdOK->text(), QStringLiteral("OK"));
        QVERIFY(f.lblTotalAssignment->isHidden());
        f.cmdOK->click();
        QCOMPARE(f.lblTotalAssignment->text(), QStringLiteral("0"));
        QVERIFY(f.cmdOK->isHidden());
    }

    // Display shows the report, in date order, with the header fields; it saves as PDF and CSV.
    // OK hides when the range holds nothing and the count shows: the dates stay where they are.
    void datesKeepTheirPlaceWhenOkHides() {
        frmRptByDate f;
        open(f);
        f.show();
        const QRect from = placeInWindow(f.DTPickerStart);
        const QRect to = placeInWindow(f.DTPickerEnd);
        f.cmdOK->click();
        QVERIFY(f.cmdOK->isHidden() && !f.lblTotalAssignment->isHidden());
        QCOMPARE(placeInWindow(f.DTPickerStart), from);
        QCOMPARE(placeInWindow(f.DTPickerEnd), to);
    }

    void displayShowsTheReport() {
        addRecord(app(), {"10.1.1.7", "PC-LATE", "PC", "Siti", "2024-03-20"});
        addRecord(app(), {"10.1.1.5", "PC-EARLY", "PC", "Ali, Abu", "2024-03-02"});
        addRecord(app(), {"10.1.1.6", "OUTSIDE", "PC", "Nobody", "2024-04-02"});
        frmRptByDate f;
        open(f);
        f.cmdOK->click();
        QCOMPARE(f.cmdOK->text(), QStringLiteral("Display"));
        QTemporaryDir dir;
        SavedReport saved;
        QString caption;
        QKeySequence printKey;
        sui().onModal(QStringLiteral("rptByDate"), [&](QDialog& preview) {
            caption = preview.windowTitle();
            if (auto* print = preview.findChild<QAction*>(QStringLiteral("actPrint")))
                printKey = print->shortcut();
            saved = saveReport(sui(), preview, dir.path());
            preview.reject();
        });
        f.cmdOK->click();
        QCOMPARE(sui().modalForms, QStringList{"rptByDate"});
        QCOMPARE(caption, QStringLiteral("Zorva : Report by Date"));
        const QStringList page = pdfPageLines(saved.pdf, 1);
        QVERIFY2(!page.isEmpty(), "no PDF text");
        QCOMPARE(page.value(0), QStringLiteral("Zorva : Report by Date"));
        QCOMPARE(simplified(page.value(1)), QStringLiteral("From Date : 01/03/2024 To Date : 31/03/2024"));
        QCOMPARE(simplified(page.value(2)), QStringLiteral("Total Assignment : 2"));
        QCOMPARE(simplified(page.value(3)), QStringLiteral("IP Address Hostname User Name Unit / Division"));
        QCOMPARE(simplified(page.value(4)), QStringLiteral("10.1.1.5 PC-EARLY Ali, Abu IT Unit"));
        QCOMPARE(simplified(page.value(5)), QStringLiteral("10.1.1.7 PC-LATE Siti IT Unit"));
        QVERIFY(page.value(6).startsWith(QStringLiteral("This report was generate by Zorva system.")));
        QVERIFY(page.value(6).endsWith(QStringLiteral("Page : 1/1")));
        QCOMPARE(saved.csv, QByteArray("IP Address,Hostname,User Name,Unit / Division\r\n"
                                       "10.1.1.5,PC-EARLY,\"Ali, Abu\",IT Unit\r\n"
                                       "10.1.1.7,PC-LATE,Siti,IT Unit\r\n"));
        // Said in the status bar, not in another box to close.
        QCOMPARE(saved.said, QStringList({"Report saved to " + dir.path() + "/saved.pdf (1 page)",
                                          "Report exported to " + dir.path() + "/saved.csv"}));
        QCOMPARE(printKey, QKeySequence(Qt::CTRL | Qt::Key_P));
    }

    // A file that cannot be written is reported; the preview stays open for another try.
    void unwritableFileIsReported() {
        addDatedRecords(app(), 2, kStart);
        frmRptByDate f;
        open(f);
        f.cmdOK->click();
        sui().onModal(QStringLiteral("rptByDate"), [&](QDialog& preview) {
            sui().answerFile(QStringLiteral("/nonexistent-folder/report.pdf"));
            preview.findChild<QAction*>(QStringLiteral("actSavePdf"))->trigger();
            const RecordedMessage m = sui().take();
            QCOMPARE(m.title, QStringLiteral("Error !!!"));
            QVERIFY2(m.text.startsWith(QStringLiteral(
                         "The file /nonexistent-folder/report.pdf could not be written: ")),
                     qPrintable(m.text));
            QVERIFY(preview.isVisible());
            sui().answerFile(QString()); // cancelled: nothing happens
            preview.findChild<QAction*>(QStringLiteral("actExportCsv"))->trigger();
            preview.reject();
        });
        f.cmdOK->click();
        QCOMPARE(sui().modalForms, QStringList{"rptByDate"});
    }

    // Records removed between the count and Display: nothing to show.
    void displayWithoutRecordsSaysNotFound() {
        addDatedRecords(app(), 2, kStart);
        frmRptByDate f;
        open(f);
        f.cmdOK->click();
        app().exec(QStringLiteral("DELETE FROM IP_Info"));
        f.cmdOK->click();
        QVERIFY(sui().takeText(QStringLiteral("Record not found ..."), QStringLiteral("Not Found")));
        QVERIFY(sui().modalForms.isEmpty());
    }

    void mainWindowEntryAndButton() {
        MDIFrmUtama main;
        auto* form = openFromMainWindow<frmRptByDate>(main, main.mnuRptByDate,
                                                      QStringLiteral("mReportByDate"));
        QVERIFY(form);
        QCOMPARE(form->lblTotalZorvaRecords->text(), QStringLiteral("Total Zorva records : 0"));
        form->cmdClose->click();
    }
};

QTEST_MAIN(TestReportByDate)
#include "tst_report_bydate.moc"

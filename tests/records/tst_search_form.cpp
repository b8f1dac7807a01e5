// The record search form driven as a user would: modes, searches, messages, the grid, the
// detail opened from it, deletion of a block, export, and the main window's entry.
#include "RecordsTest.h"
#include "app/MDIFrmUtama.h"
#include "support/PlanTest.h"
#include "records/RecordGridModel.h"
#include "records/RecordList.h"
#include "records/frmCarian.h"
#include "records/frmMaklumatIP.h"

#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTableView>

using namespace zorva;
using namespace zorva::test;

class TestSearchForm : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<frmCarian> form;

    void setUp() override {
        app().loginAs();
        addRecord(app(), "10.1.0.9", {{"Name", "PC-A"}, {"Username", "Ali, \"Boss\""}, {"Remarks", "ground floor"}});
        addRecord(app(), "10.10.0.3", {{"Name", "PC-B"}, {"Status", "Temporary"}, {"Remarks", "café"}});
        addRecord(app(), "10.100.2.4", {{"Name", "PC-C"}, {"Status", "Temporary"}});
        addRecord(app(), "10.2.0.1", {{"Name", "PC-D"}, {"StaffNo", "S'1"}});
        form = std::make_unique<frmCarian>();
        form->runLoad();
    }
    void tearDown() override {
        if (form && form->detailForm()) delete form->detailForm();
        form.reset();
    }

    void search(const QString& text) {
        typeInto(form->txtCarian, text);
        QTest::keyClick(form->txtCarian, Qt::Key_Return);
    }
    QStringList gridAddresses() {
        QStringList out;
        for (int r = 0; r < form->model()->rowCount(); ++r)
            out << form->model()->data(form->model()->index(r, 0)).toString();
        return out;
    }
    void selectRows(int from, int to) {
        auto* grid = form->gridCarian;
        grid->setCurrentIndex(form->model()->index(from, 0));
        grid->selectionModel()->select(
            QItemSelection(form->model()->index(std::min(from, to), 0),
                           form->model()->index(std::max(from, to), RecordGridModel::kColumns - 1)),
            QItemSelectionModel::ClearAndSelect);
    }
    void pressDelete() { QTest::keyClick(form->gridCarian, Qt::Key_Delete); }

private slots:
    void modes_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("matchOptions"); // visible options of FrameFor, "-" when hidden
        QTest::newRow("ip") << "Option1" << "Search For IP Address :" << "IP Address : "
                            << "Please enter IP Address ..." << "123";
        QTest::newRow("staff") << "Option2" << "Search For Staff No :" << "Staff No : "
                               << "Please enter Staff No ..." << "1";
        QTest::newRow("host") << "Option4" << "Search For Hostname :" << "Hostname : "
                              << "Please enter Hostname ..." << "1";
        QTest::newRow("remarks") << "Option5" << "Search For Remarks :" << "Remarks : "
                                 << "Please enter Remarks ..." << "-";
        QTest::newRow("user") << "Option6" << "Search For Username :" << "Username : "
                              << "Please enter Username ..." << "-";
    }
    void modes() {
        QFETCH(QString, option);
        QFETCH(QString, frame);
        QFETCH(QString, key);
        QFETCH(QString, prompt);
        QFETCH(QString, matchOptions);
        QVERIFY(showActive(form.get()));
        form->OptCarian2->click();
        search("10.1");
        QCOMPARE(form->model()->count(), qint64(3));
        child<QRadioButton>(form.get(), qPrintable(option))->click();
        QCOMPARE(form->frameIPAddress->title(), frame);
        QCOMPARE(form->lblCarian->text(), key);
        QCOMPARE(form->lblNota->text(), prompt);
        QCOMPARE(form->txtCarian->text(), QString());
        QCOMPARE(form->model()->rowCount(), 1); // cleared: header and one blank line
        QVERIFY(form->lblNotaCarian->isHidden());
        QVERIFY(!form->FrameLocation->isVisible());
        QString shown = form->FrameFor->isVisible() ? "" : "-";
        if (form->FrameFor->isVisible()) {
            if (form->OptCarian1->isVisible()) shown += '1';
            if (form->OptCarian2->isVisible()) shown += '2';
            if (form->OptCarian5->isVisible()) shown += '3';
        }
        QCOMPARE(shown, matchOptions);
        if (matchOptions == "1") QVERIFY(form->OptCarian1->isChecked());
        if (matchOptions == "-") QVERIFY(!form->OptCarian1->isChecked());
        if (matchOptions == "123") QVERIFY(form->OptCarian2->isChecked()); // selection kept
    }

    // The note under the grid comes with a result and goes with a new search type: Close stays
    // where it is.
    void closeKeepsItsPlace() {
        form->show();
        const QRect close = placeInWindow(form->cmdTutup);
        form->OptCarian2->click();
        search("10.");
        QVERIFY(form->lblNotaCarian->isVisible());
        QCOMPARE(placeInWindow(form->cmdTutup), close);
        form->Option2->click();
        QVERIFY(form->lblNotaCarian->isHidden());
        QCOMPARE(placeInWindow(form->cmdTutup), close);
    }

    void temporaryAllAndPrefix() {
        form->OptCarian5->click();
        QCOMPARE(form->txtCarian->text(), QString("ALL"));
        QTest::keyClick(form->txtCarian, Qt::Key_Return);
        QCOMPARE(gridAddresses(), (QStringList{"10.10.0.3", "10.100.2.4"}));
        QCOMPARE(form->lblNotaCarian->text(),
                 QString("2 record(s) found. Double Click on item to get detail info OR select "
                         "and use delete key to delete items."));
        QCOMPARE(form->gridCarian->toolTip(), QString("Double Click to get detail info ..."));
        search("all");
        QCOMPARE(sui().beeps(), 1);
        QVERIFY(sui().takeText("There're no record with TEMPORARY status for IP Address all in "
                               "Zorva database.",
                               "Not Found"));
        QCOMPARE(gridAddresses(), QStringList{""});
        QCOMPARE(form->lblNotaCarian->text(), QString());
        QCOMPARE(form->gridCarian->toolTip(), QString());
    }

    void refusals() {
        QTest::keyClick(form->txtCarian, Qt::Key_Return);
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QString("Please enter data ... "));
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.icon, Icon::Information);
        form->Option6->click();
        search("Al");
        m = sui().take();
        QVERIFY(m.text.startsWith("The search term you specified (Al) is under the minimum"));
        QCOMPARE(m.title, QString("Zorva"));
        QCOMPARE(sui().beeps(), 1); // the Username mode beeps first
        search("Ali");
        QCOMPARE(gridAddresses(), QStringList{"10.1.0.9"});
        form->Option5->click();
        search("fl");
        sui().take();
        QCOMPARE(sui().beeps(), 1); // Remarks does not beep
    }

    void singleHitOpensDetailUnlessDwiKlik() {
        form->Option2->click();
        search("S'1");
        QVERIFY(form->detailForm());
        QCOMPARE(form->detailForm()->txtIPAddress->text(), QString("10.2.0.1"));
        QVERIFY(form->detailForm()->isVisible());
        delete form->detailForm();
        form->dwiKlik = true;
        search("S'1");
        QCOMPARE(gridAddresses(), QStringList{"10.2.0.1"});
        QVERIFY(!form->detailForm());
    }

    void doubleClickOpensTheLine() {
        form->OptCarian2->click();
        search("10.");
        QCOMPARE(form->model()->count(), qint64(4));
        QVERIFY(!form->detailForm());
        form->gridCarian_DblClick(2);
        QVERIFY(form->detailForm());
        QCOMPARE(form->detailForm()->txtIPAddress->text(), gridAddresses().at(2));
    }

    void deleteBlockEitherDirection_data() {
        QTest::addColumn<bool>("bottomUp");
        QTest::newRow("top-down") << false;
        QTest::newRow("bottom-up") << true;
    }
    void deleteBlockEitherDirection() {
        QFETCH(bool, bottomUp);
        form->OptCarian2->click();
        search("10.");
        // Order by the fourth octet: 10.2.0.1, 10.10.0.3, 10.100.2.4, 10.1.0.9.
        bottomUp ? selectRows(2, 1) : selectRows(1, 2);
        // The header row cannot join the block: a click on it selects nothing.
        QHeaderView* header = form->gridCarian->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(0) + 5, header->height() / 2));
        QCOMPARE(form->gridCarian->selectionModel()->selectedRows().size(), 2);
        sui().answerNext(Button::No);
        pressDelete();
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QString("Are you sure you want to deleted the selected 2 record(s)?"));
        QCOMPARE(m.icon, Icon::Critical);
        QCOMPARE(m.buttons, Buttons(Button::Yes | Button::No));
        QCOMPARE(app().count("IP_Info"), 4);
        sui().answerNext(Button::Yes);
        pressDelete();
        sui().take();
        QCOMPARE(app().count("IP_Info"), 2);
        QCOMPARE(app().count("IP_Info", "IP_Address IN ('10.10.0.3', '10.100.2.4')"), 0);
        // The list was searched again.
        QCOMPARE(gridAddresses(), (QStringList{"10.2.0.1", "10.1.0.9"}));
        QVERIFY(form->gridCarian->isVisible() || !form->isVisible());
    }

    void deletingTheBlankLineDeletesNothing() {
        form->gridCarian->setCurrentIndex(form->model()->index(0, 0));
        sui().answerNext(Button::Yes);
        pressDelete();
        sui().take();
        sui().take(); // the search of the empty text box asks for data
        QCOMPARE(app().count("IP_Info"), 4);
    }

    void exportToCsv() {
        form->OptCarian2->click();
        search("10.1");
        const QString path = app().path("out.csv");
        sui().answerFile(path);
        form->exportToCsv();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray csv = f.readAll();
        const QList<QByteArray> lines = csv.split('\n');
        QVERIFY(lines.at(0).startsWith("IP_Address,IP_4,Name,Type,Region,"));
        QVERIFY(lines.at(0).endsWith("DateIssue,InputBy\r"));
        QVERIFY(lines.at(1).startsWith("10.10.0.3,3,PC-B,"));
        QVERIFY(lines.at(3).contains(",\"Ali, \"\"Boss\"\"\","));
        QVERIFY(csv.contains(QString("café").toUtf8()));
        QCOMPARE(lines.size(), 5); // heading, three records, the empty rest after the last CR LF
        QVERIFY(sui().fileRequests.last().save);
    }

    void largeGridFillsWithoutReadingItAll() {
        addManyRecords(app(), 100000);
        QElapsedTimer t;
        t.start();
        form->OptCarian5->click();
        QTest::keyClick(form->txtCarian, Qt::Key_Return);
        QCOMPARE(form->model()->count(), qint64(app().count("IP_Info", "Status = 'Temporary'")));
        QVERIFY(form->model()->count() > 30000);
        QVERIFY(form->model()->list().statements() < 10);
        QVERIFY(!form->model()->list().isCached(20000));
        QVERIFY(form->lblNotaCarian->text().startsWith(QString::number(form->model()->count()) + " record(s)"));
        qInfo("100,000 records, temporary ALL: %lld ms", qint64(t.elapsed()));
    }

    void mainWindowEntry() {
        MDIFrmUtama main;
        QAction* entry = main.findChild<QAction*>("mnuCarianRekod");
        QVERIFY(entry->isEnabled());
        QVERIFY(main.toolButton(QStringLiteral("mSearchRecord"))->isVisible());
        main.toolButton(QStringLiteral("mSearchRecord"))->trigger();
        entry->trigger();
        QCOMPARE(main.mdiArea->subWindowList().size(), 1);
        auto* f = qobject_cast<frmCarian*>(main.mdiArea->subWindowList().first()->widget());
        QVERIFY(f);
        QCOMPARE(f->windowTitle(), QString("Record Search"));
        QVERIFY(f->Option1->isChecked());
        // The detail opens beside it in the same area.
        f->Option2->click();
        typeInto(f->txtCarian, "S'1");
        f->cmdCari->click();
        QCOMPARE(main.mdiArea->subWindowList().size(), 2);
    }
};

QTEST_MAIN(TestSearchForm)
#include "tst_search_form.moc"

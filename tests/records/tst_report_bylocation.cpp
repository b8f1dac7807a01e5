// The report by location: the walk down the plan with this form's prefix label, segment box
// and equipment list, the report it prints (read back from its PDF and CSV), and its
// main-window entry.
#include "platform/Builders.h"
#include "records/ReportTest.h"
#include "records/frmRptByLocation.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

using namespace zorva;
using namespace zorva::test;

namespace {

// Picks an item as a click in the list would.
bool choose(QComboBox* box, const QString& text) {
    const int i = box->findText(text);
    if (i < 0) return false;
    box->setCurrentIndex(i);
    emit box->activated(i);
    return true;
}

QStringList items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

const QStringList kEquipment{"ALL", "Bob's Kit", "PC", "Printer", "Router", "Server", "Switch"};

} // namespace

class TestReportByLocation : public ZorvaTest {
    Q_OBJECT

    // Besides the initial database's segmented "Headquarters" and its equipment.
    void setUp() override {
        app().loginAs();
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL), ('Southern', 172, 1, 'SO')");
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern')");
        app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], Abbr_state, Region) "
                   "VALUES ('Alor Setar', 'AS', 5, 30, 'K', 'Northern'), "
                   "('Jitra', 'JT', 6, 0, 'K', 'Northern'), "
                   "('Tower A', 'TA', 7, 5, 'SO', 'Southern'), "
                   "('Tower B', 'TB', 8, NULL, 'SO', 'Southern')");
        app().exec("INSERT INTO Workgroup VALUES ('Admin', 'A', 4)");
        app().exec("INSERT INTO Equipment VALUES ('Bob''s Kit', 'BK', 241, 250)");
        // Admin in Alor Setar is 11.5.34 (4 + 30); in Jitra (offset 0) it is 11.6.0.
        addRecord(app(), {"11.5.34.20", "PRN-1", "Printer", "Ali", "2024-01-02"});
        addRecord(app(), {"11.5.34.3", "PC-3", "PC", "Siti", "2024-01-02"});
        addRecord(app(), {"11.5.34.241", "KIT-1", "Bob's Kit", "Bob", "2024-01-02"});
        addRecord(app(), {"11.5.35.1", "OTHER", "PC", "Nobody", "2024-01-02"});
        addRecord(app(), {"11.6.0.9", "JT-PC", "PC", "Ahmad", "2024-01-02"});
        addRecord(app(), {"11.6.34.9", "NOT-JT", "PC", "Nobody", "2024-01-02"});
        addRecord(app(), {"172.8.9.4", "SEG-PC", "PC", "Mei", "2024-01-02"});
        addRecord(app(), {"172.7.5.6", "TWR-A", "Server", "Raj", "2024-01-02"});
    }

    // The form walked to Northern / Kedah / city / Admin.
    void walk(frmRptByLocation& f, const QString& city) {
        f.runLoad();
        QVERIFY(choose(f.cboRegion, "Northern"));
        QVERIFY(choose(f.cboState, "Kedah"));
        QVERIFY(choose(f.cboCity, city));
        QVERIFY(choose(f.cboWorkGroup, "Admin"));
    }

    // Chooses the equipment, saves the report that opens, and returns it.
    SavedReport print(frmRptByLocation& f, const QString& equipment) {
        QTemporaryDir dir;
        SavedReport saved;
        sui().onModal(QStringLiteral("rptByLocation"), [&](QDialog& preview) {
            saved = saveReport(sui(), preview, dir.path());
            preview.reject();
        });
        choose(f.cboEquipment, equipment);
        return saved;
    }

private slots:
    void prefixLabelFillsAsTheWalkGoes() {
        frmRptByLocation f;
        f.runLoad();
        QCOMPARE(f.windowTitle(), QStringLiteral("Zorva : Report by Location"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: xxx.xxx.xxx.xxx"));
        QCOMPARE(f.txtTajukLaporan->text(), QStringLiteral("REPORT BY LOCATION"));
        QVERIFY(choose(f.cboRegion, "Northern"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 11.xxx.xxx.xxx"));
        QCOMPARE(f.cboState->currentText(), QStringLiteral("Kedah")); // the only state
        QCOMPARE(items(f.cboCity), (QStringList{"Alor Setar", "Jitra"}));
        QVERIFY(choose(f.cboCity, "Alor Setar"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 11.5.xxx.xxx"));
        QVERIFY(f.cboEquipment->count() == 0);
        QVERIFY(choose(f.cboWorkGroup, "Admin"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 11.5.34.xxx"));
        QCOMPARE(items(f.cboEquipment), kEquipment);
        QVERIFY(sui().modalForms.isEmpty()); // choosing the work group does not print
    }

    // "ALL": every type of the prefix, in fourth-octet order, with the header filled in.
    void allListsEveryTypeWithTheHeader() {
        frmRptByLocation f;
        walk(f, "Alor Setar");
        f.txtTajukLaporan->setText(QStringLiteral("KEDAH NETWORK"));
        const SavedReport saved = print(f, "ALL");
        QCOMPARE(sui().modalForms, QStringList{"rptByLocation"});
        const QStringList page = pdfPageLines(saved.pdf, 1);
        QVERIFY2(page.size() == 10, qPrintable(page.join('\n')));
        QCOMPARE(page[0], QStringLiteral("Zorva : KEDAH NETWORK"));
        QCOMPARE(simplified(page[1]), QStringLiteral("Area : Northern State : Kedah"));
        QCOMPARE(simplified(page[2]), QStringLiteral("City : Alor Setar WorkGroup : Admin"));
        QCOMPARE(simplified(page[3]), QStringLiteral("Segment : Equipment : ALL"));
        QCOMPARE(simplified(page[4]), QStringLiteral("Total Record : 3"));
        QCOMPARE(simplified(page[5]),
                 QStringLiteral("IP Address Hostname User Name Type Unit/Division"));
        QCOMPARE(simplified(page[6]), QStringLiteral("11.5.34.3 PC-3 Siti PC IT Unit"));
        QCOMPARE(simplified(page[7]), QStringLiteral("11.5.34.20 PRN-1 Ali Printer IT Unit"));
        QCOMPARE(simplified(page[8]), QStringLiteral("11.5.34.241 KIT-1 Bob Bob's Kit IT Unit"));
        QVERIFY(page[9].endsWith(QStringLiteral("Page : 1/1")));
    }

    void columnChoices_data() {
        QTest::addColumn<QString>("column2");
        QTest::addColumn<QString>("column4");
        QTest::addColumn<QString>("column5");
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("design choices")
            << "Hostname" << "Type/Equipment" << "Unit/Division"
            << QByteArray("IP Address,Hostname,User Name,Type,Unit/Division\r\n"
                          "11.5.34.3,PC-3,Siti,PC,IT Unit\r\n");
        QTest::newRow("type, project, remarks")
            << "Type/Equipment" << "Project" << "Remarks"
            << QByteArray("IP Address,Type,User Name,Project,Remarks\r\n"
                          "11.5.34.3,PC,Siti,P1,none\r\n");
        QTest::newRow("staff number")
            << "Hostname" << "Staff No." << "Remarks"
            << QByteArray("IP Address,Hostname,User Name,Staff No.,Remarks\r\n"
                          "11.5.34.3,PC-3,Siti,S001,none\r\n");
    }
    void columnChoices() {
        QFETCH(QString, column2);
        QFETCH(QString, column4);
        QFETCH(QString, column5);
        QFETCH(QByteArray, csv);
        frmRptByLocation f;
        walk(f, "Alor Setar");
        QVERIFY(choose(f.cboLajur2, column2));
        QVERIFY(choose(f.cboLajur4, column4));
        QVERIFY(choose(f.cboLajur5, column5));
        const SavedReport saved = print(f, "PC");
        QCOMPARE(saved.csv, csv);
        // The PDF's column headings are the CSV's.
        QStringList headings = QString::fromUtf8(csv.left(csv.indexOf('\r'))).split(',');
        for (QString& h : headings) h = QRegularExpression::escape(h);
        QVERIFY(saved.pdf.contains(QRegularExpression(headings.join(QStringLiteral(" +")))));
    }

    void equipmentWithAnApostrophe() {
        frmRptByLocation f;
        walk(f, "Alor Setar");
        const SavedReport saved = print(f, "Bob's Kit");
        QVERIFY(saved.csv.endsWith("\r\n11.5.34.241,KIT-1,Bob,Bob's Kit,IT Unit\r\n"));
        QVERIFY(saved.pdf.contains(QRegularExpression(QStringLiteral("Equipment : +Bob's Kit"))));
    }

    // A city whose offset is 0 reports third octet 0 whatever the work group.
    void cityWithOffsetZeroReportsOctetZero() {
        frmRptByLocation f;
        walk(f, "Jitra");
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 11.6.0.xxx"));
        const SavedReport saved = print(f, "ALL");
        QCOMPARE(saved.csv, QByteArray("IP Address,Hostname,User Name,Type,Unit/Division\r\n"
                                       "11.6.0.9,JT-PC,Ahmad,PC,IT Unit\r\n"));
    }

    void nothingFoundOpensNoReport() {
        frmRptByLocation f;
        walk(f, "Alor Setar");
        QVERIFY(choose(f.cboEquipment, "Router"));
        QVERIFY(sui().takeText(QStringLiteral("Record not found ..."), QStringLiteral("Not Found")));
        QVERIFY(sui().modalForms.isEmpty());
    }

    void segmentTypedInASegmentedArea() {
        frmRptByLocation f;
        f.runLoad();
        QVERIFY(choose(f.cboRegion, "Southern"));
        QVERIFY(f.cboState->isHidden());
        QVERIFY(f.lblState->isHidden());
        QCOMPARE(f.lblWorkGroup->text(), QStringLiteral("Segment :"));
        QVERIFY(f.cboWorkGroup->isHidden());
        QVERIFY(!f.txtSegment->isHidden());
        QCOMPARE(items(f.cboCity), (QStringList{"Tower A", "Tower B"}));
        QVERIFY(choose(f.cboCity, "Tower B"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 172.8.xxx.xxx"));

        // Enter without a segment asks for one.
        f.txtSegment->setFocus();
        QTest::keyClick(f.txtSegment, Qt::Key_Return);
        const RecordedMessage m = sui().take();
        QCOMPARE(m.text, QStringLiteral("Please enter Segment ... "));
        QCOMPARE(m.title, QStringLiteral("Segment ?"));
        QCOMPARE(m.icon, Icon::Warning);
        QVERIFY(f.cboEquipment->count() == 0);

        QTest::keyClicks(f.txtSegment, QStringLiteral("9"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 172.8.9.xxx"));
        QTest::keyClicks(f.txtSegment, QStringLiteral("x")); // not a number: refused
        QCOMPARE(f.txtSegment->text(), QStringLiteral("9"));
        QCOMPARE(sui().beeps(), 1);
        QTest::keyClick(f.txtSegment, Qt::Key_Return);
        QCOMPARE(items(f.cboEquipment), kEquipment);
        const SavedReport saved = print(f, "ALL");
        QVERIFY(saved.csv.endsWith("\r\n172.8.9.4,SEG-PC,Mei,PC,IT Unit\r\n"));
        QVERIFY(saved.pdf.contains(QRegularExpression(QStringLiteral("Southern +State : *\n"))));
        QVERIFY(saved.pdf.contains(QRegularExpression(QStringLiteral("Segment : +9 "))));
    }

    // A segmented city with its own octet 3 shows it, fixed, and offers the equipment at once.
    void segmentedCityFixesOctetThree() {
        frmRptByLocation f;
        f.runLoad();
        QVERIFY(choose(f.cboRegion, "Southern"));
        QVERIFY(choose(f.cboCity, "Tower A"));
        QCOMPARE(f.lblWorkGroup->text(), QStringLiteral("IP Octet 3 :"));
        QCOMPARE(f.txtSegment->text(), QStringLiteral("5"));
        QVERIFY(!isEditable(f.txtSegment));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 172.7.5.xxx"));
        QCOMPARE(items(f.cboEquipment), kEquipment);
        const SavedReport saved = print(f, "Server");
        QVERIFY(saved.csv.endsWith("\r\n172.7.5.6,TWR-A,Raj,Server,IT Unit\r\n"));
    }

    void areaUserGetsOnlyTheOwnArea() {
        app().addUser("KW1", "pw", "Area Admin", "Kawasan", "Northern");
        app().loginAs("KW1");
        frmRptByLocation f;
        f.runLoad();
        QCOMPARE(items(f.cboRegion), QStringList{"Northern"});
        QCOMPARE(f.cboRegion->currentText(), QStringLiteral("Northern"));
        QCOMPARE(f.lblIPOctet->text(), QStringLiteral("IP: 11.xxx.xxx.xxx"));
        QCOMPARE(f.cboState->currentText(), QStringLiteral("Kedah"));
    }

    void mainWindowEntryAndButton() {
        MDIFrmUtama main;
        auto* form = openFromMainWindow<frmRptByLocation>(main, main.mnuRptLocation,
                                                          QStringLiteral("mReportByLocation"));
        QVERIFY(form);
        QVERIFY(form->cboRegion->count() > 0);
        form->cmdButtonClose->click();
    }
};

QTEST_MAIN(TestReportByLocation)
#include "tst_report_bylocation.moc"

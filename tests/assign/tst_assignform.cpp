// The assignment form from opening to an offered address: the modes, the walk down the plan,
// the free-address search with its listing and counts, the full-range dialog, the subnet layout,
// the dedicated mode and the echo check.
#include "assign/frmIPRangePenuh.h"
#include "assign/frmZorvaMain.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "support/AssignPlan.h"
#include "support/FakeNet.h"

#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestAssignForm : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<FakePinger> pinger_;
    void setUp() override {
        pinger_ = std::make_unique<FakePinger>();
        app().loginAs();
    }
    void tearDown() override { pinger_.reset(); }

    static std::unique_ptr<frmZorvaMain> open(bool dedicated = false) {
        return openAssignForm(dedicated);
    }
    static QStringList items(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }

private slots:
    void modesAndFirstOpening_data() {
        QTest::addColumn<bool>("dedicated");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("countCaption");
        QTest::addRow("new") << false << "Assign New IP Address" << "Total Required :";
        QTest::addRow("dedicated") << true << "Assign Dedicated IP Address" << "IP Octet 4 :";
    }
    void modesAndFirstOpening() {
        QFETCH(bool, dedicated);
        QFETCH(QString, caption);
        QFETCH(QString, countCaption);
        // A new database holds only the placeholder city: the local settings come first.
        bool localShown = false;
        sui().onModal("frmLocalSetting", [&](QDialog& d) {
            localShown = true;
            d.reject();
        });
        auto f = open(dedicated);
        QVERIFY(localShown);
        QCOMPARE(f->windowTitle(), caption);
        QCOMPARE(f->lblTotalRequired->text(), countCaption);
        QCOMPARE(f->txtlblIPAddress->text(), QString("0.0.0.0"));
        QVERIFY(!f->cmdSave->isEnabled() && !f->cmdBatal->isEnabled());
        QVERIFY(f->txtSegment->isHidden() && !f->cboWorkGroup->isHidden());
        QCOMPARE(f->cboRegion->currentIndex(), -1);
        // With a plan of its own, no local settings.
        addAssignPlan(app());
        auto again = open(dedicated);
        QVERIFY(sui().modalForms.count("frmLocalSetting") == 1);
    }

    void walkAndPreviews() {
        addAssignPlan(app());
        auto f = open();
        QCOMPARE(items(f->cboRegion), QStringList({"Campus", "Headquarters", "Northern", "Solo"}));
        choose(f->cboRegion, "Solo"); // one state: chosen at once
        QCOMPARE(f->cboState->currentText(), QString("Sabah"));
        QCOMPARE(items(f->cboCity), QStringList({"Kota"}));
        choose(f->cboRegion, "Northern");
        QCOMPARE(f->cboState->currentIndex(), -1);
        choose(f->cboState, "Perak");
        choose(f->cboCity, "Taiping");
        choose(f->cboWorkGroup, "Finance");
        QCOMPARE(f->txtlblIPAddress->text(), QString("198.52.34.0")); // offset 30 + digit 4
        QCOMPARE(f->txtlblNamingConvention->text(), QString("_PFTPG0"));
        QCOMPARE(f->txtBilangan->text(), QString("1"));
        QCOMPARE(items(f->cboEquipment).last(), QString("Subnet Mask 252"));
        choose(f->cboState, "Kedah");
        choose(f->cboCity, "Alor Setar");
        choose(f->cboWorkGroup, "Finance");
        QCOMPARE(f->txtlblIPAddress->text(), QString("198.53.0.0")); // offset 0: octet 3 is 0
    }

    void numericBoxes_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addRow("segment 255") << "txtSegment" << "255" << "255";
        QTest::addRow("segment 256") << "txtSegment" << "256" << "25";
        QTest::addRow("segment -1") << "txtSegment" << "-1" << "1";
        QTest::addRow("segment 5.5") << "txtSegment" << "5.5" << "55";
        QTest::addRow("segment letters") << "txtSegment" << "ab" << "";
        QTest::addRow("count 256") << "txtBilangan" << "256" << "256";
        QTest::addRow("count 257") << "txtBilangan" << "257" << "25";
    }
    void numericBoxes() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        addAssignPlan(app());
        auto f = open();
        choose(f->cboRegion, "Campus");
        choose(f->cboCity, "Block B");
        auto* edit = f->findChild<QLineEdit*>(box);
        edit->clear();
        const int beepsBefore = sui().beeps();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), kept);
        QCOMPARE(sui().beeps() > beepsBefore, kept != typed);
    }

    void segmentedCities() {
        addAssignPlan(app());
        auto f = open();
        choose(f->cboRegion, "Campus");
        QVERIFY(f->cboState->isHidden() && f->cboWorkGroup->isHidden() && !f->txtSegment->isHidden());
        QCOMPARE(f->lblWorkGroup->text(), QString("Segment :"));
        // No segment typed yet: octet 3 reads 0, never an empty octet.
        QCOMPARE(f->txtlblIPAddress->text(), QString("192.0.0.0"));
        choose(f->cboCity, "Block B");
        QCOMPARE(f->txtlblIPAddress->text(), QString("192.0.0.0"));
        QTest::keyClicks(f->txtSegment, "7");
        QCOMPARE(f->txtlblIPAddress->text(), QString("192.0.7.0"));
        QCOMPARE(f->txtlblNamingConvention->text(), QString("_07BB0"));
        f->txtSegment->clear();
        QCOMPARE(f->txtlblIPAddress->text(), QString("192.0.0.0"));
        QTest::keyClicks(f->txtSegment, "7");
        choose(f->cboCity, "Block A");
        QCOMPARE(f->lblWorkGroup->text(), QString("IP Octet 3 :"));
        QCOMPARE(f->txtSegment->text(), QString("2"));
        QVERIFY(!isEditable(f->txtSegment));
        QCOMPARE(items(f->cboEquipment), QStringList({"IP Range 20 to 40"}));
        // The city's own range: .20 first, with "NW" and the octet as its sequence.
        choose(f->cboEquipment, "IP Range 20 to 40");
        auto* ip = f->findChild<QLineEdit*>("txtIPAddress");
        QCOMPARE(ip->text(), QString("192.0.2.20"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("NW02BA20"));
        QCOMPARE(f->findChild<QLineEdit*>("txtWorkGroup")->text(), QString("Segment"));
        // Cancel puts back the single entry and keeps the fixed octet 3.
        f->cmdBatal->click();
        QCOMPARE(items(f->cboEquipment), QStringList({"IP Range 20 to 40"}));
        QVERIFY(!isEditable(f->txtSegment));
    }

    void areaUser() {
        addAssignPlan(app());
        app().addUser("KAW", "pw", "Kawan", "Kawasan", "Northern");
        app().loginAs("KAW");
        auto f = open();
        QCOMPARE(items(f->cboRegion), QStringList({"Northern"}));
        QCOMPARE(f->cboRegion->currentText(), QString("Northern"));
        QCOMPARE(items(f->cboState), QStringList({"Kedah", "Perak"}));
    }

    void cascadeChecks() {
        addAssignPlan(app());
        auto f = open();
        choose(f->cboRegion, "Northern");
        choose(f->cboState, "Perak");
        choose(f->cboCity, "Ipoh");
        choose(f->cboEquipment, "Lab");
        QVERIFY(sui().takeText("Please select WorkGroup : ...", "Error !!!"));
        QVERIFY(!f->cmdSave->isEnabled());
        choose(f->cboRegion, "Campus");
        choose(f->cboCity, "Block B");
        choose(f->cboEquipment, "Lab");
        QVERIFY(sui().takeText("Please enter Segment : ...", "Error !!!"));
    }

    // The candidates of range 1..50 and 20..40 (equipment Lab and Cam) in 198.51.100.
    void candidates_data() {
        QTest::addColumn<QString>("equipment");
        QTest::addColumn<QList<int>>("recorded");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("hostName");
        QTest::addColumn<QString>("counts");
        QList<int> oneToTen, twoToFifty;
        for (int n = 1; n <= 10; ++n) oneToTen << n;
        for (int n = 2; n <= 50; ++n) twoToFifty << n;
        QTest::addRow("next after the last")
            << "Lab" << oneToTen << "198.51.100.11" << "LBPG" "IPH11"
            << "Total Records : 10   (Not Use : 40, IP Range 1 to 50)";
        QTest::addRow("gap after the end")
            << "Lab" << QList<int>{1, 2, 3, 4, 5, 50} << "198.51.100.6" << "LBPG" "IPH06"
            << "Total Records : 6   (Not Use : 44, IP Range 1 to 50)";
        QTest::addRow("gap at the start")
            << "Lab" << twoToFifty << "198.51.100.1" << "LBPG" "IPH01"
            << "Total Records : 49   (Not Use : 1, IP Range 1 to 50)";
        QTest::addRow("empty range") << "Cam" << QList<int>{} << "198.51.100.20" << "CMPG" "IPH01"
                                     << "Total Records :    (Not Use : 21, IP Range 20 to 40)";
    }
    void candidates() {
        QFETCH(QString, equipment);
        QFETCH(QList<int>, recorded);
        QFETCH(QString, address);
        QFETCH(QString, hostName);
        QFETCH(QString, counts);
        addAssignPlan(app());
        recordAddresses(app(), "198.51.100.", recorded);
        recordAddresses(app(), "198.51.10.", {11, 12}); // another block sharing the text
        auto f = open();
        walkToIpoh(*f);
        choose(f->cboEquipment, equipment);
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), address);
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), hostName);
        QCOMPARE(f->findChild<QLineEdit*>("txtNamaPeralatan")->text(), equipment);
        QCOMPARE(f->findChild<QLineEdit*>("txtWorkGroup")->text(), QString("General"));
        QCOMPARE(f->lblJumlah->text(), counts);
        QCOMPARE(f->lblJumlah->isHidden(), recorded.isEmpty());
        QCOMPARE(f->gridData->rowCount(), recorded.size());
        QCOMPARE(pinger_->pinged.size(), 4); // the candidate, four echoes without an answer
        QVERIFY(f->cmdSave->isEnabled() && !f->cboRegion->isEnabled());
        QCOMPARE(f->findChild<QComboBox*>("cboStatus")->currentText(), QString("Permanent"));
    }

    void fullRangeBorrowsAnother() {
        addAssignPlan(app());
        QList<int> all;
        for (int n = 1; n <= 50; ++n) all << n;
        recordAddresses(app(), "198.51.100.", all);
        auto f = open();
        walkToIpoh(*f);
        QStringList listed;
        QString caption;
        sui().onModal("frmIPRangePenuh", [&](QDialog& d) {
            auto& full = static_cast<frmIPRangePenuh&>(d);
            caption = full.lblPeralatanPenuh->text();
            listed = items(full.cboEquipment);
            QVERIFY(!full.cmdOK->isEnabled());
            choose(full.cboEquipment, "Printer");
            QCOMPARE(full.lblOctetMulaTamat->text(), QString("Octet 4 Start : 51  End : 70"));
            full.cmdOK->click();
        });
        choose(f->cboEquipment, "Lab");
        QCOMPARE(caption, QString("IP Address allocation for Lab is FULL !"));
        QCOMPARE(listed, QStringList({"Cam", "Dev", "PC", "Printer", "Router", "Server", "Switch", "Whole"}));
        // The first free address of the borrowed range, named after the borrowed type, filed
        // as the full one.
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.51"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("PRNPGIPH01"));
        QCOMPARE(f->findChild<QLineEdit*>("txtNamaPeralatan")->text(), QString("Lab"));
        QVERIFY(appState().gOwnRange);
        // Cancel in the dialog: the form as after its own Cancel.
        f->cmdBatal->click();
        sui().onModal("frmIPRangePenuh", [](QDialog& d) {
            static_cast<frmIPRangePenuh&>(d).cmdKeluar->click();
        });
        choose(f->cboEquipment, "Lab");
        QVERIFY(!f->cmdSave->isEnabled() && !f->cmdBatal->isEnabled() && f->cmdTutup->isEnabled());
        QVERIFY(f->cboRegion->isEnabled() && appState().gOwnRange);
        QCOMPARE(f->cboEquipment->currentIndex(), -1);
        // A later offer from another equipment's own range carries that equipment's name,
        // not the one found full earlier.
        choose(f->cboEquipment, "Whole");
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.51"));
        QCOMPARE(f->findChild<QLineEdit*>("txtNamaPeralatan")->text(), QString("Whole"));
    }

    // A segmented city's own range is full: another equipment's range is borrowed for one
    // offer; Cancel or the save puts the city's single entry back.
    void fullCityRangeBorrowsAnother_data() {
        QTest::addColumn<bool>("save");
        QTest::addRow("cancel") << false;
        QTest::addRow("save") << true;
    }
    void fullCityRangeBorrowsAnother() {
        QFETCH(bool, save);
        addAssignPlan(app());
        QList<int> all;
        for (int n = 20; n <= 40; ++n) all << n;
        recordAddresses(app(), "192.0.2.", all);
        auto f = open();
        choose(f->cboRegion, "Campus");
        choose(f->cboCity, "Block A");
        QString caption;
        QStringList listed;
        sui().onModal("frmIPRangePenuh", [&](QDialog& d) {
            auto& full = static_cast<frmIPRangePenuh&>(d);
            caption = full.lblPeralatanPenuh->text();
            listed = items(full.cboEquipment);
            choose(full.cboEquipment, "Dev");
            full.cmdOK->click();
        });
        choose(f->cboEquipment, "IP Range 20 to 40");
        QCOMPARE(caption, QString("IP Address allocation for NW is FULL !"));
        QVERIFY(listed.contains("Dev") && listed.contains("Lab"));
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("192.0.2.10"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("DV02BA01"));
        QCOMPARE(f->findChild<QLineEdit*>("txtNamaPeralatan")->text(), QString("IP Range 20 to 40"));
        if (save) {
            sui().answerNext(Button::Ok);
            f->cmdSave->click();
            QVERIFY(sui().takeText("Save record to Zorva database ?", "Save Record"));
            QCOMPARE(app().count("IP_Info", "IP_Address = '192.0.2.10' AND [Type] = 'IP Range 20 to 40'"), 1);
        } else {
            f->cmdBatal->click();
        }
        QCOMPARE(items(f->cboEquipment), QStringList({"IP Range 20 to 40"}));
        QVERIFY(!isEditable(f->txtSegment) && f->cboEquipment->isEnabled());
    }

    void dedicatedMode() {
        addAssignPlan(app());
        recordAddresses(app(), "198.51.100.", {12});
        auto f = open(true);
        walkToIpoh(*f);
        QCOMPARE(f->txtBilangan->text(), QString()); // not "1" in dedicated mode
        // No octet 4 typed: refused, and nothing laid out for the subnet entry either.
        for (const char* entry : {"Dev", "Subnet Mask 252"}) {
            choose(f->cboEquipment, entry);
            QVERIFY(sui().takeText("Please enter IP Octet 4 : ...", "Error !!!"));
        }
        QCOMPARE(app().count("IP_Info"), 1);
        QTest::keyClicks(f->txtBilangan, "7");
        choose(f->cboEquipment, "Dev");
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error : Not a valid IP Octet 4."));
        QCOMPARE(m.text, QString("Your IP Octet 4 is not in Dev IP range (10 - 20)!"));
        QVERIFY(isEditable(f->txtBilangan) && !f->cmdSave->isEnabled());
        f->txtBilangan->clear();
        QTest::keyClicks(f->txtBilangan, "12");
        choose(f->cboEquipment, "Dev");
        QVERIFY(sui().takeText("Selected IP Address already exist in Zorva database !", "IP Already exist!"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("H198.51.100.12"));
        QVERIFY(!f->cmdSave->isEnabled() && f->cmdBatal->isEnabled() && !f->cboRegion->isEnabled());
        f->cmdBatal->click();
        f->txtBilangan->clear();
        QTest::keyClicks(f->txtBilangan, "15");
        choose(f->cboEquipment, "Dev");
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.15"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("DVPGIPH06"));
        QVERIFY(f->cmdSave->isEnabled());
    }

    void subnetLayout() {
        addAssignPlan(app());
        auto f = open();
        walkToIpoh(*f);
        choose(f->cboEquipment, "Subnet Mask 252");
        QCOMPARE(app().count("IP_Info", "IP_Address LIKE '198.51.100.%'"), 128);
        QCOMPARE(app().count("IP_Info", "[Name] = 'NetworkIP' AND Remarks = 'Network IP' AND "
                                        "StateOwner = 'Perak' AND CityOwner = 'Ipoh'"),
                 64);
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.1"));
        QCOMPARE(f->findChild<QLineEdit*>("txtKodPeralatan")->text(), QString("NWPGIPH01"));
        sui().answerNext(Button::Ok);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save Record"));
        choose(f->cboEquipment, "Subnet Mask 252");
        QCOMPARE(app().count("IP_Info"), 129);
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.2"));
    }

    void detailKeysAndLimits() {
        addAssignPlan(app());
        auto f = open();
        walkToIpoh(*f);
        choose(f->cboEquipment, "Lab");
        f->show();
        QVERIFY(QTest::qWaitForWindowActive(f.get()) || true);
        auto* project = f->findChild<QLineEdit*>("txtProject");
        auto* remarks = f->findChild<QLineEdit*>("txtRemarks");
        QCOMPARE(QApplication::focusWidget(), project);
        QTest::keyClick(project, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), remarks);
        QTest::keyClick(remarks, Qt::Key_Return);
        QCOMPARE(f->SSTab1->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), f->findChild<QLineEdit*>("txtNamaPengguna"));
        QTest::keyClicks(project, QString(50, 'p'));
        const int beeps = sui().beeps();
        QTest::keyClicks(project, "q");
        QCOMPARE(project->text(), QString(50, 'p'));
        QCOMPARE(sui().beeps(), beeps + 1);
        remarks->setText(QString(150, 'r'));
        QTest::keyClicks(remarks, "s");
        QCOMPARE(remarks->text().size(), 150);
    }

    // A live address that is not recorded: shown in the in-use window, offered all the same,
    // and it does not take a place in the batch.
    void liveUnrecordedCandidate() {
        addAssignPlan(app());
        pinger_->live << "198.51.100.1";
        auto f = open();
        walkToIpoh(*f);
        f->txtBilangan->setText("3");
        QString shownFor;
        sui().onModal("frmIPAddGuna", [&](QDialog& d) {
            shownFor = static_cast<frmIPAddGuna&>(d).liveInfoAddress;
            d.reject();
        });
        choose(f->cboEquipment, "Lab");
        QCOMPARE(shownFor, QString("198.51.100.1"));
        QCOMPARE(f->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.1"));
        QCOMPARE(f->batch().counter, 0);
        QVERIFY(f->cmdSave->isEnabled());
        QCOMPARE(pinger_->pinged, QStringList({"198.51.100.1"}));
    }
};

QTEST_MAIN(TestAssignForm)
#include "tst_assignform.moc"

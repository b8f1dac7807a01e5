// The assignment form in scan mode, through a fake pinger: the big-scan question and the
// scan-range dialog, the pauses, recorded addresses passed without echo, the live host offered
// with its host name and location, saving it and going on, Stop.
#include "assign/ScanWalk.h"
#include "assign/frmNetScanRange.h"
#include "assign/frmZorvaMain.h"
#include "assign/AssignDetails.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "records/frmIPAddGuna.h"
#include "support/AssignPlan.h"
#include "support/FakeNet.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {
const QString kIpoh = QStringLiteral("198.51.100.");
const QString kFinished = QStringLiteral("Scan Network finished or Stopped !!!");
const QString kAllRecorded = QStringLiteral("All IP Address recorded ... ");
const QString kProceed = QStringLiteral("Proceed with 30 more ? ...");
} // namespace

class TestScanForm : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<FakePinger> pinger_;
    std::unique_ptr<frmZorvaMain> f;

    void setUp() override {
        pinger_ = std::make_unique<FakePinger>();
        app().loginAs();
        addAssignPlan(app());
        for (const char* sql : {"INSERT INTO Equipment VALUES ('Twenty', 'TW', 1, 20)",
                                "INSERT INTO Equipment VALUES ('ThirtyOne', 'TO', 1, 31)",
                                "INSERT INTO Equipment VALUES ('Forty', 'FT', 1, 40)",
                                "INSERT INTO Equipment VALUES ('Hundred', 'HU', 1, 100)"})
            app().exec(QString::fromLatin1(sql));
        appState().scanFlag = true;
        appState().dedicatedFlag = false;
        f = std::make_unique<frmZorvaMain>();
        f->runLoad();
    }
    void tearDown() override {
        f.reset();
        pinger_.reset();
    }

    void walkToIpoh() {
        choose(f->cboRegion, "Northern");
        choose(f->cboState, "Perak");
        choose(f->cboCity, "Ipoh");
        choose(f->cboWorkGroup, "General");
    }
    // The next big scan is answered Yes and started from the dialog's first entry.
    void startBigScan(int jumRange) {
        sui().answerNext(Button::Yes);
        sui().onModal("frmNetScanRange", [](QDialog& d) {
            static_cast<frmNetScanRange&>(d).cmdStart->click();
        });
        expectedQuestions_ << bigScanText(jumRange);
    }
    // Chooses the equipment and waits until the scan has ended or offered an address.
    bool scan(const QString& equipment) {
        choose(f->cboEquipment, equipment);
        QTRY_LOOP_IMPL(f->cmdTutup->isEnabled(), 10000, 20);
        return f->cmdTutup->isEnabled();
    }
    bool takeBigScanQuestion() {
        const RecordedMessage m = sui().take();
        return m.title == QLatin1String("Information") && m.icon == Icon::Information &&
               m.buttons == (Button::Yes | Button::No) && m.text == expectedQuestions_.takeFirst();
    }
    // The form back to choosing after a scan.
    void checkChoosing() {
        QVERIFY(!f->cmdSave->isEnabled());
        QCOMPARE(f->cmdBatal->text(), QString("Cancel"));
        QVERIFY(!f->cmdBatal->isEnabled());
        QVERIFY(f->cmdTutup->isEnabled());
        QVERIFY(f->cboEquipment->isEnabled() && f->cboRegion->isEnabled());
        QVERIFY(!isEditable(f->details->txtProject));
        QVERIFY(f->txtlblNamingConvention->text().isEmpty());
        QCOMPARE(f->i, 0);
    }
    QStringList expectedQuestions_;

private slots:
    void opensInScanMode() {
        QCOMPARE(f->windowTitle(), QString("Scan Network ..."));
        QCOMPARE(f->lblTotalRequired->text(), QString("Total Required :"));
        QVERIFY(!isEditable(f->txtBilangan));
        QCOMPARE(f->StartRange, 999);
    }

    void allRecordedWithoutEcho_data() {
        QTest::addColumn<QString>("equipment");
        QTest::addColumn<int>("end");
        QTest::newRow("20") << "Twenty" << 20;
        QTest::newRow("40: the big-scan question first") << "Forty" << 40;
    }
    void allRecordedWithoutEcho() {
        QFETCH(QString, equipment);
        QFETCH(int, end);
        walkToIpoh();
        QList<int> all;
        for (int o = 1; o <= end; ++o) all << o;
        recordAddresses(app(), kIpoh, all);
        if (end > 30) startBigScan(end);
        QVERIFY(scan(equipment));
        if (end > 30) QVERIFY(takeBigScanQuestion());
        QVERIFY(sui().takeText(kAllRecorded, "Information"));
        QCOMPARE(sui().beeps(), end > 30 ? 2 : 1);
        QVERIFY(pinger_->pinged.isEmpty());
        checkChoosing();
    }

    void bigScanOnlyAbove30() {
        walkToIpoh();
        // 31 addresses: asked first; No leaves the form choosing, nothing sent.
        sui().answerNext(Button::No);
        expectedQuestions_ << bigScanText(31);
        choose(f->cboEquipment, "ThirtyOne");
        QVERIFY(takeBigScanQuestion());
        QVERIFY(pinger_->pinged.isEmpty());
        checkChoosing();
        QCOMPARE(f->StartRange, 999);
        // 20 addresses: no question, the scan runs to its end.
        QVERIFY(scan("Twenty"));
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QCOMPARE(pinger_->pinged.size(), 20 * 4);
        checkChoosing();
    }

    void pausesEvery30Addresses() {
        walkToIpoh();
        startBigScan(100);
        for (int k = 0; k < 3; ++k) sui().answerNext(Button::Yes);
        QVERIFY(scan("Hundred"));
        QVERIFY(takeBigScanQuestion());
        for (int k = 0; k < 3; ++k) QVERIFY(sui().takeText(kProceed, "Proceed ?"));
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QCOMPARE(f->StartRange, 1);
        checkChoosing();

        // No at a pause: back to choosing without the end message.
        sui().answerNext(Button::No);
        QVERIFY(scan("Hundred"));
        QVERIFY(sui().takeText(kProceed, "Proceed ?"));
        checkChoosing();
    }

    void liveHostOfferedSavedAndScanGoesOn() {
        walkToIpoh();
        recordAddresses(app(), kIpoh, {1, 2, 3, 4, 5, 12});
        pinger_->live = {kIpoh + "7"};
        QString shownFor;
        sui().onModal("frmIPAddGuna", [&shownFor](QDialog& d) {
            auto& w = static_cast<frmIPAddGuna&>(d);
            shownFor = w.liveInfoAddress + " " + w.liveInfoNote;
            d.reject();
        });
        QVERIFY(scan("Twenty"));
        QCOMPARE(shownFor, kIpoh + "7 IP Address used ...");
        for (int o : {1, 2, 3, 4, 5, 12}) QVERIFY(!pinger_->pinged.contains(kIpoh + QString::number(o)));
        QCOMPARE(f->txtlblIPAddress->text(), kIpoh + "7");
        QCOMPARE(f->txtlblNamingConvention->text(), QString("TWPGIPH07"));
        const AssignDetails& d = *f->details;
        QCOMPARE(d.txtIPAddress->text(), kIpoh + "7");
        QCOMPARE(d.txtKodPeralatan->text(), QString("TWPGIPH07"));
        QCOMPARE(d.txtNamaPeralatan->text(), QString("Twenty"));
        QCOMPARE(d.cboStatus->currentText(), QString("Permanent"));
        QCOMPARE(d.txtWorkGroup->text(), QString("General"));
        QCOMPARE(d.txtNegeri->text(), QString("Perak"));
        QCOMPARE(d.txtBandar->text(), QString("Ipoh"));
        QVERIFY(f->cmdSave->isEnabled() && f->cmdBatal->isEnabled());
        QCOMPARE(f->cmdBatal->text(), QString("Cancel"));
        QVERIFY(!f->cboEquipment->isEnabled());
        QCOMPARE(f->i, 8);

        sui().answerNext(Button::Ok);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save Record"));
        QCOMPARE(app().count("IP_Info", "IP_Address = ? AND [Name] = 'TWPGIPH07' AND IP_4 = 7",
                             {kIpoh + "7"}),
                 1);
        QVERIFY(f->cboEquipment->isEnabled());
        QCOMPARE(f->i, 8);

        // The same equipment again: on at .8, .12 passed, the answers still fresh.
        pinger_->pinged.clear();
        pinger_->sweeps = 0;
        QVERIFY(scan("Twenty"));
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QCOMPARE(pinger_->sweeps, 0);
        checkChoosing();
    }

    void addressTakenMeanwhileScanGoesOn() {
        walkToIpoh();
        pinger_->live = {kIpoh + "7", kIpoh + "9"};
        QStringList shown;
        for (int k = 0; k < 2; ++k)
            sui().onModal("frmIPAddGuna", [&shown](QDialog& d) {
                shown << static_cast<frmIPAddGuna&>(d).liveInfoAddress;
                d.reject();
            });
        QVERIFY(scan("Twenty"));
        QTest::keyClicks(f->details->txtProject, "Audit");
        recordAddresses(app(), kIpoh, {7}); // another copy of the program was quicker
        sui().answerNext(Button::Ok);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        QVERIFY(sui().take().text.startsWith("IP Address 198.51.100.7 has just been recorded"));
        QTRY_COMPARE_WITH_TIMEOUT(f->details->txtIPAddress->text(), kIpoh + "9", 5000);
        QCOMPARE(shown, QStringList({kIpoh + "7", kIpoh + "9"}));
        QCOMPARE(f->details->txtKodPeralatan->text(), QString("TWPGIPH09"));
        QCOMPARE(f->details->txtProject->text(), QString("Audit"));
        QCOMPARE(f->i, 10);
    }

    void segmentedAreaAndSubnetEntry_data() {
        QTest::addColumn<QString>("equipment");
        QTest::addColumn<int>("live");
        QTest::addColumn<QString>("hostName");
        QTest::newRow("Dev 10-20") << "Dev" << 12 << "DV05BB03";
        QTest::newRow("Subnet Mask 252") << "Subnet Mask 252" << 6 << "NW05BB06";
    }
    void segmentedAreaAndSubnetEntry() {
        QFETCH(QString, equipment);
        QFETCH(int, live);
        QFETCH(QString, hostName);
        choose(f->cboRegion, "Campus");
        choose(f->cboCity, "Block B");
        QTest::keyClicks(f->txtSegment, "5");
        pinger_->live = {"192.0.5." + QString::number(live)};
        sui().onModal("frmIPAddGuna", [](QDialog& d) { d.reject(); });
        if (equipment.startsWith("Subnet")) startBigScan(256);
        QVERIFY(scan(equipment));
        if (equipment.startsWith("Subnet")) QVERIFY(takeBigScanQuestion());
        QCOMPARE(f->details->txtIPAddress->text(), "192.0.5." + QString::number(live));
        QCOMPARE(f->details->txtKodPeralatan->text(), hostName);
        QCOMPARE(f->details->txtWorkGroup->text(), QString("SEGMENT"));
        QCOMPARE(f->details->txtNegeri->text(), QString("Campus"));
        QCOMPARE(f->details->txtBandar->text(), QString("Block B"));
        // Cancel: the next scan starts again from the range start, with its question.
        f->cmdBatal->click();
        QCOMPARE(f->i, 0);
        QCOMPARE(f->StartRange, 999);
    }

    void stopEndsTheScan() {
        walkToIpoh();
        pinger_->roundMs = 300;
        startBigScan(100);
        QTimer::singleShot(100, f->cmdBatal, [this] {
            QCOMPARE(f->cmdBatal->text(), QString("Stop"));
            f->cmdBatal->click();
        });
        QVERIFY(scan("Hundred"));
        // Cancel gives Close back at once; the walk ends at its next address.
        QTRY_COMPARE_WITH_TIMEOUT(sui().pendingMessages(), 2, 2000);
        QVERIFY(takeBigScanQuestion());
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QCOMPARE(pinger_->sweeps, 1); // the sweep under way was abandoned after its round
        QCOMPARE(f->StartRange, 999);
        checkChoosing();
    }

    // Another entry chosen right after Stop, while the stopped sweep's round is still out: the
    // stopped scan ends with its message and does not walk on; the new entry is scanned next.
    void entryChosenWhileTheStoppedScanWindsDown() {
        walkToIpoh();
        pinger_->roundMs = 300;
        startBigScan(100);
        QTimer::singleShot(100, f->cmdBatal, [this] {
            f->cmdBatal->click();
            choose(f->cboEquipment, "Twenty");
        });
        choose(f->cboEquipment, "Hundred");
        QTRY_COMPARE_WITH_TIMEOUT(sui().pendingMessages(), 3, 5000);
        QVERIFY(takeBigScanQuestion());
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QVERIFY(sui().takeText(kFinished, "Finish"));
        QTRY_VERIFY(f->cmdTutup->isEnabled());
        // One abandoned round for 1-100, then the four rounds of 1-20; nothing past .20 again.
        QCOMPARE(pinger_->sweeps, 5);
        QCOMPARE(pinger_->pinged.count(kIpoh + "21"), 1);
        QCOMPARE(pinger_->pinged.count(kIpoh + "20"), 5);
        checkChoosing();
    }
};

QTEST_MAIN(TestScanForm)
#include "tst_scan_form.moc"

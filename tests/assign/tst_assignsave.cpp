// Saving from the assignment form: the row, the log entry, the duplicate host name, batches
// with their questions and the auto-save chain, a second copy taking the address, database and
// log failures, the unit list.
#include "assign/AssignLog.h"
#include "assign/frmZorvaMain.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Session.h"
#include "support/AssignPlan.h"
#include "support/FakeNet.h"
#include "support/TestServer.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestAssignSave : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<FakePinger> pinger_;
    void setUp() override {
        pinger_ = std::make_unique<FakePinger>();
        app().loginAs();
        addAssignPlan(app());
    }
    void tearDown() override { pinger_.reset(); }

    std::unique_ptr<frmZorvaMain> offer(const QString& count = "1", const QString& equipment = "Lab",
                                        bool dedicated = false) {
        auto f = openAssignForm(dedicated);
        walkToIpoh(*f);
        f->txtBilangan->setText(count);
        choose(f->cboEquipment, equipment);
        return f;
    }
    QLineEdit* box(frmZorvaMain& f, const char* name) { return f.findChild<QLineEdit*>(name); }
    void typeDetails(frmZorvaMain& f) {
        QTest::keyClicks(box(f, "txtProject"), "Rollout");
        QTest::keyClicks(box(f, "txtNamaPengguna"), "Siti O'Hara");
        QTest::keyClicks(box(f, "txtStaffNo"), "S123");
    }
    QByteArray log() {
        QFile file(assignLogPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool choosing(frmZorvaMain& f) {
        return !f.cmdSave->isEnabled() && !f.cmdBatal->isEnabled() && f.cmdTutup->isEnabled() &&
               f.cboRegion->isEnabled() && f.cmdBatal->text() == "Cancel";
    }
    void confirmSave(frmZorvaMain& f) {
        sui().answerNext(Button::Ok);
        f.cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save Record"));
    }

private slots:
    void singleSaveWithUnit_data() {
        QTest::addColumn<bool>("withUnit");
        QTest::addRow("no unit") << false;
        QTest::addRow("unit") << true;
    }
    void singleSaveWithUnit() {
        QFETCH(bool, withUnit);
        app().exec("INSERT INTO UnitDivision VALUES ('IT Unit', 'Level 3', 'Menara', 'Jalan Satu', "
                   "'30000', 'Ipoh', 'Perak', 'Northern', 'Perak', 'Ipoh')");
        auto f = offer();
        QSignalSpy said(&session(), &Session::announced);
        typeDetails(*f);
        if (withUnit) {
            f->SSTab1->setCurrentIndex(1);
            QVERIFY(!f->findChild<QLabel*>("PicUnitDivision")->isHidden());
            choose(f->findChild<QComboBox*>("cboUnitDivision"), "IT Unit");
            QCOMPARE(box(*f, "txtJalan")->text(), QString("Jalan Satu"));
        }
        confirmSave(*f);
        QVERIFY(choosing(*f));
        QCOMPARE(said.size(), 1);
        QCOMPARE(said.first().first().toString(), QString("Address 198.51.100.1 saved"));
        QCOMPARE(app().count("IP_Info",
                             "IP_Address = '198.51.100.1' AND IP_4 = 1 AND [Name] = 'LBPGIPH01' AND "
                             "[Type] = 'Lab' AND Region = 'Northern' AND StateOwner = 'Perak' AND "
                             "CityOwner = 'Ipoh' AND Workgroup = 'General' AND Status = 'Permanent' "
                             "AND Project = 'Rollout' AND Username = ? AND StaffNo = 'S123' AND "
                             "DateIssue = ? AND InputBy = 'Administrator'",
                             {"Siti O'Hara", QDate::currentDate().toString(Qt::ISODate)}),
                 1);
        QCOMPARE(app().count("IP_Info", withUnit ? "UnitDivision = 'IT Unit' AND Roadname = 'Jalan Satu'"
                                                 : "UnitDivision IS NULL"),
                 1);
        QCOMPARE(f->gridData->rowCount(), 1);
        QCOMPARE(f->lblJumlah->text(), QString("Total Records : 1"));
        const QByteArray entry = log();
        const QByteArray rule(53, '-');
        QVERIFY(entry.startsWith("Date Assign : " + QDate::currentDate().toString("dd/MM/yyyy").toUtf8() + " ("));
        QByteArray expected = "\r\n" + rule + "\r\nIP Address\t: 198.51.100.1\r\nHostname\t: LBPGIPH01\r\n"
                              "Equipment\t: Lab\r\nUsername\t: Siti O'Hara\r\n";
        if (withUnit)
            expected += "Unit/Division\t: IT Unit\r\nAddress\t\t: Level 3, Menara\r\n"
                        "       \t\t  Jalan Satu\r\n       \t\t  30000, Ipoh\r\n       \t\t  Perak\r\n";
        QVERIFY(entry.endsWith(expected + rule + "\r\n"));
        QCOMPARE(entry.count("\r\n"), withUnit ? 12 : 7);
    }

    void cancelAtTheConfirmation() {
        auto f = offer();
        sui().answerNext(Button::Cancel);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        QCOMPARE(app().count("IP_Info"), 0);
        QVERIFY(f->cmdSave->isEnabled());
        f->cmdBatal->click();
        QVERIFY(choosing(*f));
    }

    void duplicateHostNames() {
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES ('198.51.100.200', 200, ?)",
                   {"O'HOST"});
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES ('198.51.10.9', 9, 'LBPGIPH01')");
        auto f = offer();
        box(*f, "txtKodPeralatan")->setText("o'host");
        f->SSTab1->setCurrentIndex(1);
        f->cmdSave->click();
        QVERIFY(sui().takeText("o'host - Duplicate hostname with IP 198.51.100.200!", "Duplicate Hostname"));
        QCOMPARE(f->SSTab1->currentIndex(), 0);
        QCOMPARE(app().count("IP_Info"), 2);
        // The suggested name, kept, is not looked up.
        box(*f, "txtKodPeralatan")->setText("LBPGIPH01");
        confirmSave(*f);
        QCOMPARE(app().count("IP_Info", "[Name] = 'LBPGIPH01'"), 2);
    }

    void batchWithTheSameDetails() {
        auto f = offer("3");
        QSignalSpy said(&session(), &Session::announced);
        QCOMPARE(f->lblBilangan->text(), QString("1"));
        typeDetails(*f);
        choose(f->findChild<QComboBox*>("cboStatus"), "Temporary");
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Yes);
        sui().answerNext(Button::Yes);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        RecordedMessage same = sui().take();
        QCOMPARE(same.title, QString("Confirmation"));
        QVERIFY(same.text.startsWith("Use the same user details for the next 2 IP assignment?"));
        QCOMPARE(sui().take().title, QString("Auto-Save"));
        QTRY_COMPARE(app().count("IP_Info"), 3);
        QCOMPARE(app().count("IP_Info", "Project = 'Rollout' AND Username = ? AND StaffNo = 'S123' "
                                        "AND Status = 'Temporary'",
                             {"Siti O'Hara"}),
                 3);
        QTRY_VERIFY(choosing(*f));
        QCOMPARE(log().count("Date Assign : "), 3);
        QCOMPARE(said.last().first().toString(), QString("3 addresses saved (the last 198.51.100.3)"));
        QCOMPARE(f->batch().counter, 0);
        QVERIFY(!f->batch().autoSave);
    }

    void batchAnsweredNo() {
        auto f = offer("2");
        typeDetails(*f);
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::No);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        QCOMPARE(sui().take().title, QString("Confirmation")); // no auto-save question after No
        QTRY_COMPARE(box(*f, "txtIPAddress")->text(), QString("198.51.100.2"));
        QCOMPARE(box(*f, "txtProject")->text(), QString());
        QCOMPARE(f->lblBilangan->text(), QString("2"));
        confirmSave(*f);
        QVERIFY(choosing(*f));
        QCOMPARE(app().count("IP_Info"), 2);
    }

    // The unit chosen for the first row goes with its postal address to every row of the
    // batch, whether the rows are auto-saved or saved one by one.
    void batchKeepsTheUnitWithItsAddress_data() {
        QTest::addColumn<bool>("autoSave");
        QTest::addRow("auto-save") << true;
        QTest::addRow("saved one by one") << false;
    }
    void batchKeepsTheUnitWithItsAddress() {
        QFETCH(bool, autoSave);
        app().exec("INSERT INTO UnitDivision VALUES ('IT Unit', 'Level 3', 'Menara', 'Jalan Satu', "
                   "'30000', 'Ipoh', 'Perak', 'Northern', 'Perak', 'Ipoh')");
        auto f = offer("3");
        typeDetails(*f);
        f->SSTab1->setCurrentIndex(1);
        auto* unit = f->findChild<QComboBox*>("cboUnitDivision");
        choose(unit, "IT Unit");
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Yes);
        sui().answerNext(autoSave ? Button::Yes : Button::No);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        QCOMPARE(sui().take().title, QString("Confirmation"));
        QCOMPARE(sui().take().title, QString("Auto-Save"));
        for (int next = 2; !autoSave && next <= 3; ++next) {
            QTRY_COMPARE(box(*f, "txtIPAddress")->text(), QString("198.51.100.%1").arg(next));
            QCOMPARE(unit->currentText(), QString("IT Unit"));
            QCOMPARE(box(*f, "txtPoskod")->text(), QString("30000"));
            confirmSave(*f);
        }
        QTRY_COMPARE(app().count("IP_Info"), 3);
        QTRY_VERIFY(choosing(*f));
        QCOMPARE(app().count("IP_Info", "UnitDivision = 'IT Unit' AND Floor = 'Level 3' AND "
                                        "Building = 'Menara' AND Roadname = 'Jalan Satu' AND "
                                        "Postcode = '30000' AND City = 'Ipoh' AND State = 'Perak'"),
                 3);
        const QByteArray entries = log();
        QCOMPARE(entries.count("Unit/Division\t: IT Unit\r\nAddress\t\t: Level 3, Menara\r\n"), 3);
        QVERIFY(!entries.contains(": , "));
    }

    // 256 auto-saved addresses from the event loop; then Stop honoured between two saves.
    void autoSaveChainAndStop() {
        auto f = offer("256", "Whole");
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Yes);
        sui().answerNext(Button::Yes);
        f->cmdSave->click();
        for (int m = 0; m < 3; ++m) sui().take();
        QTRY_COMPARE_WITH_TIMEOUT(app().count("IP_Info"), 256, 120000);
        QTRY_VERIFY(choosing(*f));
        QCOMPARE(app().count("IP_Info", "IP_Address = '198.51.100.255' AND [Name] = 'WHPGIPH6Q'"), 1);

        app().exec("DELETE FROM IP_Info");
        f->txtBilangan->setText("10");
        choose(f->cboEquipment, "Whole");
        sui().answerNext(Button::Ok);
        sui().answerNext(Button::Yes);
        sui().answerNext(Button::Yes);
        f->cmdSave->click();
        for (int m = 0; m < 3; ++m) sui().take();
        QCOMPARE(app().count("IP_Info"), 1);
        QCoreApplication::processEvents(); // one more address is saved
        QCOMPARE(app().count("IP_Info"), 2);
        QCOMPARE(f->cmdBatal->text(), QString("Stop"));
        f->cmdBatal->click();
        QTest::qWait(50);
        QCOMPARE(app().count("IP_Info"), 2);
        QVERIFY(choosing(*f));
    }

    // Another copy records the offered address before this one saves it.
    // Another copy records the offered address before this one saves it. New mode offers the
    // next free address; dedicated mode takes another octet 4. What was typed stays.
    void addressTakenMeanwhile_data() {
        QTest::addColumn<bool>("dedicated");
        QTest::addColumn<QString>("taken");
        QTest::addColumn<QString>("next");
        QTest::addRow("new") << false << "198.51.100.1" << "198.51.100.2";
        QTest::addRow("dedicated") << true << "198.51.100.15" << "198.51.100.16";
    }
    void addressTakenMeanwhile() {
        QFETCH(bool, dedicated);
        QFETCH(QString, taken);
        QFETCH(QString, next);
        auto f = dedicated ? offer("15", "Dev", true) : offer();
        QCOMPARE(box(*f, "txtIPAddress")->text(), taken);
        typeDetails(*f);
        {
            QSqlDatabase other = openOtherCopy("other copy");
            QVERIFY(runSqlOn(other, "INSERT INTO IP_Info (IP_Address, IP_4, [Name]) "
                                    "VALUES (?, ?, 'THEIRS')",
                             {taken, taken.section('.', 3).toInt()}));
        }
        closeConnection("other copy");
        sui().answerNext(Button::Ok);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY2(m.text.contains(taken + " "), qPrintable(m.text));
        QCOMPARE(app().count("IP_Info"), 1);
        QVERIFY(log().isEmpty());
        if (dedicated) {
            QVERIFY(!f->cmdSave->isEnabled() && isEditable(f->txtBilangan));
            f->txtBilangan->clear();
            QTest::keyClicks(f->txtBilangan, "16");
            choose(f->cboEquipment, "Dev");
        }
        // The next free address, with what was typed.
        QCOMPARE(box(*f, "txtIPAddress")->text(), next);
        QCOMPARE(box(*f, "txtProject")->text(), QString("Rollout"));
        QCOMPARE(box(*f, "txtNamaPengguna")->text(), QString("Siti O'Hara"));
        confirmSave(*f);
        QCOMPARE(app().count("IP_Info", "IP_Address = ? AND Project = 'Rollout'", {next}), 1);
        QCOMPARE(log().count("Date Assign : "), 1);
    }

    void databaseAndLogFailures_data() {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("reason");
        QTest::addRow("read-only") << false << "readonly";
        QTest::addRow("locked by another copy") << true << "locked";
    }
    void databaseAndLogFailures() {
        QFETCH(bool, locked);
        QFETCH(QString, reason);
        auto f = offer();
        typeDetails(*f);
        QSqlDatabase other;
        if (onServer()) {
            QVERIFY(refuseWrites(true));
            reason = refusedWriteWords();
        } else if (locked) {
            // Another copy in the middle of a write: it holds the file's write lock throughout.
            other = openDatabaseFile(app().dbPath(), "other copy");
            QVERIFY(runSqlOn(other, "BEGIN IMMEDIATE"));
        } else {
            QVERIFY(runSql("PRAGMA query_only = ON"));
        }
        sui().answerNext(Button::Ok);
        f->cmdSave->click();
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY2(m.text.contains(reason), qPrintable(m.text));
        QVERIFY(log().isEmpty());
        QVERIFY(f->cmdSave->isEnabled() && f->cmdTutup->isEnabled());
        QCOMPARE(box(*f, "txtProject")->text(), QString("Rollout"));
        if (onServer()) {
            QVERIFY(refuseWrites(false));
        } else if (locked) {
            QVERIFY(runSqlOn(other, "ROLLBACK"));
            other = QSqlDatabase();
            closeConnection("other copy");
        } else {
            QVERIFY(runSql("PRAGMA query_only = OFF"));
        }
        QCOMPARE(app().count("IP_Info"), 0);
        // A log that cannot be written: the row stays.
        QVERIFY(QDir(app().folder()).mkdir("AssignLog.txt"));
        confirmSave(*f);
        QVERIFY(sui().takeText("Error !!! No info available ... ", "Error !!!"));
        QCOMPARE(app().count("IP_Info"), 1);
        QVERIFY(choosing(*f));
    }

    void dedicatedSaveAsksNothing() {
        auto f = offer("15", "Dev", true);
        QCOMPARE(box(*f, "txtIPAddress")->text(), QString("198.51.100.15"));
        confirmSave(*f);
        QCOMPARE(app().count("IP_Info", "IP_Address = '198.51.100.15' AND [Name] = 'DVPGIPH06'"), 1);
        QVERIFY(!f->cmdSave->isEnabled() && f->cboRegion->isEnabled());
    }

    // The unit directory opened from the form shows the place; closing it refills the list.
    void unitDirectoryRefillsTheList() {
        auto f = offer();
        f->SSTab1->setCurrentIndex(1);
        UnitDivisionCaller seen;
        sui().onModal("frmUnitDivision", [&](QDialog& d) {
            auto& dir = static_cast<frmUnitDivision&>(d);
            seen = dir.caller;
            app().exec("INSERT INTO UnitDivision (UnitDivision, RegionOwner, StateOwner, CityOwner) "
                       "VALUES ('New Unit', 'Northern', 'Perak', 'Ipoh')");
            dir.unload();
        });
        QTest::mouseClick(f->findChild<QLabel*>("PicUnitDivision"), Qt::LeftButton);
        QVERIFY(seen.fromAssignment);
        QCOMPARE(seen.area + "|" + seen.state + "|" + seen.city, QString("Northern|Perak|Ipoh"));
        auto* units = f->findChild<QComboBox*>("cboUnitDivision");
        QCOMPARE(units->count(), 1);
        QCOMPARE(units->itemText(0), QString("New Unit"));
    }
};

QTEST_MAIN(TestAssignSave)
#include "tst_assignsave.moc"

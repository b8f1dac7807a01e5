// The record detail form, opened from the search form as a user would: view, edit, save,
// cancel, delete, the unit list of the record's place, the unit directory and Live Info.
#include "RecordsTest.h"
#include "platform/Builders.h"
#include "support/PlanTest.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
#include "records/RecordGridModel.h"
#include "records/frmCarian.h"
#include "records/frmIPAddressUsed.h"
#include "records/frmMaklumatIP.h"

#include <QComboBox>
#include <QDate>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>

using namespace zorva;
using namespace zorva::test;

namespace {
void addUnit(AppFixture& app, const QString& unit, const QString& region, const QString& state,
             const QString& city, const QString& floor) {
    app.exec("INSERT INTO UnitDivision (UnitDivision, Floor, Building, Roadname, Postcode, City, "
             "State, RegionOwner, StateOwner, CityOwner) VALUES (?,?,?,?,?,?,?,?,?,?)",
             {unit, floor, "Menara", "Jalan 1", "50000", city, state, region, state, city});
}
} // namespace

class TestRecordDetail : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<frmCarian> search;

    void setUp() override {
        app().loginAs();
        addRecord(app(), "10.1.0.9",
                  {{"Name", "PC-A"}, {"Type", "PC"}, {"Status", "Permanent"}, {"Region", "North"},
                   {"StateOwner", "Perak"}, {"CityOwner", "Ipoh"}, {"UnitDivision", "IT"},
                   {"Floor", "L3"}, {"Username", "O'Brien"}, {"DateIssue", "2020-02-03"},
                   {"InputBy", "Someone"}, {"Remarks", "two\nlines"}});
        addRecord(app(), "10.1.0.10",
                  {{"Name", "PC-B"}, {"Region", "Seg"}, {"CityOwner", "Kota"},
                   {"UnitDivision", "Gone"}, {"Floor", "L9"}});
        addRecord(app(), "10.1.0.11", {{"Name", "PC-C"}});
        addUnit(app(), "IT", "North", "Perak", "Ipoh", "L3");
        addUnit(app(), "HR", "North", "Perak", "Ipoh", "L5");
        addUnit(app(), "Other state", "North", "Kedah", "Ipoh", "L1");
        addUnit(app(), "Seg unit", "Seg", "", "Kota", "G");
        addUnit(app(), "Seg unit 2", "Seg", "Any", "Kota", "G2");
        search = std::make_unique<frmCarian>();
        search->runLoad();
    }
    void tearDown() override { search.reset(); }

    // Searches an address exactly: the single hit opens the detail.
    frmMaklumatIP* open(const QString& address) {
        typeInto(search->txtCarian, address);
        search->cmdCari->click();
        return search->detailForm();
    }
    QStringList units(frmMaklumatIP* d) {
        QStringList out;
        for (int i = 0; i < d->cboUnitDivision->count(); ++i) out << d->cboUnitDivision->itemText(i);
        return out;
    }

private slots:
    void viewMode() {
        frmMaklumatIP* d = open("10.1.0.9");
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), QString("IP Address Details ..."));
        QCOMPARE(d->txtKodPeralatan->text(), QString("PC-A"));
        QCOMPARE(d->txtRemarks->toPlainText(), QString("two\nlines"));
        QCOMPARE(d->cboStatus->currentText(), QString("Permanent"));
        QCOMPARE(d->lblNotaUpdate->text(), QString("Last Update by Someone on 03/02/2020"));
        QCOMPARE(d->SSTab1->currentIndex(), 0);
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Update"));
        QCOMPARE(d->cmdHapus->text(), QString("Delete"));
        QVERIFY(!isEditable(d->txtKodPeralatan));
        // Data the user cannot change now: readable, not greyed out.
        QVERIFY(d->txtKodPeralatan->isEnabled());
        QCOMPARE(d->txtKodPeralatan->palette().color(QPalette::Base),
                 d->txtKodPeralatan->palette().color(QPalette::Window));
        QVERIFY(!d->cmdLiveInfo->isEnabled());
        QVERIFY(d->PicUnitDivision->isHidden());
        d->cmdKemaskiniSimpan->click();
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Save"));
        QCOMPARE(d->cmdHapus->text(), QString("Cancel"));
        QVERIFY(isEditable(d->txtKodPeralatan));
        QVERIFY(!isEditable(d->txtIPAddress));
        QVERIFY(!isEditable(d->txtTingkat));
        QVERIFY(d->txtIPAddress->isEnabled() && d->txtIPAddress->isReadOnly());
        QVERIFY(d->txtKodPeralatan->palette().color(QPalette::Base) !=
                d->txtKodPeralatan->palette().color(QPalette::Window));
        QVERIFY(d->cmdLiveInfo->isEnabled());
        QVERIFY(!d->PicUnitDivision->isHidden());
    }

    void recordNotFound() {
        frmMaklumatIP d;
        d.detailQuery = addressQuery("10.9.9.9");
        d.runLoad();
        QCOMPARE(sui().beeps(), 1);
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QString("Record not found !"));
        QCOMPARE(m.title, QString("Error"));
        QCOMPARE(d.txtIPAddress->text(), QString());
        d.cmdKemaskiniSimpan->click(); // nothing to edit
        QCOMPARE(d.cmdKemaskiniSimpan->text(), QString("Update"));
    }

    void emptyStatusAndUnitKeepTheStoredValuesOnSave() {
        frmMaklumatIP* d = open("10.1.0.10");
        QCOMPARE(d->cboStatus->count(), 0);
        QCOMPARE(d->cboStatus->currentText(), QString());
        d->cmdKemaskiniSimpan->click();
        QCOMPARE(d->cboStatus->count(), 2); // edit mode fills the list
        QCOMPARE(d->cboStatus->currentText(), QString());
        typeInto(d->txtKodPeralatan, "PC-B2");
        sui().answerNext(Button::Cancel);
        d->cmdKemaskiniSimpan->click();
        QCOMPARE(sui().take().text, QString("Save record to Zorva database ?"));
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Save")); // still editing
        sui().answerNext(Button::Ok);
        d->cmdKemaskiniSimpan->click();
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Save Record"));
        QCOMPARE(app().scalar("SELECT [Name] FROM IP_Info WHERE IP_Address = '10.1.0.10'").toString(), QString("PC-B2"));
        QCOMPARE(app().scalar("SELECT UnitDivision FROM IP_Info WHERE IP_Address = '10.1.0.10'").toString(), QString("Gone"));
        QCOMPARE(app().scalar("SELECT Status FROM IP_Info WHERE IP_Address = '10.1.0.10'").toString(), QString());
        QCOMPARE(app().scalar("SELECT DateIssue FROM IP_Info WHERE IP_Address = '10.1.0.10'").toString(),
                 QDate::currentDate().toString(Qt::ISODate));
        // The last editor is shown, and the search form lists the new host name.
        QCOMPARE(d->lblNotaUpdate->text(), "Last Update by " + appState().gUserName + " on " +
                                               QDate::currentDate().toString("dd/MM/yyyy"));
        QCOMPARE(d->cmdKemaskiniSimpan->text(), QString("Update"));
        QVERIFY(!isEditable(d->txtKodPeralatan));
        QCOMPARE(search->model()->data(search->model()->index(0, 1)).toString(), QString("PC-B2"));
    }

    void cancelShowsTheStoredValues() {
        frmMaklumatIP* d = open("10.1.0.9");
        d->cmdKemaskiniSimpan->click();
        typeInto(d->txtKodPeralatan, "changed");
        d->cmdHapus->click();
        QCOMPARE(d->txtKodPeralatan->text(), QString("PC-A"));
        QCOMPARE(d->cmdHapus->text(), QString("Delete"));
        QCOMPARE(app().count("IP_Info", "[Name] = 'changed'"), 0);
    }

    void unitListOfThePlace() {
        frmMaklumatIP* d = open("10.1.0.9");
        d->SSTab1->setCurrentIndex(1);
        QCOMPARE(units(d), (QStringList{"HR", "IT"}));
        QCOMPARE(d->cboUnitDivision->currentText(), QString("IT")); // the record's unit
        QCOMPARE(d->txtTingkat->text(), QString("L3"));
        // Choosing a unit fills the postal boxes from it.
        d->cmdKemaskiniSimpan->click();
        d->cboUnitDivision->setCurrentIndex(0);
        emit d->cboUnitDivision->activated(0);
        QCOMPARE(d->txtTingkat->text(), QString("L5"));
        QCOMPARE(d->txtBandar->text(), QString("Ipoh"));
    }

    void noStateListsAreaAndCityUnitsAndAVanishedUnitEmptiesTheAddress() {
        frmMaklumatIP* d = open("10.1.0.10");
        QCOMPARE(d->txtTingkat->text(), QString("L9"));
        d->SSTab1->setCurrentIndex(1);
        QCOMPARE(units(d), (QStringList{"Seg unit", "Seg unit 2"}));
        QCOMPARE(d->cboUnitDivision->currentText(), QString());
        QCOMPARE(d->txtTingkat->text(), QString());
        QCOMPARE(d->txtNegeri->text(), QString());
    }

    void deleteInBeginWithSearchesAgainWithoutOpening() {
        search->OptCarian2->click();
        typeInto(search->txtCarian, "10.1.0.1");
        search->cmdCari->click();
        QCOMPARE(search->model()->count(), qint64(2)); // 10.1.0.10, 10.1.0.11
        search->gridCarian_DblClick(0);
        frmMaklumatIP* d = search->detailForm();
        sui().answerNext(Button::Ok);
        d->cmdHapus->click();
        QCOMPARE(sui().take().title, QString("Delete Record"));
        QCOMPARE(app().count("IP_Info"), 2);
        QCOMPARE(search->model()->count(), qint64(1));
        QVERIFY(search->dwiKlik);
        QTRY_VERIFY(!search->detailForm()); // closed, and the one hit left not opened
    }

    void deleteInExactModeDisablesTheGrid() {
        frmMaklumatIP* d = open("10.1.0.11");
        sui().answerNext(Button::Ok);
        d->cmdHapus->click();
        sui().take();
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.1.0.11'"), 0);
        QVERIFY(!search->gridCarian->isEnabled());
        QCOMPARE(search->lblNotaCarian->text(), QString());
        QVERIFY(!search->dwiKlik);
    }

    void liveInfoOpensWithoutBlocking() {
        frmMaklumatIP* d = open("10.1.0.9");
        d->cmdKemaskiniSimpan->click();
        d->cmdLiveInfo->click();
        QVERIFY(sui().modalForms.isEmpty());
        frmIPAddressUsed* w = d->liveInfoWindow();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->txtlblIPAddress->text(), QString("10.1.0.9"));
        QCOMPARE(w->lblTelahGuna->text(), QString("IP Address used. Click Detail Info ..."));
        d->cmdTutup->click();
        QTRY_VERIFY(!w->isVisible() || w->isUnloaded());
    }

    void unitDirectoryForTheRecordsPlace() {
        frmMaklumatIP* d = open("10.1.0.9");
        d->cmdKemaskiniSimpan->click();
        d->SSTab1->setCurrentIndex(1);
        QTest::mouseClick(d->PicUnitDivision, Qt::LeftButton);
        frmUnitDivision* u = d->unitDirectory();
        QVERIFY(u && u->isVisible());
        QVERIFY(u->caller.fromRecordDetail);
        QCOMPARE(u->caller.area, QString("North"));
        QCOMPARE(u->caller.state, QString("Perak"));
        QCOMPARE(u->caller.city, QString("Ipoh"));
        QCOMPARE(listTexts(u->lstUnitDivision), (QStringList{"HR", "IT"}));
        // A unit added there is offered when the directory closes.
        addUnit(app(), "New unit", "North", "Perak", "Ipoh", "L7");
        u->unload();
        QCOMPARE(units(d), (QStringList{"HR", "IT", "New unit"}));
        QCOMPARE(d->cboUnitDivision->currentText(), QString("IT"));
    }
};

QTEST_MAIN(TestRecordDetail)
#include "tst_record_detail.moc"

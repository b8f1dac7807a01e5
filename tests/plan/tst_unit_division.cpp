#include "plan/frmUnitDivision.h"
#include "platform/RecordCycle.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"

#include <QComboBox>

using namespace zorva;
using namespace zorva::test;

class TestUnitDivision : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmUnitDivision> form;

    void setUp() override {
        app().loginAs();
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL)");
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern')");
        app().exec("INSERT INTO State VALUES ('Penang', 'K', 'Island')"); // same code elsewhere
        app().exec("INSERT INTO City VALUES ('Alor Setar', 'AS', 5, 10, 0, 0, 'K', 'Northern')");
        app().exec("INSERT INTO City VALUES ('Georgetown', 'GT', 6, 10, 0, 0, 'K', 'Island')");
        app().exec("INSERT INTO UnitDivision (UnitDivision, RegionOwner, StateOwner, CityOwner) "
                   "VALUES ('Finance', 'Northern', 'Kedah', 'Alor Setar')");
        form = std::make_unique<frmUnitDivision>();
    }
    void tearDown() override { form.reset(); }

    QLineEdit* box(const char* name) { return child<QLineEdit>(form.get(), name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(form.get(), name); }
    QListWidget* list() { return child<QListWidget>(form.get(), "lstUnitDivision"); }
    void choose(const char* comboName, const QString& text) {
        const int i = combo(comboName)->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        combo(comboName)->setCurrentIndex(i);
    }
    void save() {
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdSimpan");
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
    }

private slots:
    void fromMenuTwoUnitsOfOneName() {
        QVERIFY(showActive(form.get()));
        QCOMPARE(form->windowTitle(), QString("Unit / Division Setting"));
        QVERIFY(!child<QPushButton>(form.get(), "cmdTambah")->isEnabled());
        choose("cboRegion", "Northern");
        QCOMPARE(combo("cboState")->currentText(), QString("Kedah")); // the only state
        QCOMPARE(combo("cboCity")->count(), 1); // not the city of the other area's code K
        choose("cboCity", "Alor Setar");
        QCOMPARE(listTexts(list()), QStringList({"Finance"}));
        click(form.get(), "cmdTambah");
        QVERIFY(!combo("cboRegion")->isEnabled());
        QCOMPARE(box("txtBandar")->text(), QString("Alor Setar"));
        QCOMPARE(box("txtNegeri")->text(), QString("Kedah"));
        click(form.get(), "cmdSimpan");
        QVERIFY(sui().takeText("Please enter Unit / Division !", "Error !"));
        QCOMPARE(QApplication::focusWidget(), box("txtUnitDivision"));
        typeInto(box("txtUnitDivision"), "Finance");
        typeInto(box("txtJalan"), "Jalan Raja");
        save();
        QCOMPARE(app().count("UnitDivision", "UnitDivision = 'Finance' AND StateOwner = 'Kedah' "
                                             "AND CityOwner = 'Alor Setar'"),
                 2);
        QCOMPARE(listTexts(list()), QStringList({"Finance", "Finance"}));
        QVERIFY(combo("cboRegion")->isEnabled());
        // The second line shows the second unit; Update changes only it
        list()->setCurrentRow(1);
        emit list()->itemClicked(list()->item(1));
        QCOMPARE(box("txtJalan")->text(), QString("Jalan Raja"));
        click(form.get(), "cmdKemaskini");
        typeInto(box("txtJalan"), "Jalan Baru");
        save();
        QCOMPARE(app().count("UnitDivision", "Roadname = 'Jalan Baru'"), 1);
        QCOMPARE(app().count("UnitDivision"), 2);
    }

    void addCancelThenUpdateAddsNone() {
        QVERIFY(showActive(form.get()));
        choose("cboRegion", "Northern");
        choose("cboCity", "Alor Setar");
        click(form.get(), "cmdTambah");
        typeInto(box("txtUnitDivision"), "Temp");
        click(form.get(), "cmdBatal");
        QVERIFY(combo("cboRegion")->isEnabled());
        QVERIFY(clickRow(list(), "Finance"));
        click(form.get(), "cmdKemaskini");
        typeInto(box("txtUnitDivision"), "Finance Dept");
        save();
        QCOMPARE(app().count("UnitDivision"), 1);
        QCOMPARE(listTexts(list()), QStringList({"Finance Dept"}));
        QVERIFY(clickRow(list(), "Finance Dept"));
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdHapus");
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete Record"));
        QCOMPARE(app().count("UnitDivision"), 0);
    }

    void callerPlaceFixedSegmentedWithoutState() {
        int refreshed = 0;
        form->caller.fromAssignment = true;
        form->caller.area = "Headquarters";
        form->caller.city = "IT Division";
        form->caller.hasState = false;
        form->caller.refresh = [&refreshed] { ++refreshed; };
        app().exec("INSERT INTO UnitDivision (UnitDivision, RegionOwner, StateOwner, CityOwner) "
                   "VALUES ('Helpdesk', 'Headquarters', NULL, 'IT Division')");
        QVERIFY(showActive(form.get()));
        QVERIFY(!combo("cboState")->isVisible());
        QVERIFY(!combo("cboRegion")->isEnabled());
        QVERIFY(!combo("cboCity")->isEnabled());
        QCOMPARE(combo("cboCity")->currentText(), QString("IT Division"));
        QCOMPARE(listTexts(list()), QStringList({"Helpdesk"}));
        QVERIFY(child<QPushButton>(form.get(), "cmdTambah")->isEnabled());
        QVERIFY(!child<QPushButton>(form.get(), "cmdKemaskini")->isEnabled());
        click(form.get(), "cmdTambah");
        QCOMPARE(box("txtBandar")->text(), QString("IT Division"));
        QVERIFY(box("txtNegeri")->text().isEmpty());
        typeInto(box("txtUnitDivision"), "Network Team");
        save();
        QCOMPARE(app().count("UnitDivision", "UnitDivision = 'Network Team' AND RegionOwner = "
                                             "'Headquarters' AND CityOwner = 'IT Division' AND "
                                             "StateOwner IS NULL"),
                 1);
        QVERIFY(!combo("cboRegion")->isEnabled()); // still the caller's place
        QCOMPARE(refreshed, 0);
        click(form.get(), "cmdTutup");
        QCOMPARE(refreshed, 1);
    }

    void callerWithStateAndCloseBox() {
        int refreshed = 0;
        form->caller.fromRecordDetail = true;
        form->caller.area = "Northern";
        form->caller.state = "Kedah";
        form->caller.city = "Alor Setar";
        form->caller.hasState = true;
        form->caller.refresh = [&refreshed] { ++refreshed; };
        QVERIFY(showActive(form.get()));
        QCOMPARE(combo("cboState")->currentText(), QString("Kedah"));
        QVERIFY(!combo("cboState")->isEnabled());
        QCOMPARE(listTexts(list()), QStringList({"Finance"}));
        form->close();
        QCOMPARE(refreshed, 1);
    }

    void menuCloseRunsNoRefresh() {
        int refreshed = 0;
        form->caller.refresh = [&refreshed] { ++refreshed; };
        QVERIFY(showActive(form.get()));
        click(form.get(), "cmdTutup");
        QVERIFY(form->isUnloaded());
        QCOMPARE(refreshed, 0);
    }
};

QTEST_MAIN(TestUnitDivision)
#include "tst_unit_division.moc"

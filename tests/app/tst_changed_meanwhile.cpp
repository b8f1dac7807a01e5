// A row another copy of the program deleted between the form reading it and the user's Save or
// Delete: every form says so with the one message, writes nothing, reads its list again and
// stays usable.
#include "plan/frmIPAddressSettings.h"
#include "plan/frmLocalSetting.h"
#include "plan/frmUnitDivision.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "records/RecordGridModel.h"
#include "records/RecordsTest.h"
#include "records/frmCarian.h"
#include "records/frmMaklumatIP.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"
#include "support/TestServer.h"
#include "users/frmUser.h"

#include <QComboBox>
#include <QTabWidget>

using namespace zorva;
using namespace zorva::test;

class TestChangedMeanwhile : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<QWidget> form;

    void setUp() override {
        app().loginAs();
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL)");
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern')");
        app().exec("INSERT INTO City VALUES ('Alor Setar', 'AS', 5, 10, 0, 0, 'K', 'Northern')");
        app().exec("INSERT INTO UnitDivision (UnitDivision, RegionOwner, StateOwner, CityOwner) "
                   "VALUES ('Finance', 'Northern', 'Kedah', 'Alor Setar')");
        app().addUser("ZED", "z", "Zed", "HQ");
    }
    void tearDown() override { form.reset(); }

    // What another running copy of the program does meanwhile, on its own connection.
    void otherCopyRuns(const QString& sql) {
        {
            QSqlDatabase other = openOtherCopy(QStringLiteral("other copy"));
            QString error;
            QVERIFY2(runSqlOn(other, sql, {}, &error), qPrintable(error));
        }
        closeConnection(QStringLiteral("other copy"));
    }
    // Answers the question with Ok while the other copy runs sql.
    void okWhileOtherCopyRuns(const QString& sql) {
        sui().answerNext(Button::Ok, [this, sql] { otherCopyRuns(sql); });
    }
    void expectChangedMeanwhile() {
        const RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QCOMPARE(m.text, QString("This record was changed or deleted by another user meanwhile. "
                                 "Nothing was written."));
    }
    void choose(const QString& comboName, const QString& text) {
        auto* box = child<QComboBox>(form.get(), qPrintable(comboName));
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box->setCurrentIndex(i);
    }

private slots:
    // The forms of the record cycle: the five settings tabs, the unit directory, the users.
    void recordCycle_data() {
        QTest::addColumn<QString>("kind");     // settings, unit or user
        QTest::addColumn<int>("tab");          // of the settings form
        QTest::addColumn<QStringList>("place"); // combo, entry, combo, entry ...
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("suffix");   // of the cycle's button names
        QTest::addColumn<QString>("edit");     // the box Update changes
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("where");    // the row
        struct Form {
            const char* name;
            QString kind;
            int tab;
            QStringList place;
            QString list, row, suffix, edit, typed, table, where;
        };
        const Form forms[] = {
            {"area", "settings", 0, {}, "LstRegion", "Northern", "Region", "txtIPOctet1", "12",
             "Region", "Region = 'Northern'"},
            {"state", "settings", 1, {"cboRegionState", "Northern"}, "lstState", "Kedah", "State",
             "txtStateName", "Kedah Darul Aman", "State", "State_name = 'Kedah'"},
            {"city", "settings", 2, {"cboRegionCity", "Northern", "cboStateCity", "Kedah"},
             "lstBandarCity", "Alor Setar", "City", "txtBandar", "Alor Star", "City",
             "City_name = 'Alor Setar'"},
            {"work group", "settings", 3, {}, "lstWorkgroup", "General", "Workgroup",
             "txtWorkgroupName", "Common", "Workgroup", "Workgroup_name = 'General'"},
            {"equipment", "settings", 4, {}, "lstEquipment", "PC", "Equipment",
             "txtEquipmentName", "Desktop", "Equipment", "Eqp_name = 'PC'"},
            {"unit", "unit", 0, {"cboRegion", "Northern", "cboCity", "Alor Setar"},
             "lstUnitDivision", "Finance", "", "txtTingkat", "Level 2", "UnitDivision",
             "UnitDivision = 'Finance'"},
            {"user", "user", 0, {}, "lstUserName", "Zed", "", "txtEmail", "zed@example.org",
             "UserID", "UserID = 'ZED'"},
        };
        for (const Form& f : forms)
            for (const bool erase : {false, true})
                QTest::addRow("%s, %s", f.name, erase ? "delete" : "save")
                    << f.kind << f.tab << f.place << f.list << f.row << f.suffix
                    << (erase ? QString() : f.edit) << f.typed << f.table << f.where;
    }
    void recordCycle() {
        QFETCH(QString, kind);
        QFETCH(int, tab);
        QFETCH(QStringList, place);
        QFETCH(QString, list);
        QFETCH(QString, row);
        QFETCH(QString, suffix);
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, table);
        QFETCH(QString, where);
        if (kind == "settings") {
            auto* settings = new frmIPAddressSettings;
            form.reset(settings);
            QVERIFY(showActive(settings));
            settings->SSTabSetting->setCurrentIndex(tab);
        } else if (kind == "unit") {
            form = std::make_unique<frmUnitDivision>();
            QVERIFY(showActive(form.get()));
        } else {
            // A mail server set, so that the form does not ask for one.
            QVERIFY(WriteIni("Network", "SMTP", "127.0.0.1"));
            auto* users = new frmUser;
            form.reset(users);
            users->runLoad();
            QVERIFY(showActive(users));
        }
        for (qsizetype i = 0; i + 1 < place.size(); i += 2) choose(place[i], place[i + 1]);
        auto* lines = child<QListWidget>(form.get(), qPrintable(list));
        QVERIFY(clickRow(lines, row));
        const int rows = app().count(table);
        const QString gone = "DELETE FROM " + table + " WHERE " + where;
        if (edit.isEmpty()) {
            okWhileOtherCopyRuns(gone);
            click(form.get(), qPrintable("cmdHapus" + suffix));
            QVERIFY(sui().takeText("Delete record from Zorva database ?"));
        } else {
            click(form.get(), qPrintable("cmdKemaskini" + suffix));
            typeInto(child<QLineEdit>(form.get(), qPrintable(edit)), typed);
            okWhileOtherCopyRuns(gone);
            click(form.get(), qPrintable("cmdSimpan" + suffix));
            QVERIFY(sui().takeText("Save record to Zorva database ?"));
        }
        expectChangedMeanwhile();
        // Only the other copy's delete happened: the edit was not stored as a new row either.
        QCOMPARE(app().count(table), rows - 1);
        // The list read again, the form back in browse and usable.
        QVERIFY(!listTexts(lines).contains(row));
        QVERIFY(lines->isEnabled());
        auto* add = child<QPushButton>(form.get(), qPrintable("cmdTambah" + suffix));
        QVERIFY(add->isVisible());
        QVERIFY(!child<QPushButton>(form.get(), qPrintable("cmdSimpan" + suffix))->isVisible());
        if (!edit.isEmpty()) QVERIFY(!isEditable(child<QLineEdit>(form.get(), qPrintable(edit))));
        if (kind == "settings")
            for (int i = 0; i < 5; ++i)
                QVERIFY(static_cast<frmIPAddressSettings*>(form.get())->SSTabSetting->isTabEnabled(i));
    }

    // The record detail over the search: Save and Delete of a record deleted meanwhile.
    void recordDetail_data() {
        QTest::addColumn<bool>("erase");
        QTest::addRow("save") << false;
        QTest::addRow("delete") << true;
    }
    void recordDetail() {
        QFETCH(bool, erase);
        addRecord(app(), "10.1.0.9", {{"Name", "PC-A"}});
        addRecord(app(), "10.1.0.10", {{"Name", "PC-B"}});
        auto* search = new frmCarian;
        form.reset(search);
        search->runLoad();
        typeInto(search->txtCarian, "10.1.0.9");
        search->cmdCari->click();
        frmMaklumatIP* d = search->detailForm();
        QVERIFY(d);
        const QString gone = "DELETE FROM IP_Info WHERE IP_Address = '10.1.0.9'";
        if (erase) {
            okWhileOtherCopyRuns(gone);
            d->cmdHapus->click();
            QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete Record"));
        } else {
            d->cmdKemaskiniSimpan->click();
            typeInto(d->txtKodPeralatan, "PC-NEW");
            okWhileOtherCopyRuns(gone);
            d->cmdKemaskiniSimpan->click();
            QVERIFY(sui().takeText("Save record to Zorva database ?", "Save Record"));
        }
        expectChangedMeanwhile();
        QCOMPARE(app().count("IP_Info"), 1);
        QCOMPARE(app().count("IP_Info", "[Name] = 'PC-NEW'"), 0);
        // Nothing left to show: the detail closes; the search stays and was read again.
        QTRY_VERIFY(!search->detailForm());
        QCOMPARE(search->model()->count(), qint64(0));
        search->OptCarian2->click();
        typeInto(search->txtCarian, "10.1.0.");
        search->cmdCari->click();
        QCOMPARE(search->model()->count(), qint64(1));
    }

    // A block of the search grid with one row deleted meanwhile: none of the block is deleted.
    void searchBlock() {
        addRecord(app(), "10.1.0.9", {{"Name", "PC-A"}});
        addRecord(app(), "10.1.0.10", {{"Name", "PC-B"}});
        addRecord(app(), "10.1.0.11", {{"Name", "PC-C"}});
        auto* search = new frmCarian;
        form.reset(search);
        search->runLoad();
        search->OptCarian2->click();
        typeInto(search->txtCarian, "10.1.0.");
        search->cmdCari->click();
        QCOMPARE(search->model()->count(), qint64(3));
        auto* model = search->model();
        const QString first = model->data(model->index(0, 0)).toString();
        const QString second = model->data(model->index(1, 0)).toString();
        search->gridCarian->setCurrentIndex(model->index(0, 0));
        search->gridCarian->selectionModel()->select(
            QItemSelection(model->index(0, 0), model->index(1, RecordGridModel::kColumns - 1)),
            QItemSelectionModel::ClearAndSelect);
        sui().answerNext(Button::Yes, [&] {
            otherCopyRuns("DELETE FROM IP_Info WHERE IP_Address = '" + second + "'");
        });
        QTest::keyClick(search->gridCarian, Qt::Key_Delete);
        QVERIFY(sui().takeText("Are you sure you want to deleted the selected 2 record(s)?"));
        expectChangedMeanwhile();
        QCOMPARE(app().count("IP_Info"), 2);
        QCOMPARE(app().count("IP_Info", "IP_Address = ?", {first}), 1);
        QCOMPARE(model->count(), qint64(2));
        QVERIFY(search->gridCarian->isVisibleTo(search));
    }

    // The local site settings: the city row gone, the area row is not written either.
    void localSetting() {
        auto* local = new frmLocalSetting;
        form.reset(local);
        local->addressProvider = [] { return QStringLiteral("10.20.30.40"); };
        QVERIFY(showActive(local));
        typeInto(child<QLineEdit>(local, "txtSegmentCode"), "DC");
        typeInto(child<QLineEdit>(local, "txtBandar"), "Data Centre");
        okWhileOtherCopyRuns("DELETE FROM City WHERE City_name = 'IT Division'");
        click(local, "cmdUpdateSetting");
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
        expectChangedMeanwhile();
        QCOMPARE(app().count("Region", "Region = 'Headquarters' AND AssignIP = 10 AND "
                                       "Abbr_segment = 'HQ'"),
                 1);
        QCOMPARE(app().count("City", "City_name = 'Data Centre'"), 0);
        QVERIFY(!local->isUnloaded());
        QVERIFY(child<QPushButton>(local, "cmdUpdateSetting")->isEnabled());
    }
};

QTEST_MAIN(TestChangedMeanwhile)
#include "tst_changed_meanwhile.moc"

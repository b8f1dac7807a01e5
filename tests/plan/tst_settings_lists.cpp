#include "plan/frmIPAddressSettings.h"
#include "platform/Builders.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"

#include <QTabWidget>

using namespace zorva;
using namespace zorva::test;

// The Work Group and Equipment tabs.
class TestSettingsLists : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmIPAddressSettings> form;

    void setUp() override {
        app().loginAs();
        form = std::make_unique<frmIPAddressSettings>();
        QVERIFY(showActive(form.get()));
    }
    void tearDown() override { form.reset(); }

    QLineEdit* box(const char* name) { return child<QLineEdit>(form.get(), name); }
    QListWidget* list(const char* name) { return child<QListWidget>(form.get(), name); }
    void save(const char* button) {
        sui().answerNext(Button::Ok);
        click(form.get(), button);
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
    }
    void refused(const char* button, const QString& text, const QString& title, QWidget* focus) {
        click(form.get(), button);
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, text);
        QCOMPARE(m.title, title);
        QCOMPARE(QApplication::focusWidget(), focus);
    }

private slots:
    void workgroupChecksAndDigit() {
        form->SSTabSetting->setCurrentIndex(3);
        QCOMPARE(child<QGroupBox>(form.get(), "FrameWorkgroup")->title(), QString("Workgroup :"));
        QCOMPARE(listTexts(list("lstWorkgroup")), QStringList({"General"}));
        click(form.get(), "cmdTambahWorkgroup");
        QCOMPARE(child<QLabel>(form.get(), "lblDescWorkGroup")->text(),
                 QString("\nWork Group Name : \nSet Work Group/Site Name (for Regional LAN such as "
                         "outlets, service center, etc)."));
        typeInto(box("txtWorkgroupName"), "Outlet");
        refused("cmdSimpanWorkgroup", "Please enter Workgroup Code : !", "Error !!!",
                box("txtWorkgroupCode"));
        typeInto(box("txtWorkgroupCode"), "ox");
        QCOMPARE(box("txtWorkgroupCode")->text(), QString("O"));
        refused("cmdSimpanWorkgroup", "Please enter IP Octet 3 end with ... !", "Error !!!",
                box("txtWGOctet3"));
        typeInto(box("txtWGOctet3"), "1");
        QTest::keyClicks(box("txtWGOctet3"), "0");
        QCOMPARE(box("txtWGOctet3")->text(), QString("1"));
        QCOMPARE(sui().beeps(), 2);
        typeInto(box("txtWGOctet3"), "0");
        refused("cmdSimpanWorkgroup", "Error at field Octet3 end with : Record already exist !",
                "Error", box("txtWGOctet3"));
        typeInto(box("txtWorkgroupCode"), "g");
        refused("cmdSimpanWorkgroup", "Error at field Workgroup Code : Record already exist !",
                "Error", box("txtWorkgroupCode"));
        typeInto(box("txtWorkgroupName"), "GENERAL");
        refused("cmdSimpanWorkgroup", "Error at field Workgroup : Record already exist !", "Error",
                box("txtWorkgroupName"));
        typeInto(box("txtWorkgroupName"), "Outlet");
        typeInto(box("txtWorkgroupCode"), "O");
        typeInto(box("txtWGOctet3"), "1");
        save("cmdSimpanWorkgroup");
        QCOMPARE(app().count("Workgroup", "Workgroup_name = 'Outlet' AND Workgroup_code = 'O' "
                                          "AND Octet_3 = 1"),
                 1);
        for (int i = 0; i < 5; ++i) QVERIFY(form->SSTabSetting->isTabEnabled(i));
    }

    void equipmentRangeAndCode() {
        form->SSTabSetting->setCurrentIndex(4);
        QCOMPARE(listTexts(list("lstEquipment")),
                 QStringList({"PC", "Printer", "Router", "Server", "Switch"}));
        click(form.get(), "cmdTambahEquipment");
        typeInto(box("txtEquipmentName"), "Camera");
        typeInto(box("txtEquipmentCode"), "camx");
        QCOMPARE(box("txtEquipmentCode")->text(), QString("CAM"));
        QCOMPARE(sui().beeps(), 1);
        refused("cmdSimpanEquipment", "Please enter Octet 4 Start ... !", "Error !!!",
                box("txtOctet4Start"));
        typeInto(box("txtOctet4Start"), "240");
        refused("cmdSimpanEquipment", "Please enter Octet 4 End ... !", "Error !!!",
                box("txtOctet4End"));
        typeInto(box("txtOctet4End"), "71");
        sui().resetBeeps();
        refused("cmdSimpanEquipment", "Octet 4 End should not less than Octet 4 Start ...", "Error",
                box("txtOctet4Start"));
        QCOMPARE(sui().beeps(), 1);
        typeInto(box("txtOctet4Start"), "71");
        typeInto(box("txtOctet4End"), "71");
        save("cmdSimpanEquipment"); // equal ends
        QCOMPARE(app().count("Equipment", "Eqp_name = 'Camera' AND Eqp_code = 'CAM' AND "
                                          "Octet4_start = 71 AND Octet4_end = 71"),
                 1);
        // Own name with a new range: no duplicate message
        QVERIFY(clickRow(list("lstEquipment"), "PC"));
        click(form.get(), "cmdKemaskiniEquipment");
        typeInto(box("txtOctet4Start"), "100");
        save("cmdSimpanEquipment");
        QCOMPARE(app().scalar("SELECT Octet4_start FROM Equipment WHERE Eqp_name = 'PC'").toInt(), 100);
        // Another type's code is refused
        QVERIFY(clickRow(list("lstEquipment"), "Camera"));
        click(form.get(), "cmdKemaskiniEquipment");
        typeInto(box("txtEquipmentCode"), "sw");
        refused("cmdSimpanEquipment", "Error at field Equipment Code : Record already exist !",
                "Error", box("txtEquipmentCode"));
        click(form.get(), "cmdBatalEquipment");
        QCOMPARE(box("txtEquipmentCode")->text(), QString("CAM"));
        QVERIFY(!isEditable(box("txtEquipmentCode")));
        // Delete
        QVERIFY(clickRow(list("lstEquipment"), "Camera"));
        sui().answerNext(Button::Cancel);
        click(form.get(), "cmdHapusEquipment");
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete Record"));
        QCOMPARE(app().count("Equipment"), 6);
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdHapusEquipment");
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete Record"));
        QCOMPARE(app().count("Equipment"), 5);
        QVERIFY(box("txtEquipmentName")->text().isEmpty());
    }

    void closeButtonsUnloadTheForm() {
        click(form.get(), "cmdTutupRegion");
        QVERIFY(form->isUnloaded());
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(TestSettingsLists)
#include "tst_settings_lists.moc"

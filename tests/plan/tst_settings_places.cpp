#include "plan/frmIPAddressSettings.h"
#include "platform/AppState.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

using namespace zorva;
using namespace zorva::test;

// The State and City tabs.
class TestSettingsPlaces : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmIPAddressSettings> form;

    void setUp() override {
        app().loginAs();
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL)");
        app().exec("INSERT INTO Region VALUES ('Single', 13, 0, NULL)");
        app().exec("INSERT INTO Region VALUES ('Southern', 12, 1, 'SO')");
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern')");
        app().exec("INSERT INTO State VALUES ('Perlis', 'P', 'Northern')");
        app().exec("INSERT INTO State VALUES ('Johor', 'J', 'Single')");
        app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], StartIPRange, "
                   "ToIPRange, Abbr_state, Region) VALUES "
                   "('Alor Setar', 'AS', 5, 10, 0, 0, 'K', 'Northern'), "
                   "('Sungai Petani', 'SP', 5, 20, 0, 0, 'K', 'Northern'), "
                   "('Kangar', 'KG', 5, 10, 0, 0, 'P', 'Northern'), "
                   "('Tower A', 'TA', 7, 1, 0, 0, 'SO', 'Southern'), "
                   "('Tower B', 'TB', 8, NULL, 0, 0, 'SO', 'Southern'), "
                   "('Tower C', 'TC', 9, 3, 10, 20, 'SO', 'Southern')");
    }
    void tearDown() override { form.reset(); }

    void open(int tab) {
        form = std::make_unique<frmIPAddressSettings>();
        QVERIFY(showActive(form.get()));
        form->SSTabSetting->setCurrentIndex(tab);
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(form.get(), name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(form.get(), name); }
    QListWidget* list(const char* name) { return child<QListWidget>(form.get(), name); }
    void choose(const char* comboName, const QString& text) {
        QComboBox* c = combo(comboName);
        const int i = c->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        c->setCurrentIndex(i);
    }
    void save(const char* button, bool expectConfirmation = true) {
        if (expectConfirmation) sui().answerNext(Button::Ok);
        click(form.get(), button);
        if (expectConfirmation) QVERIFY(sui().takeText("Save record to Zorva database ?"));
    }
    void refused(const char* button, const QString& text, const QString& title, QWidget* focus,
                 Icon icon = Icon::Warning) {
        click(form.get(), button);
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, text);
        QCOMPARE(m.title, title);
        QCOMPARE(m.icon, icon);
        QCOMPARE(QApplication::focusWidget(), focus);
    }
    void newCity(const QString& name, const QString& code, const QString& o2, const QString& o3) {
        click(form.get(), "cmdTambahCity");
        typeInto(box("txtBandar"), name);
        typeInto(box("txtKodBandar"), code);
        typeInto(box("txtIPOctet2"), o2);
        typeInto(box("txtOffset"), o3);
    }

private slots:
    void stateTabChecksAndCode() {
        open(1);
        QCOMPARE(child<QGroupBox>(form.get(), "FrameState")->title(), QString("State Name :"));
        // Only areas without segments
        QCOMPARE(combo("cboRegionState")->count(), 2);
        QVERIFY(!child<QPushButton>(form.get(), "cmdTambahState")->isEnabled());
        choose("cboRegionState", "Northern");
        QCOMPARE(listTexts(list("lstState")), QStringList({"Kedah", "Perlis"}));
        click(form.get(), "cmdTambahState");
        QVERIFY(!combo("cboRegionState")->isEnabled());
        QVERIFY(!form->SSTabSetting->isTabEnabled(2));
        QTest::keyClicks(box("txtStateName"), "Penang");
        QTest::keyClicks(box("txtStateCode"), "kp");
        QCOMPARE(box("txtStateCode")->text(), QString("K"));
        QCOMPARE(sui().beeps(), 1);
        refused("cmdSimpanState", "Error at field State Code : Record already exist !", "Error",
                box("txtStateCode"));
        typeInto(box("txtStateCode"), "p");
        refused("cmdSimpanState", "Error at field State Code : Record already exist !", "Error",
                box("txtStateCode"));
        typeInto(box("txtStateCode"), "n");
        typeInto(box("txtStateName"), "kedah");
        refused("cmdSimpanState", "Error at field State Name : Record already exist !", "Error",
                box("txtStateName"));
        typeInto(box("txtStateName"), "Penang");
        save("cmdSimpanState");
        QCOMPARE(app().count("State", "State_name = 'Penang' AND Abbr_state = 'N' AND Region = "
                                      "'Northern'"),
                 1);
        QCOMPARE(listTexts(list("lstState")), QStringList({"Kedah", "Penang", "Perlis"}));
        QVERIFY(combo("cboRegionState")->isEnabled());
        QVERIFY(form->SSTabSetting->isTabEnabled(2));
        // A code used in another area is free here
        choose("cboRegionState", "Single");
        click(form.get(), "cmdTambahState");
        QTest::keyClicks(box("txtStateName"), "Melaka");
        QTest::keyClicks(box("txtStateCode"), "K");
        save("cmdSimpanState");
        QCOMPARE(app().count("State", "Abbr_state = 'K'"), 2);
    }

    void singleStateChosenAndPreview() {
        open(2);
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("xxx.xxx.xxx.xxx"));
        QVERIFY(!list("lstBandarCity")->isEnabled());
        choose("cboRegionCity", "Single");
        QCOMPARE(combo("cboStateCity")->currentText(), QString("Johor"));
        QCOMPARE(box("txtKodNegeri")->text(), QString("J"));
        QVERIFY(child<QPushButton>(form.get(), "cmdTambahCity")->isEnabled());
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("13.xxx.xxx.xxx"));
        // Two states: none chosen, Add waits for one
        choose("cboRegionCity", "Northern");
        QCOMPARE(combo("cboStateCity")->currentIndex(), -1);
        QVERIFY(!child<QPushButton>(form.get(), "cmdTambahCity")->isEnabled());
        choose("cboStateCity", "Kedah");
        QCOMPARE(listTexts(list("lstBandarCity")), QStringList({"Alor Setar", "Sungai Petani"}));
        QVERIFY(clickRow(list("lstBandarCity"), "Sungai Petani"));
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("11.5.20.xxx"));
        click(form.get(), "cmdKemaskiniCity");
        typeInto(box("txtIPOctet2"), "6");
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("11.6.20.xxx"));
        QTest::keyClicks(box("txtIPOctet2"), "00");
        QCOMPARE(box("txtIPOctet2")->text(), QString("60"));
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("11.60.20.xxx"));
        box("txtOffset")->clear();
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet")->text(), QString("11.60.xxx.xxx"));
        QCOMPARE(sui().beeps(), 1);
        click(form.get(), "cmdBatalCity");
        QCOMPARE(box("txtIPOctet2")->text(), QString("5"));
    }

    void nonSegmentedOffsetRules() {
        open(2);
        choose("cboRegionCity", "Northern");
        choose("cboStateCity", "Kedah");
        QCOMPARE(child<QLabel>(form.get(), "lblOffset")->text(), QString("Offset :"));
        QVERIFY(!box("txtStartIPRange")->isVisible());
        newCity("Kulim", "KL", "6", "");
        refused("cmdSimpanCity", "Please enter Offset !", "Error !!!", box("txtOffset"));
        QTest::keyClicks(box("txtOffset"), "25");
        refused("cmdSimpanCity", "Offset value must increment by 10 ... ", "Offset Note",
                box("txtOffset"), Icon::Information);
        typeInto(box("txtOffset"), "0");
        save("cmdSimpanCity");
        newCity("Jitra", "JT", "6", "30");
        save("cmdSimpanCity");
        QCOMPARE(app().count("City", "Abbr_state = 'K' AND IP_octet2 = 6"), 2);
        // Same octet 2, other offset passes; both equal to a city of the same state are refused
        newCity("Baling", "BL", "5", "10");
        refused("cmdSimpanCity", "IP Octet 2 and Offset already exist ! (Alor Setar)", "Error",
                box("txtIPOctet2"));
        typeInto(box("txtKodBandar"), "as");
        refused("cmdSimpanCity", "Error at field City Code : Record already exist !", "Error",
                box("txtKodBandar"));
        typeInto(box("txtKodBandar"), "KG"); // the code of a city of this area, other state
        refused("cmdSimpanCity", "Error at field City Code : Record already exist !", "Error",
                box("txtKodBandar"));
        typeInto(box("txtKodBandar"), "BL");
        typeInto(box("txtOffset"), "40");
        save("cmdSimpanCity");
        QCOMPARE(app().count("City", "City_name = 'Baling' AND [Offset] = 40 AND Abbr_state = 'K'"), 1);
    }

    void segmentedOctetRulesAndRange() {
        open(2);
        choose("cboRegionCity", "Southern");
        QVERIFY(!combo("cboStateCity")->isVisible());
        QCOMPARE(child<QLabel>(form.get(), "lblOffset")->text(), QString("IP Octet3 :"));
        QCOMPARE(child<QLabel>(form.get(), "lblIPOctet3")->text(), QString("Only for small network."));
        QVERIFY(child<QLabel>(form.get(), "lblIPOctet3")->isVisible());
        QCOMPARE(box("txtKodNegeri")->text(), QString("SO"));
        QCOMPARE(listTexts(list("lstBandarCity")), QStringList({"Tower A", "Tower B", "Tower C"}));
        // Whole block already owned by Tower B (no octet 3)
        newCity("Tower D", "TD", "8", "");
        refused("cmdSimpanCity", "IP Octet 2 already exist ! (Tower B)", "Error", box("txtIPOctet2"));
        // Tower A uses octet 3: a whole-block city of the same octet 2 is accepted
        typeInto(box("txtIPOctet2"), "7");
        save("cmdSimpanCity");
        QVERIFY(app().scalar("SELECT [Offset] FROM City WHERE City_name = 'Tower D'").isNull());
        // Same octets 2 and 3: refused without an own range, accepted with one
        newCity("Tower E", "TE", "9", "3");
        refused("cmdSimpanCity", "IP Octet 2 and IP Octet 3 already exist ! (Tower C)", "Error",
                box("txtOffset"));
        QTest::keyClicks(box("txtStartIPRange"), "30");
        save("cmdSimpanCity"); // one range box only: stored as no range
        QCOMPARE(app().scalar("SELECT StartIPRange || '/' || ToIPRange FROM City WHERE City_name = 'Tower E'")
                     .toString(),
                 QString("0/0"));
        newCity("Tower F", "TF", "9", "3");
        QTest::keyClicks(box("txtStartIPRange"), "30");
        QTest::keyClicks(box("txtToIPRange"), "40");
        save("cmdSimpanCity");
        QCOMPARE(app().scalar("SELECT StartIPRange || '/' || ToIPRange FROM City WHERE City_name = 'Tower F'")
                     .toString(),
                 QString("30/40"));
        // A stored 0/0 shows as two empty boxes
        QVERIFY(clickRow(list("lstBandarCity"), "Tower E"));
        QVERIFY(box("txtStartIPRange")->text().isEmpty());
        QVERIFY(box("txtToIPRange")->text().isEmpty());
        // Changing only the octet 3 to that of another city of the same octet 2 is refused
        QVERIFY(clickRow(list("lstBandarCity"), "Tower A"));
        click(form.get(), "cmdKemaskiniCity");
        app().exec("INSERT INTO City VALUES ('Tower G', 'TG', 7, 5, 0, 0, 'SO', 'Southern')");
        typeInto(box("txtOffset"), "5");
        refused("cmdSimpanCity", "IP Octet 2 and IP Octet 3 already exist ! (Tower G)", "Error",
                box("txtOffset"));
        click(form.get(), "cmdBatalCity");
        QCOMPARE(box("txtOffset")->text(), QString("1"));
    }

    // Keyboard only, as a user fills a new city: each box is left with Enter or Down. The "..."
    // pictures beside octet 2 and 3 open on a click and never take the focus.
    void enterWalksPastPickerPictures_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Down") << int(Qt::Key_Down);
    }
    void enterWalksPastPickerPictures() {
        QFETCH(int, key);
        open(2);
        choose("cboRegionCity", "Southern");
        click(form.get(), "cmdTambahCity");
        box("txtBandar")->setFocus();
        for (const char* typed : {"Tower K", "TK", "21", "4"}) {
            QWidget* w = QApplication::focusWidget();
            QVERIFY(qobject_cast<QLineEdit*>(w));
            QTest::keyClicks(w, QString::fromLatin1(typed));
            QTest::keyClick(w, Qt::Key(key));
        }
        QCOMPARE(box("txtOffset")->text(), QString("4"));
        for (const char* name : {"pctOctet2List", "pctOffsetList"})
            QCOMPARE(child<QToolButton>(form.get(), name)->focusPolicy(), Qt::NoFocus);
        save("cmdSimpanCity");
        QCOMPARE(app().scalar("SELECT IP_octet2 || '.' || [Offset] FROM City WHERE City_name = 'Tower K'")
                     .toString(),
                 QString("21.4"));
    }

    void clearedOffsetKeptAndUnchangedRefused() {
        open(2);
        choose("cboRegionCity", "Northern");
        choose("cboStateCity", "Perlis");
        QVERIFY(clickRow(list("lstBandarCity"), "Kangar"));
        click(form.get(), "cmdKemaskiniCity");
        refused("cmdSimpanCity", "Record not changed !", "Error !!!", box("txtBandar"));
        typeInto(box("txtBandar"), "Kangar Baru");
        box("txtOffset")->clear();
        refused("cmdSimpanCity", "Please enter Offset !", "Error !!!", box("txtOffset"));
        // In a segmented area the emptied octet 3 passes and the stored one stays
        click(form.get(), "cmdBatalCity");
        choose("cboRegionCity", "Southern");
        QVERIFY(clickRow(list("lstBandarCity"), "Tower C"));
        click(form.get(), "cmdKemaskiniCity");
        box("txtOffset")->clear();
        typeInto(box("txtBandar"), "Tower C2");
        save("cmdSimpanCity");
        QCOMPARE(app().scalar("SELECT [Offset] FROM City WHERE City_name = 'Tower C2'").toInt(), 3);
        QCOMPARE(app().count("City", "Region = 'Southern'"), 3);
    }

    void areaUserSeesOwnAreaOnly() {
        app().addUser("KW1", "pw", "Area Admin", "Kawasan", "Northern");
        app().loginAs("KW1");
        form = std::make_unique<frmIPAddressSettings>();
        QVERIFY(showActive(form.get()));
        QCOMPARE(form->SSTabSetting->currentIndex(), 1);
        QVERIFY(!form->SSTabSetting->isTabEnabled(0));
        QVERIFY(!form->SSTabSetting->isTabEnabled(3));
        QVERIFY(!form->SSTabSetting->isTabEnabled(4));
        QCOMPARE(combo("cboRegionState")->count(), 1);
        QCOMPARE(combo("cboRegionState")->currentText(), QString("Northern"));
        QCOMPARE(listTexts(list("lstState")), QStringList({"Kedah", "Perlis"}));
        QVERIFY(child<QPushButton>(form.get(), "cmdTambahState")->isEnabled());
        form->SSTabSetting->setCurrentIndex(2);
        QCOMPARE(combo("cboRegionCity")->count(), 1);
        QCOMPARE(combo("cboRegionCity")->currentText(), QString("Northern"));
        choose("cboStateCity", "Kedah");
        click(form.get(), "cmdTambahCity");
        QVERIFY(!form->SSTabSetting->isTabEnabled(1));
        click(form.get(), "cmdBatalCity");
        QVERIFY(form->SSTabSetting->isTabEnabled(1));
        QVERIFY(!form->SSTabSetting->isTabEnabled(0));
    }

    void offsetPickerListsCitiesOfThatOctet2() {
        open(2);
        choose("cboRegionCity", "Northern");
        choose("cboStateCity", "Kedah");
        click(form.get(), "cmdTambahCity");
        typeInto(box("txtBandar"), "Kuala Nerang");
        typeInto(box("txtKodBandar"), "KN");
        typeInto(box("txtIPOctet2"), "5");
        QToolButton* pick = child<QToolButton>(form.get(), "pctOffsetList");
        QVERIFY(!pick->isVisible());
        box("txtOffset")->setFocus(); // octet 2 loses the focus
        QVERIFY(pick->isVisible());
        QCOMPARE(appState().gPickOctet2, QString("5"));
        QCOMPARE(appState().gPickRegion, QString("Northern"));
        QStringList seen;
        sui().onModal("frmOffsetList", [&seen](QDialog& d) {
            auto* grid = d.findChild<QTableWidget*>("gridData");
            for (int r = 0; r < grid->rowCount(); ++r)
                seen << grid->item(r, 0)->text() + "/" + grid->item(r, 3)->text();
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        box("txtBandar")->setFocus();
        pick->click();
        QCOMPARE(seen, QStringList({"Alor Setar/10", "Sungai Petani/20"}));
        QCOMPARE(QApplication::focusWidget(), box("txtOffset"));
        click(form.get(), "cmdBatalCity");
        QVERIFY(!pick->isVisible());
    }

    void octet2PickerOrderedByOctet2() {
        open(2);
        choose("cboRegionCity", "Southern");
        click(form.get(), "cmdTambahCity");
        typeInto(box("txtBandar"), "Annex");
        typeInto(box("txtKodBandar"), "an");
        QCOMPARE(box("txtKodBandar")->text(), QString("AN"));
        box("txtIPOctet2")->setFocus();
        QToolButton* pick = child<QToolButton>(form.get(), "pctOctet2List");
        QVERIFY(pick->isVisible());
        app().exec("INSERT INTO City VALUES ('Other', 'OT', 1, NULL, 0, 0, 'XX', 'Southern')");
        QStringList seen;
        sui().onModal("frmOctet2List", [&seen](QDialog& d) {
            auto* grid = d.findChild<QTableWidget*>("gridData");
            for (int r = 0; r < grid->rowCount(); ++r) seen << grid->item(r, 2)->text();
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        pick->click();
        QCOMPARE(seen, QStringList({"7", "8", "9"}));
        QCOMPARE(QApplication::focusWidget(), box("txtIPOctet2"));
        click(form.get(), "cmdBatalCity");
    }

    void helpLabels() {
        open(2);
        choose("cboRegionCity", "Southern");
        QLabel* offset = child<QLabel>(form.get(), "lblOffset");
        QLabel* octet3 = child<QLabel>(form.get(), "lblIPOctet3");
        QTest::mousePress(octet3, Qt::LeftButton);
        QVERIFY(offset->styleSheet().contains("red"));
        QTest::mouseRelease(octet3, Qt::LeftButton);
        QVERIFY(offset->styleSheet().contains("blue"));
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("IP Octet3 Offset Description"));
        QVERIFY(m.text.startsWith("IP Octet3 : \nYou can set to fix"));
        QVERIFY(m.text.endsWith("leave Octet 3 as blank and use Octet1.octet2.xxx.yyy to represent "
                                "a city especially for huge network."));
        QTest::mouseClick(child<QLabel>(form.get(), "lblIPOctet2"), Qt::LeftButton);
        QVERIFY(sui().takeText("IP Octet2 : \nEnter Ip Octet2 (xxx.Octet2.xxx.xxx). Leave IP Octet3 "
                               "blank and use Octet1.octet2.xxx.yyy to represent a city "
                               "(especially for huge network).",
                               "IP Octet2 Description"));
        choose("cboRegionCity", "Northern");
        QTest::mouseClick(offset, Qt::LeftButton);
        QVERIFY(sui().takeText("IP Octet3 Offset : \nSet Ip Octet3 Offset (xxx.xxx.??0.xxx). This "
                               "offset will be increment by 10 (eg:10,20,30,...)."));
    }
};

QTEST_MAIN(TestSettingsPlaces)
#include "tst_settings_places.moc"

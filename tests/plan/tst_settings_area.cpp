#include "plan/frmIPAddressSettings.h"
#include "platform/Builders.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"
#include "support/TestServer.h"

#include <QRadioButton>
#include <QTabWidget>

using namespace zorva;
using namespace zorva::test;

class TestSettingsArea : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmIPAddressSettings> form;

    void setUp() override {
        app().loginAs();
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL)");
        app().exec("INSERT INTO Region VALUES ('Southern', 12, 1, 'SO')");
        form = std::make_unique<frmIPAddressSettings>();
        QVERIFY(showActive(form.get()));
    }
    void tearDown() override { form.reset(); }

    QLineEdit* box(const char* name) { return child<QLineEdit>(form.get(), name); }
    QListWidget* list() { return child<QListWidget>(form.get(), "LstRegion"); }
    QRadioButton* opt(const char* name) { return child<QRadioButton>(form.get(), name); }
    void saveConfirmed() {
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdSimpanRegion");
        QVERIFY(sui().takeText("Save record to Zorva database ?", "Save record"));
    }
    void expectRefusal(const QString& text, const QString& title, QWidget* focus) {
        click(form.get(), "cmdSimpanRegion");
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, text);
        QCOMPARE(m.title, title);
        QCOMPARE(QApplication::focusWidget(), focus);
        QVERIFY(child<QWidget>(form.get(), "FrameSimpanRegion")->isVisible());
    }

private slots:
    void loadsListAndBrowseState() {
        QCOMPARE(listTexts(list()), QStringList({"Headquarters", "Northern", "Southern"}));
        QCOMPARE(child<QGroupBox>(form.get(), "FrameRegion")->title(), QString("Area Name :"));
        QVERIFY(!isEditable(box("txtRegionName")));
        QVERIFY(!child<QPushButton>(form.get(), "cmdKemaskiniRegion")->isEnabled());
        QVERIFY(child<QPushButton>(form.get(), "cmdTambahRegion")->isEnabled());
        QVERIFY(!child<QWidget>(form.get(), "FrameSimpanRegion")->isVisible());
        for (int i = 0; i < form->SSTabSetting->count(); ++i)
            QVERIFY(form->SSTabSetting->isTabEnabled(i));
    }

    void yesNoShowsCodeAndNoKeepsStoredCode() {
        QVERIFY(clickRow(list(), "Southern"));
        QVERIFY(opt("OptYes")->isChecked());
        QVERIFY(box("txtSegmentCode")->isVisible());
        QCOMPARE(box("txtSegmentCode")->text(), QString("SO"));
        click(form.get(), "cmdKemaskiniRegion");
        QTest::mouseClick(opt("OptNo"), Qt::LeftButton);
        QVERIFY(!box("txtSegmentCode")->isVisible());
        QTest::mouseClick(opt("OptYes"), Qt::LeftButton);
        QVERIFY(box("txtSegmentCode")->isVisible());
        QVERIFY(isEditable(box("txtSegmentCode")));
        QTest::mouseClick(opt("OptNo"), Qt::LeftButton);
        saveConfirmed();
        QCOMPARE(app().scalar("SELECT Segment_ip FROM Region WHERE Region = 'Southern'").toInt(), 0);
        QCOMPARE(app().scalar("SELECT Abbr_segment FROM Region WHERE Region = 'Southern'").toString(),
                 QString("SO"));
        QVERIFY(!isEditable(box("txtRegionName")));
        QVERIFY(box("txtRegionName")->text().isEmpty());
    }

    // "Segment Code" comes and goes with the kind of area; what lies below it stays put.
    void segmentCodeKeepsItsPlace() {
        QWidget* description = child<QWidget>(form.get(), "lblDescArea");
        QWidget* buttons = child<QWidget>(form.get(), "FrameOperasiRegion");
        QVERIFY(clickRow(list(), "Northern"));
        QVERIFY(!box("txtSegmentCode")->isVisible());
        const QRect descriptionPlace = placeInWindow(description);
        const QRect buttonsPlace = placeInWindow(buttons);
        QVERIFY(clickRow(list(), "Southern"));
        QVERIFY(box("txtSegmentCode")->isVisible());
        QCOMPARE(placeInWindow(description), descriptionPlace);
        QCOMPARE(placeInWindow(buttons), buttonsPlace);
    }

    // A row shown, not edited, reads as data: enabled and read-only on the window's colour
    // (not greyed out), passed by Tab, deaf to typing; Update gives the editable look back.
    void shownRowReadsAsReadOnly() {
        QVERIFY(clickRow(list(), "Southern"));
        QLineEdit* name = box("txtRegionName");
        QVERIFY(name->isEnabled() && name->isReadOnly());
        QVERIFY(!(name->focusPolicy() & Qt::TabFocus));
        const QColor window = name->palette().color(QPalette::Window);
        QCOMPARE(name->palette().color(QPalette::Base), window);
        const QImage look = name->grab().toImage();
        QCOMPARE(QColor(look.pixel(look.width() - 6, look.height() / 2)), window);
        QTest::keyClicks(name, "x");
        QCOMPARE(name->text(), QString("Southern"));
        click(form.get(), "cmdKemaskiniRegion");
        QVERIFY(isEditable(name));
        QVERIFY(name->focusPolicy() & Qt::TabFocus);
        QVERIFY(name->palette().color(QPalette::Base) != window);
        click(form.get(), "cmdBatalRegion");
        QVERIFY(!isEditable(name));
    }

    void unchangedRecordRefusedButCodeChangeCounts() {
        QVERIFY(clickRow(list(), "Southern"));
        click(form.get(), "cmdKemaskiniRegion");
        QVERIFY(!form->SSTabSetting->isTabEnabled(1));
        QVERIFY(!list()->isEnabled());
        expectRefusal("Record not changed !", "Error !!!", box("txtRegionName"));
        typeInto(box("txtSegmentCode"), "sx");
        QCOMPARE(box("txtSegmentCode")->text(), QString("SX"));
        saveConfirmed();
        QCOMPARE(app().scalar("SELECT Abbr_segment FROM Region WHERE Region = 'Southern'").toString(),
                 QString("SX"));
        QVERIFY(form->SSTabSetting->isTabEnabled(1));
    }

    void renameToOwnNamePassesToOtherNameRefused() {
        QVERIFY(clickRow(list(), "Northern"));
        click(form.get(), "cmdKemaskiniRegion");
        typeInto(box("txtIPOctet1"), "21");
        saveConfirmed(); // own name: no duplicate message
        QCOMPARE(app().scalar("SELECT AssignIP FROM Region WHERE Region = 'Northern'").toInt(), 21);
        QVERIFY(clickRow(list(), "Northern"));
        click(form.get(), "cmdKemaskiniRegion");
        typeInto(box("txtRegionName"), "southern");
        expectRefusal("Error at field Area Name : Record already exist !", "Error",
                      box("txtRegionName"));
        // Same segment code as another area
        typeInto(box("txtRegionName"), "Eastern");
        QTest::mouseClick(opt("OptYes"), Qt::LeftButton);
        typeInto(box("txtSegmentCode"), "so");
        expectRefusal("Error at field Segment Code : Record already exist !", "Error",
                      box("txtSegmentCode"));
        QCOMPARE(app().count("Region"), 3);
    }

    void checksInOrder() {
        click(form.get(), "cmdTambahRegion");
        QVERIFY(!box("txtSegmentCode")->isVisible());
        expectRefusal("Please enter Area Name : !", "Error !", box("txtRegionName"));
        QTest::keyClicks(box("txtRegionName"), "O'Neill Zone");
        expectRefusal("Please enter IP Octet 1 !", "Error !!!", box("txtIPOctet1"));
        QTest::keyClicks(box("txtIPOctet1"), "30");
        expectRefusal("Please choose Segment or Not !", "Error !!!", opt("OptYes"));
        QTest::mouseClick(opt("OptNo"), Qt::LeftButton);
        // Not confirmed: nothing written, still editing
        sui().answerNext(Button::Cancel);
        click(form.get(), "cmdSimpanRegion");
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        QVERIFY(isEditable(box("txtRegionName")));
        saveConfirmed();
        QCOMPARE(app().count("Region", "Region = ? AND AssignIP = 30 AND Segment_ip = 0",
                             {"O'Neill Zone"}),
                 1);
        QVERIFY(listTexts(list()).contains("O'Neill Zone"));
    }

    void addCancelThenUpdateChangesOneRow() {
        QVERIFY(clickRow(list(), "Northern"));
        click(form.get(), "cmdTambahRegion");
        QTest::keyClicks(box("txtRegionName"), "Temp");
        click(form.get(), "cmdBatalRegion");
        QCOMPARE(box("txtRegionName")->text(), QString("Northern"));
        QVERIFY(!child<QPushButton>(form.get(), "cmdKemaskiniRegion")->isEnabled());
        QVERIFY(clickRow(list(), "Northern"));
        click(form.get(), "cmdKemaskiniRegion");
        typeInto(box("txtRegionName"), "North");
        saveConfirmed();
        QCOMPARE(app().count("Region"), 3);
        QCOMPARE(app().count("Region", "Region = 'North' AND AssignIP = 11"), 1);
    }

    void octetFilterRevertsWithBeep() {
        click(form.get(), "cmdTambahRegion");
        QTest::keyClicks(box("txtIPOctet1"), "30");
        QTest::keyClicks(box("txtIPOctet1"), "0");
        QCOMPARE(box("txtIPOctet1")->text(), QString("30"));
        QCOMPARE(box("txtIPOctet1")->cursorPosition(), 2);
        QTest::keyClicks(box("txtIPOctet1"), "a");
        QCOMPARE(box("txtIPOctet1")->text(), QString("30"));
        QCOMPARE(sui().beeps(), 2);
        QCOMPARE(sui().pendingMessages(), 0);
    }

    void deleteLeavesChildrenAndDbErrorKeepsEditing() {
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern')");
        QVERIFY(clickRow(list(), "Northern"));
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdHapusRegion");
        QVERIFY(sui().takeText("Delete record from Zorva database ?", "Delete Record"));
        QCOMPARE(app().count("Region", "Region = 'Northern'"), 0);
        QCOMPARE(app().count("State", "Region = 'Northern'"), 1);
        QVERIFY(!listTexts(list()).contains("Northern"));

        // A failing write: the message, the edit goes on, the table is unchanged.
        QVERIFY(refuseRows("nowrite", "UPDATE", "Region", {}, "disk is read-only"));
        QVERIFY(clickRow(list(), "Southern"));
        click(form.get(), "cmdKemaskiniRegion");
        typeInto(box("txtIPOctet1"), "99");
        sui().answerNext(Button::Ok);
        click(form.get(), "cmdSimpanRegion");
        QVERIFY(sui().takeText("Save record to Zorva database ?"));
        RecordedMessage m = sui().take();
        QCOMPARE(m.title, QString("Error !!!"));
        QVERIFY(m.text.contains("read-only"));
        QVERIFY(isEditable(box("txtIPOctet1")));
        QCOMPARE(box("txtIPOctet1")->text(), QString("99"));
        QCOMPARE(app().scalar("SELECT AssignIP FROM Region WHERE Region = 'Southern'").toInt(), 12);
    }

    void helpTextAndKeyboardMoves() {
        click(form.get(), "cmdTambahRegion");
        QLabel* desc = child<QLabel>(form.get(), "lblDescArea");
        QCOMPARE(desc->text(), QString("\nArea Name : \nSet Area name such as divisional or regional..."));
        QTest::keyClick(box("txtRegionName"), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), box("txtIPOctet1"));
        QCOMPARE(desc->text(), QString("\nIP Octet1 : \nSet IP Octet1 (Octet1.xxx.xxx.xxx) for this area."));
        QTest::keyClick(box("txtIPOctet1"), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), box("txtRegionName"));
        QTest::keyClick(box("txtRegionName"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), box("txtIPOctet1"));
    }
};

QTEST_MAIN(TestSettingsArea)
#include "tst_settings_area.moc"

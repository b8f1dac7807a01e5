// The record search's "Location" mode: the walk down the plan to a work group, a typed
// segment or a city, and the searches it runs.
#include "RecordsTest.h"
#include "support/PlanTest.h"
#include "records/RecordGridModel.h"
#include "records/frmCarian.h"
#include "records/frmMaklumatIP.h"

#include <QComboBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTableView>

using namespace zorva;
using namespace zorva::test;

class TestSearchLocation : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<frmCarian> form;

    void setUp() override {
        app().exec("INSERT INTO Region (Region, AssignIP, Segment_ip, Abbr_segment) VALUES "
                   "('North', 10, 0, ''), ('Seg', 11, 1, 'SG')");
        app().exec("INSERT INTO State (State_name, Abbr_state, Region) VALUES ('Perak', 'P', 'North')");
        app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], Abbr_state, Region) "
                   "VALUES ('Ipoh', 'IPH', 3, 20, 'P', 'North'), ('Taiping', 'TPG', 4, 0, 'P', 'North'), "
                   "('Kota', 'KOT', 5, 9, 'SG', 'Seg')");
        app().exec("INSERT INTO Workgroup (Workgroup_name, Workgroup_code, Octet_3) VALUES "
                   "('Finance', 'F', 1), ('Admin', 'A', 2)");
        const QVariantMap ipoh{{"Region", "North"}, {"CityOwner", "Ipoh"}};
        addRecord(app(), "10.3.21.6", ipoh);
        addRecord(app(), "10.3.21.5", ipoh);
        addRecord(app(), "10.3.22.1", ipoh);
        addRecord(app(), "10.4.0.7", {{"Region", "North"}, {"CityOwner", "Taiping"}});
        addRecord(app(), "11.5.7.1", {{"Region", "Seg"}, {"CityOwner", "Kota"}});
        app().loginAs();
        form = std::make_unique<frmCarian>();
        form->runLoad();
    }
    void tearDown() override { form.reset(); }

    static void choose(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box->setCurrentIndex(i);
    }
    static QStringList items(QComboBox* box) {
        QStringList out;
        for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
        return out;
    }
    QStringList gridAddresses() {
        QStringList out;
        for (int r = 0; r < form->model()->count(); ++r)
            out << form->model()->data(form->model()->index(r, 0)).toString();
        return out;
    }

private slots:
    void workGroupSearch() {
        QVERIFY(showActive(form.get()));
        form->Option3->click();
        QVERIFY(form->FrameLocation->isVisible());
        QVERIFY(form->FrameForLocation->isVisible());
        QVERIFY(!form->frameIPAddress->isVisible());
        QVERIFY(form->OptCarian3->isChecked());
        QCOMPARE(items(form->cboRegion), (QStringList{"Headquarters", "North", "Seg"}));
        choose(form->cboRegion, "North");
        QCOMPARE(form->cboState->currentText(), QString("Perak")); // the only state, chosen
        QCOMPARE(items(form->cboCity), (QStringList{"Ipoh", "Taiping"}));
        choose(form->cboCity, "Ipoh");
        QVERIFY(items(form->cboWorkGroup).contains("Finance"));
        QVERIFY(items(form->cboWorkGroup).contains("Admin"));
        choose(form->cboWorkGroup, "Finance"); // 1 + offset 20
        QCOMPARE(gridAddresses(), (QStringList{"10.3.21.5", "10.3.21.6"}));
        QCOMPARE(form->lblNotaCarian->text().left(18), QString("2 record(s) found."));
        QCOMPARE(form->gridCarian->toolTip(), QString("Double Click to get detail info ..."));
        choose(form->cboWorkGroup, "Admin");
        QCOMPARE(gridAddresses(), QStringList{"10.3.22.1"});
        QVERIFY(form->detailForm()); // one hit opens
    }

    void cityWithOffsetZeroSearchesOctetZero() {
        form->Option3->click();
        choose(form->cboRegion, "North");
        choose(form->cboCity, "Taiping");
        choose(form->cboWorkGroup, "Admin");
        QCOMPARE(form->mstrSQL, prefixQuery("10.4.0."));
        QCOMPARE(gridAddresses(), QStringList{"10.4.0.7"});
        choose(form->cboWorkGroup, "Finance");
        QCOMPARE(gridAddresses(), QStringList{"10.4.0.7"});
    }

    void cityOption() {
        QVERIFY(showActive(form.get()));
        form->Option3->click();
        form->OptCarian4->click();
        QVERIFY(form->OptCarian4->isChecked());
        QVERIFY(!form->lblWorkGroup->isVisible());
        QVERIFY(!form->cboWorkGroup->isVisible());
        choose(form->cboRegion, "North");
        choose(form->cboCity, "Ipoh");
        QCOMPARE(gridAddresses(), (QStringList{"10.3.21.5", "10.3.21.6", "10.3.22.1"}));
        choose(form->cboCity, "Taiping");
        QCOMPARE(gridAddresses(), QStringList{"10.4.0.7"});
    }

    void segmentOfASegmentedArea() {
        QVERIFY(showActive(form.get()));
        form->Option3->click();
        choose(form->cboRegion, "Seg");
        QVERIFY(!form->cboState->isVisible());
        QVERIFY(!form->lblState->isVisible());
        QCOMPARE(form->lblWorkGroup->text(), QString("Segment :"));
        QVERIFY(form->txtSegment->isVisible());
        QVERIFY(!form->cboWorkGroup->isVisible());
        choose(form->cboCity, "Kota");
        QTest::keyClick(form->txtSegment, Qt::Key_Return);
        QCOMPARE(sui().beeps(), 1);
        RecordedMessage m = sui().take();
        QCOMPARE(m.text, QString("Please enter Segment ... "));
        QCOMPARE(m.title, QString("Segment ?"));
        QCOMPARE(m.icon, Icon::Warning);
        QTest::keyClicks(form->txtSegment, "x"); // not a number: refused as typed
        QCOMPARE(form->txtSegment->text(), QString());
        QTest::keyClicks(form->txtSegment, "7");
        QTest::keyClick(form->txtSegment, Qt::Key_Return);
        QCOMPARE(gridAddresses(), QStringList{"11.5.7.1"});
        typeInto(form->txtSegment, "8");
        QTest::keyClick(form->txtSegment, Qt::Key_Return);
        RecordedMessage none = sui().take();
        QCOMPARE(none.text, QString("Record not found ..."));
        QCOMPARE(none.title, QString("Not Found"));
        QCOMPARE(sui().beeps(), 2); // the empty segment and the refused key; "not found" does not beep here
        QCOMPARE(form->model()->rowCount(), 1);
    }

    void areaUserSeesHisArea() {
        app().addUser("KAW", "pw", "Area Admin", "Kawasan", "North");
        app().loginAs("KAW");
        form->Option3->click();
        QCOMPARE(items(form->cboRegion), QStringList{"North"});
        QCOMPARE(form->cboRegion->currentText(), QString("North"));
        QCOMPARE(form->cboState->currentText(), QString("Perak"));
    }

    void deleteFromTheDetailSearchesThePlaceAgain() {
        form->Option3->click();
        choose(form->cboRegion, "North");
        choose(form->cboCity, "Ipoh");
        choose(form->cboWorkGroup, "Finance");
        form->gridCarian_DblClick(0);
        frmMaklumatIP* d = form->detailForm();
        QCOMPARE(d->txtIPAddress->text(), QString("10.3.21.5"));
        sui().answerNext(Button::Ok);
        d->cmdHapus->click();
        sui().take();
        QVERIFY(form->dwiKlik);
        QCOMPARE(gridAddresses(), QStringList{"10.3.21.6"});
    }
};

QTEST_MAIN(TestSearchLocation)
#include "tst_search_location.moc"

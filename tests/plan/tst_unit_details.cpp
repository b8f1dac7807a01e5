// The units filed under a place and the "User Details" boxes that the assignment form and the
// record detail share.
#include "plan/UserDetailBoxes.h"
#include "support/Fixture.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

Q_DECLARE_METATYPE(zorva::UnitPlace)

class TestUnitDetails : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        // Two places in a non-segmented area, one in a segmented one (no state), and a name
        // filed twice under one place.
        app().exec("INSERT INTO UnitDivision (UnitDivision, Floor, Building, Roadname, Postcode, "
                   "City, State, RegionOwner, StateOwner, CityOwner) VALUES "
                   "('Finance', 'L2', 'Menara', 'Jalan 1', '05000', 'Alor Setar', 'Kedah', "
                   "'Northern', 'Kedah', 'Alor Setar'), "
                   "('IT', 'L5', 'Menara', 'Jalan 1', '05000', 'Alor Setar', 'Kedah', "
                   "'Northern', 'Kedah', 'Alor Setar'), "
                   "('IT', 'G', 'Wisma', 'Jalan 9', '06000', 'Jitra', 'Kedah', "
                   "'Northern', 'Kedah', 'Jitra'), "
                   "('Audit', 'B1', 'Tower', 'Jalan 2', '50000', 'Block B', 'Campus', "
                   "'Southern', NULL, 'Tower A'), "
                   "('Twice', '1', '', '', '', '', '', 'Northern', 'Kedah', 'Jitra'), "
                   "('Twice', '2', '', '', '', '', '', 'Northern', 'Kedah', 'Jitra')");
    }

private slots:
    void unitsOfAPlace_data() {
        QTest::addColumn<UnitPlace>("place");
        QTest::addColumn<QStringList>("units");
        QTest::newRow("state and city, in name order")
            << UnitPlace{"Northern", "Kedah", "Alor Setar"} << QStringList{"Finance", "IT"};
        QTest::newRow("same name in another city")
            << UnitPlace{"Northern", "Kedah", "Jitra"} << QStringList{"IT", "Twice", "Twice"};
        QTest::newRow("segmented area: no state condition")
            << UnitPlace{"Southern", "", "Tower A"} << QStringList{"Audit"};
        QTest::newRow("another state: none") << UnitPlace{"Northern", "Perlis", "Jitra"}
                                             << QStringList{};
    }
    void unitsOfAPlace() {
        QFETCH(UnitPlace, place);
        QFETCH(QStringList, units);
        QCOMPARE(unitsOfPlace(nullptr, place), units);
    }

    void postalAddressOfOneUnit_data() {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<UnitPlace>("place");
        QTest::addColumn<QStringList>("postal"); // empty: no address taken
        QTest::newRow("the unit of that place")
            << "IT" << UnitPlace{"Northern", "Kedah", "Jitra"}
            << QStringList{"G", "Wisma", "Jalan 9", "06000", "Jitra", "Kedah"};
        QTest::newRow("segmented place")
            << "Audit" << UnitPlace{"Southern", "", "Tower A"}
            << QStringList{"B1", "Tower", "Jalan 2", "50000", "Block B", "Campus"};
        QTest::newRow("two rows of that name: left as it is")
            << "Twice" << UnitPlace{"Northern", "Kedah", "Jitra"} << QStringList{};
        QTest::newRow("not filed there") << "Finance" << UnitPlace{"Northern", "Kedah", "Jitra"}
                                         << QStringList{};
        QTest::newRow("a quote in the name is data")
            << "IT' OR '1'='1" << UnitPlace{"Northern", "Kedah", "Jitra"} << QStringList{};
    }
    void postalAddressOfOneUnit() {
        QFETCH(QString, unit);
        QFETCH(UnitPlace, place);
        QFETCH(QStringList, postal);
        const auto p = unitPostal(nullptr, unit, place);
        QCOMPARE(p.has_value(), !postal.isEmpty());
        if (p)
            QCOMPARE((QStringList{p->floor, p->building, p->street, p->postcode, p->city, p->state}),
                     postal);
    }

    // The page as both forms show it: named boxes under their captions, the postal boxes
    // filled and emptied together, Enter moving on from box to box.
    void userDetailsPage() {
        QWidget page;
        UserDetailBoxes boxes;
        boxes.buildUserDetails(&page);
        auto* grid = qobject_cast<QGridLayout*>(page.layout());
        QVERIFY(grid);
        const std::pair<const char*, QWidget*> rows[] = {
            {"User Name :", boxes.txtNamaPengguna}, {"Staff # :", boxes.txtStaffNo},
            {"LAN ID :", boxes.txtLANID},           {"Unit/Division :", boxes.cboUnitDivision},
            {"Floor/Building :", boxes.txtTingkat}, {"Street :", boxes.txtJalan},
            {"Postcode/City :", boxes.txtPoskod},   {"State :", boxes.txtNegeri},
            {"Telephone :", boxes.txtTelefon},      {"Fax :", boxes.txtFaksimili}};
        // Each box beside its caption, one row below the other; the second box of a row and
        // the picture in the third column.
        auto rowOf = [grid](QWidget* w) {
            int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(grid->indexOf(w), &row, &column, &rowSpan, &columnSpan);
            return std::pair{row, column};
        };
        int previous = -1;
        for (const auto& [caption, box] : rows) {
            const auto [row, column] = rowOf(box);
            QCOMPARE(column, 1);
            QVERIFY(row > previous);
            previous = row;
            auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromLatin1(caption));
        }
        QCOMPARE(rowOf(boxes.PicUnitDivision), std::pair(rowOf(boxes.cboUnitDivision).first, 2));
        QCOMPARE(rowOf(boxes.txtBangunan), std::pair(rowOf(boxes.txtTingkat).first, 2));
        QCOMPARE(rowOf(boxes.txtBandar), std::pair(rowOf(boxes.txtPoskod).first, 2));
        for (const char* name : {"txtNamaPengguna", "txtStaffNo", "txtLANID", "txtTingkat",
                                 "txtBangunan", "txtJalan", "txtPoskod", "txtBandar", "txtNegeri",
                                 "txtTelefon", "txtFaksimili"})
            QVERIFY2(page.findChild<QLineEdit*>(name), name);
        QCOMPARE(page.findChild<QLabel*>("PicUnitDivision")->toolTip(),
                 QString("Double-Click to Set Unit/Division ..."));

        boxes.txtStaffNo->setText("S1");
        boxes.showPostal({"L5", "Menara", "Jalan 1", "05000", "Alor Setar", "Kedah"});
        QCOMPARE(boxes.txtJalan->text(), QString("Jalan 1"));
        QCOMPARE(boxes.txtNegeri->text(), QString("Kedah"));
        boxes.clearPostal();
        for (QLineEdit* b : boxes.postalBoxes()) QVERIFY(b->text().isEmpty());
        QCOMPARE(boxes.txtStaffNo->text(), QString("S1"));

        QVERIFY(showActive(&page));
        boxes.txtStaffNo->setFocus();
        QTest::keyClick(boxes.txtStaffNo, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), boxes.txtLANID);
        QTest::keyClick(boxes.txtLANID, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), boxes.txtStaffNo);
    }
};

QTEST_MAIN(TestUnitDetails)
#include "tst_unit_details.moc"

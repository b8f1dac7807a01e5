// The import's verdict on each row of a spreadsheet: addresses, dates, lengths, statuses,
// repeated and recorded addresses, places from the plan, and the "Kawasan" user's one area.
#include "ImportTest.h"
#include "support/AssignPlan.h"

using namespace zorva;
using namespace zorva::test;

namespace {
const QByteArray kHeader = "IP Address,Host name,Status,Date,Remarks,Project\r\n";
}

class TestImportRows : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        app().loginAs();
        addAssignPlan(app());
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], Region, Status, DateIssue) "
                   "VALUES ('198.51.100.7', 7, 'OLD', 'Northern', 'Permanent', '2020-05-06')");
    }

private slots:
    void outcome_data() {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<ExistingRecords>("existing");
        QTest::addColumn<QString>("onlyArea");
        QTest::addColumn<bool>("strict");
        QTest::addColumn<RowOutcome>("outcome");
        QTest::addColumn<QString>("detail");
        const auto add = [](const char* name, const QByteArray& rows, RowOutcome outcome, const QString& detail,
                            ExistingRecords existing = ExistingRecords::Stop, const QString& area = {}, bool strict = false) {
            QTest::newRow(name) << rows << existing << area << strict << outcome << detail;
        };
        const auto refused = RowOutcome::Refused;
        add("leading zero", "010.1.1.1,a,,,,", refused, "IP_Address \"010.1.1.1\" is not an IPv4 address");
        add("three octets", "10.1.1,a,,,,", refused, "IP_Address \"10.1.1\" is not an IPv4 address");
        add("prefix length", "10.1.1.1/24,a,,,,", refused, "is not an IPv4 address");
        add("blank inside", "10. 1.1.1,a,,,,", refused, "is not an IPv4 address");
        add("octet over 255", "256.1.1.1,a,,,,", refused, "is not an IPv4 address");
        add("empty address", ",a,,,,", refused, "IP_Address is empty.");
        add("blanks around trimmed", " 198.51.100.9 ,a,,,,", RowOutcome::New, "");
        add("day that does not exist", "198.51.100.9,a,,31/02/2024,,", refused, "DateIssue \"31/02/2024\" is no date");
        add("other date form", "198.51.100.9,a,,2024/01/02,,", refused, "DateIssue \"2024/01/02\" is no date");
        add("ISO date", "198.51.100.9,a,,2024-01-02,,", RowOutcome::New, "");
        add("status in any case", "198.51.100.9,a,tEMPORARY,,,", RowOutcome::New, "");
        add("unknown status", "198.51.100.9,a,Perm,,,", refused, "Status \"Perm\" is neither Permanent nor Temporary.");
        add("remarks at the limit", "198.51.100.9,a,,,\"" + QByteArray(150, 'r') + "\",", RowOutcome::New, "");
        add("remarks too long", "198.51.100.9,a,,,\"" + QByteArray(151, 'r') + "\",", refused,
            "Remarks is 151 characters long; at most 150 fit.");
        add("project too long", "198.51.100.9,a,,,," + QByteArray(51, 'p'), refused, "Project is 51 characters long");
        add("too few fields", "198.51.100.9,a", refused, "The row has 2 fields; the header has 6.");
        add("too many fields", "198.51.100.9,a,,,,,x", refused, "The row has 7 fields; the header has 6.");
        add("recorded, stop", "198.51.100.7,OLD,,,,", refused, "IP_Address 198.51.100.7 is already recorded.");
        add("recorded, skip", "198.51.100.7,NEW,,,,", RowOutcome::Skipped, "", ExistingRecords::Skip);
        add("recorded, update", "198.51.100.7,NEW,Temporary,06/05/2020,,", RowOutcome::Update,
            "Name: OLD -> NEW; Status: Permanent -> Temporary", ExistingRecords::Update);
        add("recorded, same values", "198.51.100.7,old,Permanent,06/05/2020,,", RowOutcome::Update,
            "Name: OLD -> old", ExistingRecords::Update);
        add("recorded, unchanged", "198.51.100.7,OLD,permanent,2020-05-06,,", RowOutcome::Unchanged, "",
            ExistingRecords::Update);
        add("no plan entry", "203.0.113.5,a,,,,", RowOutcome::New,
            "IP_Address 203.0.113.5 fits no area of the address plan: its place is left empty.");
        add("area without the city", "198.99.1.5,a,,,,", RowOutcome::New, "only its area is filled");
        add("no plan entry, strict", "203.0.113.5,a,,,,", refused,
            "IP_Address 203.0.113.5 fits no area and city of the address plan.", ExistingRecords::Stop, {}, true);
        add("own area", "198.51.100.9,a,,,,", RowOutcome::New, "", ExistingRecords::Stop, "northern");
        add("outside the area", "10.60.10.5,a,,,,", refused, "Region \"Solo\" is outside your area (Northern).",
            ExistingRecords::Stop, "Northern");
        add("no area is outside too", "203.0.113.5,a,,,,", refused, "Region \"\" is outside your area",
            ExistingRecords::Stop, "Northern");
    }
    void outcome() {
        QFETCH(QByteArray, rows);
        QFETCH(ExistingRecords, existing);
        QFETCH(QString, onlyArea);
        QFETCH(bool, strict);
        QFETCH(RowOutcome, outcome);
        QFETCH(QString, detail);
        ImportOptions options;
        options.existing = existing;
        options.onlyArea = onlyArea;
        options.strictPlace = strict;
        const auto import = checked(writeFile(app(), "rows.csv", kHeader + rows + "\r\n"), options);
        QCOMPARE(import->rowCount(), 1);
        const ImportRow row = import->row(0);
        QCOMPARE(row.line, 2);
        if (detail.isEmpty()) QVERIFY2(row.detail.isEmpty(), qPrintable(row.detail));
        else QVERIFY2(row.detail.startsWith(detail) || row.detail.contains(detail), qPrintable(row.detail));
        QCOMPARE(int(row.outcome), int(outcome));
        QCOMPARE(row.warning, outcome != RowOutcome::Refused && (detail.contains("plan") || detail.contains("only its area")));
        // The dry run writes nothing.
        QCOMPARE(app().count("IP_Info"), 1);
    }

    // The second and later rows of one address name the first; counts add up.
    void repeatedAddress() {
        const auto import = checked(writeFile(app(), "rows.csv",
                                              kHeader + "198.51.100.9,a,,,,\r\n\"multi\r\nline\",b,,,,\r\n"
                                                        "198.51.100.9,b,,,,\r\n198.51.100.9,c,,,,\r\n"));
        QCOMPARE(import->rowCount(), 4);
        QCOMPARE(import->row(2).line, 5);
        QCOMPARE(import->row(2).detail, "IP_Address 198.51.100.9 is on line 2 already.");
        QCOMPARE(import->row(3).detail, "IP_Address 198.51.100.9 is on line 2 already.");
        const ImportCounts c = import->counts();
        QCOMPARE(c.rows, 4);
        QCOMPARE(c.added, 1);
        QCOMPARE(c.refused, 3);
    }

    // The place columns: given ones kept, the others from the plan entry the address is in.
    void place_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("givenArea");
        QTest::addColumn<QStringList>("place"); // Region, StateOwner, CityOwner, Workgroup
        QTest::newRow("city with offset, work group by octet 3")
            << "198.52.34.9" << "" << QStringList{"Northern", "Perak", "Taiping", "Finance"};
        QTest::newRow("offset 0: no work group") << "198.53.0.9" << "" << QStringList{"Northern", "Kedah", "Alor Setar", ""};
        QTest::newRow("segmented area, city's own octet 3")
            << "192.0.2.25" << "" << QStringList{"Campus", "", "Block A", "Segment"};
        QTest::newRow("segmented area, city owning the block")
            << "192.0.7.25" << "" << QStringList{"Campus", "", "Block B", "Segment"};
        QTest::newRow("two areas on octet 1: the one with the city")
            << "10.60.14.5" << "" << QStringList{"Solo", "Sabah", "Kota", "Finance"};
        QTest::newRow("area given, the rest from the plan")
            << "198.52.34.9" << "East" << QStringList{"East", "Perak", "Taiping", "Finance"};
        QTest::newRow("no plan entry") << "203.0.113.5" << "" << QStringList{"", "", "", ""};
    }
    void place() {
        QFETCH(QString, address);
        QFETCH(QString, givenArea);
        QFETCH(QStringList, place);
        ImportOptions options;
        options.inputBy = "ADMIN";
        // A file without the column leaves it to the plan.
        const QByteArray rows = givenArea.isEmpty() ? "IP_Address\n" + address.toUtf8() + "\n"
                                                    : "IP_Address,Region\n" + address.toUtf8() + "," + givenArea.toUtf8() + "\n";
        const auto import = checked(writeFile(app(), "rows.csv", rows), options);
        QString error;
        QVERIFY2(import->write(options, {}, &error), qPrintable(error));
        auto q = runSql("SELECT Region, StateOwner, CityOwner, Workgroup, InputBy, IP_4 FROM IP_Info WHERE IP_Address = ?",
                        {address});
        QVERIFY(q && q->next());
        QCOMPARE((QStringList{q->value(0).toString(), q->value(1).toString(), q->value(2).toString(), q->value(3).toString()}),
                 place);
        QCOMPARE(q->value(4).toString(), "ADMIN");
        QCOMPARE(q->value(5).toInt(), address.section('.', 3).toInt());
    }

    void mapping_data() {
        QTest::addColumn<QStringList>("header");
        QTest::addColumn<QStringList>("mapping");
        QTest::addColumn<QString>("problem");
        QTest::newRow("other names, any case and signs")
            << QStringList{"ip address", "Host-Name", "Staff_No", "LAN ID", "Unit/Division", "Phone", "Comment", "Entered By"}
            << QStringList{"IP_Address", "Name", "StaffNo", "LANID", "UnitDivision", "TelNo", "Remarks", "InputBy"} << "";
        QTest::newRow("the export's own names map exactly; IP_4 fills nothing")
            << QStringList{"IP_Address", "IP_4", "State", "City", "StateOwner", "CityOwner", "Region"}
            << QStringList{"IP_Address", "", "State", "City", "StateOwner", "CityOwner", "Region"} << "";
        QTest::newRow("a column claimed once") << QStringList{"IP", "Area", "Region", "Misc"}
                                               << QStringList{"IP_Address", "Region", "", ""} << "";
        QTest::newRow("no address") << QStringList{"Host", "Owner"} << QStringList{"Name", "Username"}
                                    << "No column of the file gives the IP_Address.";
    }
    void mapping() {
        QFETCH(QStringList, header);
        QFETCH(QStringList, mapping);
        QFETCH(QString, problem);
        RecordImport import;
        QString error;
        QVERIFY(import.open(writeFile(app(), "h.csv", header.join(',').toUtf8() + "\n"), &error));
        QCOMPARE(import.mapping(), mapping);
        QCOMPARE(import.mappingProblem(), problem);
    }

    // A file of addresses alone changes nothing of a recorded one.
    void addressOnlyUpdate() {
        ImportOptions update;
        update.existing = ExistingRecords::Update;
        const auto import = checked(writeFile(app(), "a.csv", "IP\n198.51.100.7\n198.51.100.9\n"), update);
        QCOMPARE(int(import->row(0).outcome), int(RowOutcome::Unchanged));
        QCOMPARE(int(import->row(1).outcome), int(RowOutcome::New));
        QString error;
        QVERIFY2(import->write(update, {}, &error), qPrintable(error));
        QCOMPARE(app().scalar("SELECT [Name] FROM IP_Info WHERE IP_Address = '198.51.100.7'").toString(), "OLD");
        QCOMPARE(app().scalar("SELECT CityOwner FROM IP_Info WHERE IP_Address = '198.51.100.9'").toString(), "Ipoh");
    }

    void mappingChosen() {
        RecordImport import;
        QString error;
        QVERIFY(import.open(writeFile(app(), "h.csv", "IP;Host;Other\n198.51.100.9;a;b\n"), &error));
        QCOMPARE(import.delimiter(), QChar(';'));
        QCOMPARE(import.unmappedColumns(), QStringList{"Other"});
        import.setMapping({"IP_Address", "Name", "Name"});
        QCOMPARE(import.mappingProblem(), "Name is filled by two columns of the file: \"Host\" and \"Other\".");
        QVERIFY(!import.check({}, {}, &error));
        QCOMPARE(error, import.mappingProblem());
        import.setMapping({"IP_Address", "", "Remarks"});
        QVERIFY2(import.check({}, {}, &error), qPrintable(error));
        QVERIFY(import.write({}, {}, &error));
        QCOMPARE(app().scalar("SELECT Remarks FROM IP_Info WHERE IP_Address = '198.51.100.9'").toString(), "b");
    }
};

QTEST_MAIN(TestImportRows)
#include "tst_import_rows.moc"

// The assignment rules that need no window: sequence codes, the free-address candidate, the
// subnet layout, the log entry, saving with a conflicting second copy, and the batch.
#include "assign/AssignBatch.h"
#include "assign/AssignLog.h"
#include "assign/AssignParts.h"
#include "assign/AssignRecord.h"
#include "assign/FreeAddress.h"
#include "assign/SubnetLayout.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "support/FakeNet.h"
#include "support/Fixture.h"

#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;
using namespace zorva::test;

using IntList = QList<int>;

namespace {
QList<int> span(int from, int to) {
    QList<int> out;
    for (int v = from; v <= to; ++v) out << v;
    return out;
}
} // namespace

class TestAssignRules : public ZorvaTest {
    Q_OBJECT

private slots:
    void sequenceCodes_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("code");
        const QList<std::pair<int, const char*>> cases = {
            {1, "01"}, {9, "09"}, {10, "10"}, {99, "99"}, {100, "0A"}, {105, "5A"},
            {119, "9B"}, {230, "0N"}, {239, "9N"}, {240, "0P"}, {249, "9P"}, {250, "0Q"},
            {254, "4Q"}, {255, "5Q"}, {256, "6Q"}};
        for (const auto& [n, code] : cases) QTest::addRow("%d", n) << n << QString(code);
    }
    void sequenceCodes() {
        QFETCH(int, n);
        QFETCH(QString, code);
        QCOMPARE(sequenceCode(n), code);
    }

    void entries() {
        QCOMPARE(cityRangeEntry(20, 40), QString("IP Range 20 to 40"));
        QVERIFY(isNetworkEntry("Subnet Mask 252"));
        QVERIFY(isNetworkEntry("IP Range 20 to 40"));
        QVERIFY(!isNetworkEntry("PC"));
        QCOMPARE(addressText(10, 1, 34, 0), QString("10.1.34.0"));
    }

    void candidates_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<IntList>("recorded");
        QTest::addColumn<bool>("full");
        QTest::addColumn<int>("octet4");
        QTest::addColumn<int>("sequence"); // for an equipment starting at `start`
        QTest::addRow("1-50, 1..10 recorded") << 1 << 50 << span(1, 10) << false << 11 << 11;
        QTest::addRow("1-50, 1..5 and 50") << 1 << 50 << (span(1, 5) << 50) << false << 6 << 6;
        QTest::addRow("1-50, 2..50") << 1 << 50 << span(2, 50) << false << 1 << 1;
        QTest::addRow("1-50, full") << 1 << 50 << span(1, 50) << true << 0 << 0;
        QTest::addRow("20-40, empty") << 20 << 40 << IntList{} << false << 20 << 1;
        QTest::addRow("0-255, subnet rows")
            << 0 << 255 << IntList{0, 3, 4, 7, 252, 255} << false << 1 << 1;
        QTest::addRow("one address, free") << 7 << 7 << IntList{} << false << 7 << 1;
        QTest::addRow("one address, taken") << 7 << 7 << IntList{7} << true << 0 << 0;
        QTest::addRow("0-255, all but 255") << 0 << 255 << span(0, 254) << false << 255 << 256;
        // A file without the unique index may hold an address twice: no gap is taken for it.
        QTest::addRow("repeated value") << 1 << 5 << IntList{1, 1, 2, 3, 5} << false << 4 << 4;
    }
    void candidates() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(IntList, recorded);
        QFETCH(bool, full);
        QFETCH(int, octet4);
        QFETCH(int, sequence);
        const Candidate c = findCandidate({start, end}, recorded);
        QCOMPARE(c.full, full);
        if (full) return;
        QCOMPARE(c.octet4, octet4);
        QCOMPARE(equipmentSequence(c.octet4, c.last, start), sequence);
    }

    void countsText() {
        QCOMPARE(rangeCountsText({1, 50}, 10), QString("   (Not Use : 40, IP Range 1 to 50)"));
    }

    void listingKeepsToItsBlockAndRange() {
        for (const char* a : {"10.1.1.5", "10.1.1.60", "10.1.10.6", "10.1.1.7", "10.1.11.8"})
            app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES (?, ?, 'X')",
                       {a, QString(a).section('.', 3).toInt()});
        const auto rows = listRange(database(), "10.1.1.", {1, 50});
        QVERIFY(rows);
        QCOMPARE(fourthOctets(*rows), (IntList{5, 7}));
        QCOMPARE(rows->first().address, QString("10.1.1.5"));
    }

    void echoCheck() {
        FakePinger fake;
        fake.live << "10.1.1.9";
        QVERIFY(addressAnswers("10.1.1.9"));
        QCOMPARE(fake.pinged, QStringList({"10.1.1.9"}));
        fake.pinged.clear();
        QVERIFY(!addressAnswers("10.1.1.8"));
        QCOMPARE(fake.pinged.size(), 4); // four attempts before it counts as free
    }

    void subnetLayout() {
        const QList<SubnetRow> rows = subnetLayoutRows("Subnet Mask 252", "10.2.3.");
        QCOMPARE(rows.size(), 128);
        QCOMPARE(rows[0].address, QString("10.2.3.0"));
        QCOMPARE(rows[1].address, QString("10.2.3.3"));
        QCOMPARE(rows[1].name, QString("BroadcastIP"));
        QCOMPARE(rows[127].ip4, 255);
        QCOMPARE(subnetLayoutRows("Subnet Mask 192", "p.").size(), 8);
        QVERIFY(subnetLayoutRows("IP Range 1 to 9", "p.").isEmpty());

        const SubnetPlace place{"North", "Segment", QString(), "Ipoh", "Admin"};
        QCOMPARE(createSubnetRows(database(), "Subnet Mask 252", "10.2.3.", place), 128);
        QCOMPARE(app().count("IP_Info", "Remarks = 'Network IP' AND [Type] = 'Subnet Mask 252' "
                                        "AND StateOwner IS NULL AND Status = 'Permanent'"),
                 64);
        // A block in use gets nothing more.
        QCOMPARE(createSubnetRows(database(), "Subnet Mask 252", "10.2.3.", place), 0);
        QCOMPARE(app().count("IP_Info"), 128);
        // One row in the way of the layout (another copy): nothing of it stays.
        QVERIFY(refuseRows("refuse", "INSERT", "IP_Info", "NEW.IP_4 = 200", "refused"));
        QString error;
        QCOMPARE(createSubnetRows(database(), "Subnet Mask 252", "10.2.4.", place, &error), -1);
        QVERIFY(error.contains("refused"));
        QCOMPARE(app().count("IP_Info", "IP_Address LIKE '10.2.4.%'"), 0);
    }

    void logEntries_data() {
        QTest::addColumn<bool>("withUnit");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray head = "Date Assign : 05/03/2024 (09:07:02)\r\n" + QByteArray(53, '-') +
                                "\r\nIP Address\t: 10.1.1.5\r\nHostname\t: PCSAKLG05\r\n"
                                "Equipment\t: PC\r\nUsername\t: Siti O'Hara\r\n";
        QTest::addRow("seven lines") << false << head + QByteArray(53, '-') + "\r\n";
        QTest::addRow("twelve lines")
            << true
            << head + "Unit/Division\t: IT Unit\r\nAddress\t\t: Level 3, Menara\r\n"
                      "       \t\t  Jalan Satu\r\n       \t\t  50000, Kuala Lumpur\r\n"
                      "       \t\t  Selangor\r\n" +
                   QByteArray(53, '-') + "\r\n";
    }
    void logEntries() {
        QFETCH(bool, withUnit);
        QFETCH(QByteArray, expected);
        AssignLogFields f{"10.1.1.5", "PCSAKLG05", "PC", "Siti O'Hara"};
        if (withUnit) {
            f.unit = "IT Unit";
            f.floor = "Level 3";
            f.building = "Menara";
            f.street = "Jalan Satu";
            f.postcode = "50000";
            f.city = "Kuala Lumpur";
            f.state = "Selangor";
        }
        const QByteArray entry = assignLogEntry(f, QDateTime(QDate(2024, 3, 5), QTime(9, 7, 2)));
        QCOMPARE(entry, expected);
        QCOMPARE(entry.count("\r\n"), withUnit ? 12 : 7);
    }

    void logFile() {
        QCOMPARE(assignLogPath(), app().path("AssignLog.txt"));
        QString text;
        QVERIFY(!readAssignLog(&text)); // no file yet
        QVERIFY(appendAssignLog("a\r\n"));
        QVERIFY(appendAssignLog("b\r\n"));
        QVERIFY(readAssignLog(&text));
        QCOMPARE(text, QString("a\r\nb\r\n"));
        QVERIFY(clearAssignLog());
        QFile f(assignLogPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("\r\n"));
        QVERIFY(!appendAssignLog("x", app().path("missing/AssignLog.txt")));
    }

    // A second copy of the program records the offered address before this one saves it.
    void saveLosesToASecondCopy() {
        AssignRecord r;
        r.address = "10.1.1.11";
        r.ip4 = 11;
        r.name = "PCSAKLG11";
        r.stateOwner = "Selangor";
        r.unit = "";
        QSqlDatabase other = openOtherCopy("second copy");
        QVERIFY(runSqlOn(other, "INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES (?, 11, 'THEIRS')",
                         {r.address}));
        QString error;
        QCOMPARE(saveAssignment(database(), r, &error), SaveOutcome::AddressTaken);
        QCOMPARE(app().count("IP_Info"), 1);
        QCOMPARE(app().scalar("SELECT [Name] FROM IP_Info").toString(), QString("THEIRS"));
        other = {};
        closeConnection("second copy");

        r.address = "10.1.1.12";
        r.ip4 = 12;
        QCOMPARE(saveAssignment(database(), r), SaveOutcome::Saved);
        QCOMPARE(app().count("IP_Info", "IP_Address = '10.1.1.12' AND StateOwner = 'Selangor' "
                                        "AND UnitDivision IS NULL AND DateIssue = ?",
                             {QDate::currentDate().toString(Qt::ISODate)}),
                 1);
        const auto back = recordedAssignment(database(), "10.1.1.12");
        QVERIFY(back);
        QCOMPARE(back->name, QString("PCSAKLG11"));

        // A value the table refuses: Failed, nothing written.
        r.address = "10.1.1.13";
        r.status = "Much too long";
        QCOMPARE(saveAssignment(database(), r, &error), SaveOutcome::Failed);
        QVERIFY(!error.isEmpty());
        QCOMPARE(app().count("IP_Info"), 2);
    }

    void hostNameLookupWithApostrophe() {
        app().exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name]) VALUES ('10.1.1.4', 4, ?)",
                   {"O'HOST"});
        QCOMPARE(addressWithName(database(), "o'host"), QString("10.1.1.4"));
        QCOMPARE(addressWithName(database(), "OHOST"), QString());
    }

    void batchQuestionsAndCounter() {
        AssignBatch b;
        b.countBoxChanged("3");
        QCOMPARE(b.size, 3);
        QVERIFY(b.countOffer("3", false));
        QVERIFY(!b.countOffer("3", true)); // an answering address keeps the position
        QCOMPARE(b.counter, 1);
        QVERIFY(!b.countOffer("1", false));
        QCOMPARE(b.nextQuestion(true), AssignBatch::Question::None);
        QCOMPARE(b.nextQuestion(false), AssignBatch::Question::SameDetails);
        b.answerSameDetails(true, {"Proj", "", "Permanent", "Ali"});
        QCOMPARE(b.nextQuestion(false), AssignBatch::Question::AutoSave);
        b.answerAutoSave(true, {});
        QCOMPARE(b.remembered.userName, QString("Ali")); // kept from the first answer
        QCOMPARE(b.nextQuestion(false), AssignBatch::Question::None);
        QVERIFY(!b.complete("3"));
        b.counter = 3;
        QVERIFY(b.complete("3"));
        b.cancel("5");
        QCOMPARE(b.counter, 0);
        QCOMPARE(b.size, 5);
        QVERIFY(!b.autoSave && !b.same && !b.sameAsked && !b.autoAsked);
        // No to the first question: no auto-save question.
        b.answerSameDetails(false, {});
        QCOMPARE(b.nextQuestion(false), AssignBatch::Question::None);
        // A batch of one asks nothing.
        AssignBatch one;
        QCOMPARE(one.nextQuestion(false), AssignBatch::Question::None);
        QVERIFY(AssignBatch::sameDetailsText(2).startsWith(
            "Use the same user details for the next 2 IP assignment?\r\n\r\nNote:\r\n"));
        QVERIFY(AssignBatch::autoSaveText(2).endsWith(
            "Click 'Yes' to use auto-save facility. \r\nClick 'No' to manually save every IP assignment."));
    }

    // 256 chained steps run one at a time from the event loop; stop() drops the waiting one.
    void chainRunsFromTheEventLoop() {
        StepChain chain;
        int done = 0, depth = 0, deepest = 0;
        std::function<void()> step = [&] {
            ++depth;
            deepest = qMax(deepest, depth);
            if (++done < 256) chain.post(step);
            --depth;
        };
        chain.post(step);
        QCOMPARE(done, 0);
        QTRY_COMPARE(done, 256);
        QCOMPARE(deepest, 1);
        QVERIFY(!chain.waiting());

        done = 0;
        chain.post(step);
        chain.stop();
        QVERIFY(!chain.waiting());
        QTest::qWait(20);
        QCOMPARE(done, 0);
    }
};

QTEST_MAIN(TestAssignRules)
#include "tst_assignrules.moc"

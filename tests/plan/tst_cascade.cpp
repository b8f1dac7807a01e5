// The plan queries and the walk down the plan that the place-choosing forms share.
#include "plan/LocationCascade.h"
#include "platform/AppState.h"
#include "support/Fixture.h"

#include "support/TestServer.h"

#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestCascade : public ZorvaTest {
    Q_OBJECT

    // Besides the initial database's "Headquarters" (10, segmented "HQ") and its equipment.
    void setUp() override {
        app().exec("INSERT INTO Region VALUES ('Northern', 11, 0, NULL), "
                   "('Southern', 172, 1, 'SO'), ('Hawke''s Bay', 12, 0, 'HB'), "
                   "('Unnumbered', NULL, 0, NULL)");
        app().exec("INSERT INTO State VALUES ('Kedah', 'K', 'Northern'), "
                   "('Perlis', 'P', 'Northern'), ('Kedah', 'Q', 'Hawke''s Bay')");
        app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], StartIPRange, "
                   "ToIPRange, Abbr_state, Region) VALUES "
                   "('Alor Setar', 'AS', 5, 30, 0, 0, 'K', 'Northern'), "
                   "('Jitra', 'JT', 6, 0, 0, 0, 'K', 'Northern'), "
                   "('Napier', 'NP', 9, 10, 0, 0, 'Q', 'Hawke''s Bay'), "
                   "('Tower A', 'TA', 7, 5, 0, 0, 'SO', 'Southern'), "
                   "('Tower B', 'TB', 8, NULL, 0, 0, 'SO', 'Southern'), "
                   "('Tower C', 'TC', 9, 123, 10, 20, 'SO', 'Southern')");
        app().exec("INSERT INTO Workgroup VALUES ('Admin', 'A', 4), ('Finance', 'F', 7)");
    }

private slots:
    void octet3Rule_data() {
        QTest::addColumn<int>("digit");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("octet3");
        QTest::newRow("offset 30, digit 4") << 4 << 30 << 34;
        QTest::newRow("offset 0 whatever the digit") << 4 << 0 << 0;
        QTest::newRow("digit 0") << 0 << 10 << 10;
    }
    void octet3Rule() {
        QFETCH(int, digit);
        QFETCH(int, offset);
        QFETCH(int, octet3);
        QCOMPARE(LocationCascade::octet3For(digit, offset), octet3);
    }

    void segmentPartHasTwoDigitsAtLeast() {
        QCOMPARE(LocationCascade::segmentPart(0), QStringLiteral("00"));
        QCOMPARE(LocationCascade::segmentPart(5), QStringLiteral("05"));
        QCOMPARE(LocationCascade::segmentPart(123), QStringLiteral("123"));
    }

    void areaChoicesFollowTheUsersArea() {
        LocationCascade c;
        QCOMPARE(c.areaChoices(), (QStringList{"Hawke's Bay", "Headquarters", "Northern",
                                               "Southern", "Unnumbered"}));
        QCOMPARE(c.areaChoices(AreaKind::NonSegmented),
                 (QStringList{"Hawke's Bay", "Northern", "Unnumbered"}));
        QVERIFY(!c.boundToOneArea());
        app().addUser("KW1", "pw", "Area Admin", "Kawasan", "Northern");
        app().loginAs("KW1");
        QVERIFY(c.boundToOneArea());
        QCOMPARE(c.areaChoices(), QStringList{"Northern"});
        QCOMPARE(c.areaChoices(AreaKind::NonSegmented), QStringList{"Northern"});
    }

    void walkThroughANonSegmentedArea() {
        LocationCascade c;
        c.setEquipmentCode("PC");
        QVERIFY(c.chooseArea("Northern"));
        QCOMPARE(c.octet1(), 11);
        QVERIFY(!c.segmented());
        QCOMPARE(c.states(), (QStringList{"Kedah", "Perlis"}));
        QVERIFY(c.chooseState("Kedah"));
        QCOMPARE(c.stateCode(), QStringLiteral("K"));
        // Another area has a state of the same name and its own code: only this area's cities.
        QCOMPARE(c.cities(), (QStringList{"Alor Setar", "Jitra"}));
        QVERIFY(c.chooseCity("Alor Setar"));
        QCOMPARE(c.octet2(), 5);
        QCOMPARE(c.cityOffset(), 30);
        QCOMPARE(c.hostNameParts().joined("0"), QStringLiteral("PCK0AS0"));
        QCOMPARE(c.workgroups(), (QStringList{"Admin", "Finance", "General"}));
        QVERIFY(c.chooseWorkgroup("Admin"));
        QCOMPARE(c.octet3(), 34);
        QCOMPARE(c.prefix(), QStringLiteral("11.5.34."));
        QCOMPARE(c.hostNameParts().joined("05"), QStringLiteral("PCKAAS05"));
        // A city with offset 0 gives octet 3 = 0 for every work group.
        QVERIFY(c.chooseCity("Jitra"));
        QVERIFY(c.chooseWorkgroup("Finance"));
        QCOMPARE(c.octet3(), 0);
        QCOMPARE(c.prefix(), QStringLiteral("11.6.0."));
        // A work group emptied: its part unknown, octet 3 kept.
        QVERIFY(!c.chooseWorkgroup(QString()));
        QCOMPARE(c.hostNameParts().workgroup, QStringLiteral("_"));
        QCOMPARE(c.octet3(), 0);
        // A city emptied: octet 2 and its part unknown again.
        QVERIFY(!c.chooseCity(QString()));
        QCOMPARE(c.octet2(), 0);
        QCOMPARE(c.hostNameParts().city, QStringLiteral("___"));
        QVERIFY(!c.chooseState(QString()));
        QCOMPARE(c.hostNameParts().state, QStringLiteral("_"));
    }

    void walkThroughASegmentedArea() {
        LocationCascade c;
        QVERIFY(c.chooseArea("Southern"));
        QVERIFY(c.segmented());
        QCOMPARE(c.segmentCode(), QStringLiteral("SO"));
        QCOMPARE(c.cities(), (QStringList{"Tower A", "Tower B", "Tower C"}));
        // A city with its own octet 3 fixes the segment.
        QVERIFY(c.chooseCity("Tower A"));
        QVERIFY(c.octet3Fixed());
        QCOMPARE(c.prefix(), QStringLiteral("172.7.5."));
        QCOMPARE(c.hostNameParts().state, QStringLiteral("05"));
        QCOMPARE(c.hostNameParts().workgroup, QString());
        QVERIFY(!c.cityRow()->hasOwnRange());
        // One without leaves it to the user.
        QVERIFY(c.chooseCity("Tower B"));
        QVERIFY(!c.octet3Fixed());
        QCOMPARE(c.octet3(), 0);
        c.enterSegment(42);
        QCOMPARE(c.prefix(), QStringLiteral("172.8.42."));
        QCOMPARE(c.hostNameParts().joined("01"), QStringLiteral("_42TB01"));
        QVERIFY(c.chooseCity("Tower C"));
        QVERIFY(c.cityRow()->hasOwnRange());
        QCOMPARE(c.cityRow()->startRange.value(), 10);
        QCOMPARE(c.cityRow()->endRange.value(), 20);
        QCOMPARE(c.hostNameParts().state, QStringLiteral("123"));
        // A non-segmented area without a segment code of its own keeps the last one; one with
        // its own code takes it.
        QVERIFY(c.chooseArea("Northern"));
        QCOMPARE(c.segmentCode(), QStringLiteral("SO"));
        QVERIFY(c.chooseArea("Hawke's Bay"));
        QCOMPARE(c.segmentCode(), QStringLiteral("HB"));
        QCOMPARE(c.cities(), QStringList()); // no state chosen yet
        QVERIFY(c.chooseState("Kedah"));
        QCOMPARE(c.cities(), QStringList{"Napier"});
    }

    void stepsThatFindNoRowKeepWhatWasRead() {
        LocationCascade c;
        QVERIFY(c.chooseArea("Northern"));
        QVERIFY(c.chooseState("Kedah"));
        QVERIFY(c.chooseCity("Alor Setar"));
        QVERIFY(!c.chooseCity("Nowhere"));
        QCOMPARE(c.octet2(), 5);
        QCOMPARE(c.hostNameParts().city, QStringLiteral("AS"));
        QVERIFY(!c.chooseState("Johor"));
        QCOMPARE(c.stateCode(), QStringLiteral("K"));
        // An area without octet 1 reads as 0; no area at all as well, and every state is listed.
        QVERIFY(c.chooseArea("Unnumbered"));
        QCOMPARE(c.octet1(), 0);
        QVERIFY(!c.chooseArea(QString()));
        QCOMPARE(c.octet1(), 0);
        QCOMPARE(c.states(), (QStringList{"Kedah", "Kedah", "Perlis"}));
    }

    void cityRowsKeepEmptyColumnsEmpty() {
        const PlanQueries q;
        const auto b = q.city("Tower B", "SO", "Southern");
        QVERIFY(b);
        QVERIFY(!b->offset);
        QCOMPARE(b->startRange.value(), 0);
        QVERIFY(!b->hasOwnRange());
        QVERIFY(b->key.isValid());
        QCOMPARE(q.firstStateNamed("Kedah")->code, QStringLiteral("K"));
        QCOMPARE(q.state("Kedah", "Hawke's Bay")->code, QStringLiteral("Q"));
        const auto pc = q.equipment("PC");
        QVERIFY(pc);
        QCOMPARE(pc->code, QStringLiteral("PC"));
        QCOMPARE(pc->octet4Start, 71);
        QCOMPARE(pc->octet4End, 240);
        QCOMPARE(q.equipmentNames().first(), QStringLiteral("PC"));
        QCOMPARE(q.workgroup("Admin")->octet3, 4);
        QCOMPARE(q.area("Headquarters")->segmentCode, QStringLiteral("HQ"));
    }

    void ownRange_data() {
        QTest::addColumn<QVariant>("start");
        QTest::addColumn<QVariant>("end");
        QTest::addColumn<bool>("own");
        QTest::newRow("10 to 20") << QVariant(10) << QVariant(20) << true;
        QTest::newRow("0 to 0") << QVariant(0) << QVariant(0) << false;
        QTest::newRow("10 to 0") << QVariant(10) << QVariant(0) << false;
        QTest::newRow("0 to 20") << QVariant(0) << QVariant(20) << false;
        QTest::newRow("none") << QVariant() << QVariant() << false;
    }
    void ownRange() {
        QFETCH(QVariant, start);
        QFETCH(QVariant, end);
        QFETCH(bool, own);
        app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, StartIPRange, ToIPRange, "
                   "Abbr_state, Region) VALUES ('Ranged', 'RG', 3, ?, ?, 'SO', 'Southern')",
                   {start, end});
        QCOMPARE(PlanQueries().city("Ranged", "SO", "Southern")->hasOwnRange(), own);
    }

    // Whether the plan is still the one a new database ships with (the assignment form
    // then opens the local settings first).
    void planNotSetUp_data() {
        QTest::addColumn<QString>("cities"); // the City rows, or none
        QTest::addColumn<bool>("notSetUp");
        const QString placeholder = "('IT Division', 'ITD', 100, 'HQ', 'Headquarters')";
        QTest::newRow("no city") << QString() << true;
        QTest::newRow("only the placeholder") << placeholder << true;
        QTest::newRow("placeholder renamed")
            << "('IT Unit', 'ITD', 100, 'HQ', 'Headquarters')" << false;
        QTest::newRow("placeholder with its own octet 2")
            << "('IT Division', 'ITD', 101, 'HQ', 'Headquarters')" << false;
        QTest::newRow("placeholder and a city")
            << placeholder + ", ('Ipoh', 'IPH', 7, 'A', 'Northern')" << false;
    }
    void planNotSetUp() {
        QFETCH(QString, cities);
        QFETCH(bool, notSetUp);
        app().exec("DELETE FROM City");
        if (!cities.isEmpty())
            app().exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, Abbr_state, Region) "
                       "VALUES " +
                       cities);
        QCOMPARE(PlanQueries().planNotSetUp(), notSetUp);
    }

    void aFailingQueryIsShownAndReadsAsNothing() {
        makeDatabaseUnreachable(app().path("missing"));
        LocationCascade c;
        QCOMPARE(c.areaChoices(), QStringList());
        QCOMPARE(sui().take().title, QStringLiteral("Error !!!"));
        QVERIFY(!c.chooseArea("Northern"));
        QCOMPARE(sui().take().title, QStringLiteral("Error !!!"));
        // Not knowing, the plan is taken as set up: no local settings forced on the user.
        QVERIFY(!PlanQueries().planNotSetUp());
        QCOMPARE(sui().take().title, QStringLiteral("Error !!!"));
    }
};

QTEST_MAIN(TestCascade)
#include "tst_cascade.moc"

// Host lookups on this machine's loopback names, and the local system name.
#include "net/HostLookup.h"
#include "platform/AppState.h"
#include "records/HostName.h"
#include "support/FakeNet.h"
#include "support/Fixture.h"

#include <QtTest>

using namespace zorva;

class TestLookup : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void reverse() {
        appState().gHostNotFound = true;
        QCOMPARE(hostNameFromAddress(QStringLiteral("127.0.0.1")), QStringLiteral("localhost"));
        QVERIFY(!appState().gHostNotFound); // cleared by every lookup
        QCOMPARE(hostNameFromAddress(QStringLiteral("127.0.0")), QString());
        QVERIFY(sui().takeText(QStringLiteral("String passed is an invalid IP."),
                               QStringLiteral("Zorva")));
        QVERIFY(!appState().gHostNotFound);
    }

    void reverseThroughATable() {
        test::FakeLookup names;
        names.names.insert(QStringLiteral("10.0.0.5"), QStringLiteral("pc5.example"));
        QCOMPARE(hostNameFromAddress(QStringLiteral("10.0.0.5")), QStringLiteral("pc5.example"));
        QCOMPARE(hostNameFromAddress(QStringLiteral("10.0.0.6")), QString());
        QVERIFY(sui().takeText(QStringLiteral("Host Name not Found.")));
        QVERIFY(appState().gHostNotFound);
    }

    // The lookup itself only reports what it found: no message, no flag.
    void reverseOutcomes() {
        test::FakeLookup names;
        names.names.insert(QStringLiteral("10.0.0.5"), QStringLiteral("pc5.example"));
        appState().gHostNotFound = true;
        const ReverseLookup found = reverseLookup(QStringLiteral(" 10.0.0.5 "));
        QCOMPARE(int(found.outcome), int(ReverseLookup::Outcome::Name));
        QCOMPARE(found.name, QStringLiteral("pc5.example"));
        QCOMPARE(int(reverseLookup(QStringLiteral("10.0.0.6")).outcome),
                 int(ReverseLookup::Outcome::NoName));
        QCOMPARE(int(reverseLookup(QStringLiteral("10.0.0.256")).outcome),
                 int(ReverseLookup::Outcome::InvalidAddress));
        QVERIFY(reverseLookup(QStringLiteral("10.0.0.6")).name.isEmpty());
        QVERIFY(appState().gHostNotFound); // untouched
    }

    void forward() {
        AddressLookup r = addressFromHostName(QStringLiteral("  localhost "));
        QCOMPARE(r.address, QStringLiteral("127.0.0.1"));
        QVERIFY(r.error.isEmpty());
        // an empty name is this machine
        test::FakeLookup names;
        names.addresses.insert(QStringLiteral("myhost"), QStringLiteral("10.9.8.7"));
        names.localName = QStringLiteral("myhost");
        QCOMPARE(addressFromHostName(QString()).address, QStringLiteral("10.9.8.7"));
        names.localName.clear();
        r = addressFromHostName(QString());
        QVERIFY(r.address.isEmpty());
        QCOMPARE(r.error, QStringLiteral("Windows Sockets error 22 has occurred. Unable to "
                                         "successfully get Host Name.\r\n"));
    }

    void osName() {
        const QString os = localOsName();
        QVERIFY(os.startsWith(QStringLiteral("Linux ")));
    }
};

QTEST_MAIN(TestLookup)
#include "tst_lookup.moc"

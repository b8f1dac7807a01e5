// The address-in-use windows against a NetBIOS responder and a telnet service on loopback,
// with a table of host names standing in for the name service.
#include "net/NetBios.h"
#include "net/TelnetProbe.h"
#include "platform/AppState.h"
#include "records/frmIPAddGuna.h"
#include "records/frmIPAddressUsed.h"
#include "support/FakeNet.h"
#include "support/Fixture.h"
#include "support/NetPeers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;

namespace {
const QString kHost = QStringLiteral("pc-042.corp.example");
const QString kDetailNote = QStringLiteral("IP Address used. Click Detail Info ...");
const QByteArray kGreeting("\r\nPRN-7 Level 3\r\nUsername :");

struct RecordingCaller : AddressInUseCaller {
    int marks = 0, refreshes = 0;
    QStringList taken;
    void markAddressInUse() override { ++marks; }
    void takeLiveInfo(const QString& lanId, const QString& remarks) override {
        taken << lanId << remarks;
    }
    void refreshAfterLiveInfo() override { ++refreshes; }
};
} // namespace

class TestAddressUsed : public test::ZorvaTest {
    Q_OBJECT
    std::unique_ptr<test::NetBiosResponder> responder;
    std::unique_ptr<test::TelnetService> telnet;
    std::unique_ptr<test::FakeLookup> names;

protected:
    void setUp() override {
        responder = std::make_unique<test::NetBiosResponder>();
        telnet = std::make_unique<test::TelnetService>(kGreeting);
        names = std::make_unique<test::FakeLookup>();
        NameTableQuery::defaultPort = responder->port();
        TelnetProbe::defaultPort = telnet->port();
    }
    void tearDown() override {
        NameTableQuery::defaultPort = 137;
        TelnetProbe::defaultPort = 23;
        names.reset();
        telnet.reset();
        responder.reset();
    }

    template <class Form> void open(Form& f, const QString& address, const QString& note) {
        f.liveInfoAddress = address;
        f.liveInfoNote = note;
        f.runLoad();
    }

private slots:
    void detailOfAKnownHost() {
        names->names.insert(QStringLiteral("127.0.0.1"), kHost);
        frmIPAddressUsed f;
        open(f, QStringLiteral("127.0.0.1"), kDetailNote);
        QCOMPARE(f.windowTitle(), QStringLiteral("Information"));
        QCOMPARE(f.lblTelahGuna->text(), kDetailNote);
        QCOMPARE(f.txtlblIPAddress->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(f.cmdGetInfo->text(), QStringLiteral("Detail Info ..."));
        f.cmdGetInfo->click();
        QCOMPARE(f.txtlblNamaPeralatan->text(), kHost);
        QCOMPARE(f.txtlblWorkGroup->text(), QStringLiteral("FINANCE"));
        QCOMPARE(f.txtlblLANID->text(), QStringLiteral("AHMAD"));
        QCOMPARE(f.txtlblMACAddress->text(), QStringLiteral("00-0C-29-AB-CD-EF"));
        QCOMPARE(f.cmdGetInfo->text(), QStringLiteral("OK"));
        QCOMPARE(telnet->connections, 0);
        f.cmdGetInfo->click();
        QVERIFY(f.isUnloaded());
    }

    void addressWithoutNameShowsTheTelnetGreeting() {
        frmIPAddressUsed f;
        open(f, QStringLiteral("127.0.0.1"), kDetailNote);
        f.cmdGetInfo->click();
        QVERIFY(sui().takeText(QStringLiteral("Host Name not Found.")));
        QCOMPARE(f.cmdGetInfo->text(), QStringLiteral("OK"));
        QCOMPARE(f.txtlblNamaPeralatan->text(), QString());
        QCOMPARE(f.txtlblWorkGroup->text(), QString()); // the name table is not shown
        QTRY_COMPARE(f.txtResult->toPlainText(), QStringLiteral("\nPRN-7 Level 3\n"));
        QVERIFY(f.objWinsock->isClosed());
    }

    void noAddress() {
        frmIPAddressUsed f;
        open(f, QString(), QString());
        QCOMPARE(f.txtlblIPAddress->text(), QStringLiteral("0.0.0.0"));
        QCOMPARE(f.lblTelahGuna->text(),
                 QStringLiteral("Click Detail Info button to get current information ..."));
        f.cmdGetInfo->click();
        QVERIFY(sui().takeText(QStringLiteral("String passed is an invalid IP.")));
        const auto m = sui().take();
        QCOMPARE(m.title, QStringLiteral("Pemberitahuan"));
        QCOMPARE(m.text,
                 QStringLiteral("Ralat !!! Kesilapan teknikal pada sistem... sila Cari sekali lagi..."));
        QCOMPARE(m.icon, Icon::Information);
        QCOMPARE(f.cmdGetInfo->text(), QStringLiteral("OK"));
        QCOMPARE(responder->queries, 0);
    }

    void assignmentWindowCopiesWhatItFound() {
        names->names.insert(QStringLiteral("127.0.0.1"), kHost);
        RecordingCaller caller;
        frmIPAddGuna f;
        f.caller = &caller;
        open(f, QStringLiteral("127.0.0.1"), frmIPAddGuna::usedNote);
        QCOMPARE(f.windowTitle(), QStringLiteral("Information ..."));
        QCOMPARE(f.lblIPAddress->text(), QStringLiteral("127.0.0.1"));
        f.cmdGetInfo->click();
        QCOMPARE(caller.marks, 1);
        QCOMPARE(f.lblLANID->text(), QStringLiteral("AHMAD"));
        QVERIFY(caller.taken.isEmpty()); // nothing is copied before closing
        f.cmdGetInfo->click();
        QCOMPARE(caller.refreshes, 1);
        QCOMPARE(caller.taken,
                 QStringList({"AHMAD", "Hostname = " + kHost + "; MAC Address = 00-0C-29-AB-CD-EF"}));
        QVERIFY(f.isUnloaded());
    }

    void assignmentWindowWithoutNameCopiesNothing() {
        RecordingCaller caller;
        frmIPAddGuna f;
        f.caller = &caller;
        open(f, QStringLiteral("127.0.0.1"), frmIPAddGuna::usedNote);
        f.cmdGetInfo->click();
        QVERIFY(sui().takeText(QStringLiteral("Host Name not Found.")));
        QCOMPARE(caller.marks, 1);
        // the "used" note goes on to the name table even without a host name
        QCOMPARE(f.lblWorkGroup->text(), QStringLiteral("FINANCE"));
        f.cmdGetInfo->click();
        QCOMPARE(caller.refreshes, 1);
        QVERIFY(caller.taken.isEmpty());
    }

    void assignmentWindowOtherNoteStopsWithoutName() {
        RecordingCaller caller;
        frmIPAddGuna f;
        f.caller = &caller;
        open(f, QStringLiteral("127.0.0.1"), QStringLiteral("Checking ..."));
        f.cmdGetInfo->click();
        QVERIFY(sui().takeText(QStringLiteral("Host Name not Found.")));
        QCOMPARE(caller.marks, 0);
        QCOMPARE(f.lblWorkGroup->text(), QString());
        QTRY_COMPARE(f.txtResult->toPlainText(), QStringLiteral("\nPRN-7 Level 3\n"));
        f.cmdGetInfo->click();
        QVERIFY(caller.taken.isEmpty());
    }

    void silentNameServiceFallsBackToTelnet() {
        names->names.insert(QStringLiteral("127.0.0.1"), kHost);
        responder->answer = [](const QByteArray&) { return QByteArray(); };
        RecordingCaller caller;
        frmIPAddGuna f;
        f.caller = &caller;
        open(f, QStringLiteral("127.0.0.1"), frmIPAddGuna::usedNote);
        f.cmdGetInfo->click();
        QCOMPARE(f.lblLANID->text(), QString());
        QTRY_COMPARE(f.txtResult->toPlainText(), QStringLiteral("\nPRN-7 Level 3\n"));
        f.cmdGetInfo->click();
        QCOMPARE(caller.taken, QStringList({"", "Hostname = " + kHost + "; MAC Address = "}));
    }
};

QTEST_MAIN(TestAddressUsed)
#include "tst_addressused.moc"

// The scan mode of the real form with the real echo, in a private network namespace: it stops
// at the first live address that is not recorded and offers it; a silent block ends with the
// end message. The whole test runs inside its own namespace, so no packet leaves the machine.
#include "assign/frmZorvaMain.h"
#include "assign/AssignDetails.h"
#include "platform/AppState.h"
#include "records/frmIPAddGuna.h"
#include "support/AssignPlan.h"
#include "support/NetRig.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {
// Campus / Block B with segment 2 is 192.0.2., the rig's network.
const QStringList kLive = {"192.0.2.12", "192.0.2.15"};
QString netNamespace(const QString& task) {
    return QFileInfo(QStringLiteral("/proc/%1/ns/net").arg(task)).symLinkTarget();
}
} // namespace

class TestScanNetwork : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<frmZorvaMain> f;

    void setUp() override {
        app().loginAs();
        addAssignPlan(app());
        appState().scanFlag = true;
        appState().dedicatedFlag = false;
        f = std::make_unique<frmZorvaMain>();
        f->runLoad();
        choose(f->cboRegion, "Campus");
        choose(f->cboCity, "Block B");
        QTest::keyClicks(f->txtSegment, "2");
    }
    void tearDown() override { f.reset(); }

    bool scan(const QString& equipment) {
        choose(f->cboEquipment, equipment);
        QTRY_LOOP_IMPL(f->cmdTutup->isEnabled(), 10000, 20);
        return f->cmdTutup->isEnabled();
    }

private slots:
    void initTestCase() {
        const QString why = enterTestNetwork(kLive);
        if (!why.isEmpty()) QSKIP(qPrintable("no private test network: " + why));
        QVERIFY(netNamespace("thread-self") != netNamespace("1"));
    }

    void stopsAtTheFirstLiveUnrecordedAddress() {
        recordAddresses(app(), "192.0.2.", {12});
        QString shownFor;
        sui().onModal("frmIPAddGuna", [&shownFor](QDialog& d) {
            shownFor = static_cast<frmIPAddGuna&>(d).liveInfoAddress;
            d.reject();
        });
        QVERIFY(scan("Dev"));
        QCOMPARE(shownFor, QString("192.0.2.15"));
        QCOMPARE(f->details->txtIPAddress->text(), QString("192.0.2.15"));
        QCOMPARE(f->details->txtKodPeralatan->text(), QString("DV02BB06"));
        QVERIFY(f->cmdSave->isEnabled());
        QCOMPARE(f->i, 16);
    }

    void silentBlockEndsWithTheMessage() {
        sui().answerNext(Button::Yes); // 20-40: the pause before .31
        QVERIFY(scan("Cam"));
        QVERIFY(sui().takeText("Proceed with 30 more ? ...", "Proceed ?"));
        QVERIFY(sui().takeText("Scan Network finished or Stopped !!!", "Finish"));
        QVERIFY(!f->cmdSave->isEnabled());
        QCOMPARE(f->i, 0);
    }
};

QTEST_MAIN(TestScanNetwork)
#include "tst_scan_network.moc"

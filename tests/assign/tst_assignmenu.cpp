// The main window's assignment entries: one centred assignment form whose mode follows the
// entry last chosen, and the log viewer.
#include "app/MDIFrmUtama.h"
#include "assign/frmAssignLog.h"
#include "assign/frmZorvaMain.h"
#include "platform/Builders.h"
#include "support/AssignPlan.h"
#include "support/FakeNet.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestAssignMenu : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<MDIFrmUtama> main;
    FakePinger pinger;

    void setUp() override {
        app().loginAs();
        addAssignPlan(app());
        main = std::make_unique<MDIFrmUtama>();
    }
    void tearDown() override { main.reset(); }

    QList<QMdiSubWindow*> children() const { return main->mdiArea->subWindowList(); }
    frmZorvaMain* onlyForm() const {
        const auto list = children();
        return list.size() == 1 ? qobject_cast<frmZorvaMain*>(list.first()->widget()) : nullptr;
    }
    void scanIpohDev(frmZorvaMain* form) {
        choose(form->cboRegion, "Northern");
        choose(form->cboState, "Perak");
        choose(form->cboCity, "Ipoh");
        choose(form->cboWorkGroup, "General");
        choose(form->cboEquipment, "Dev");
        QTRY_VERIFY_WITH_TIMEOUT(form->cmdTutup->isEnabled(), 5000);
        QVERIFY(sui().takeText("Scan Network finished or Stopped !!!", "Finish"));
    }

private slots:
    void oneFormFollowingTheLastEntry() {
        for (const char* button : {"mAssignNewIP", "mAssignDedicatedIP", "mAssignLog"}) {
            QVERIFY2(main->toolButton(QString::fromLatin1(button))->isVisible(), button);
            QVERIFY2(main->toolButton(QString::fromLatin1(button))->isEnabled(), button);
        }
        main->findChild<QAction*>("mnuInputRekod")->trigger();
        QCOMPARE(children().size(), 1);
        auto* form = qobject_cast<frmZorvaMain*>(children().first()->widget());
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("Assign New IP Address"));
        // Dedicated while it is open: the same form, caption kept, the steps act as dedicated.
        main->toolButton(QStringLiteral("mAssignDedicatedIP"))->trigger();
        QCOMPARE(children().size(), 1);
        QCOMPARE(children().first()->widget(), form);
        QCOMPARE(form->windowTitle(), QString("Assign New IP Address"));
        choose(form->cboRegion, "Northern");
        choose(form->cboState, "Perak");
        choose(form->cboCity, "Ipoh");
        choose(form->cboWorkGroup, "General");
        QCOMPARE(form->txtBilangan->text(), QString()); // no count of 1 in dedicated mode
        QTest::keyClicks(form->txtBilangan, "15");
        choose(form->cboEquipment, "Dev");
        QCOMPARE(form->findChild<QLineEdit*>("txtIPAddress")->text(), QString("198.51.100.15"));
        // Closing destroys it; the next opening starts afresh in the mode chosen.
        form->cmdBatal->click();
        form->cmdTutup->click();
        QTRY_COMPARE(children().size(), 0);
        main->toolButton(QStringLiteral("mAssignDedicatedIP"))->trigger();
        form = qobject_cast<frmZorvaMain*>(children().first()->widget());
        QCOMPARE(form->windowTitle(), QString("Assign Dedicated IP Address"));
        QCOMPARE(form->cboRegion->currentIndex(), -1);
    }

    void logViewer() {
        main->findChild<QAction*>("mnuAssignLog")->trigger();
        QVERIFY(sui().takeText("Error !!! No info available ... ", "Error !!!")); // no log yet
        QCOMPARE(children().size(), 1);
        auto* log = qobject_cast<frmAssignLog*>(children().first()->widget());
        QVERIFY(log);
        log->cmdClose->click();
        QTRY_COMPARE(children().size(), 0);
    }

    void scanNetworkEntry() {
        pinger.pinged.clear();
        QAction* entry = main->findChild<QAction*>("mnuScanNetwork");
        QVERIFY(entry->isEnabled());
        QVERIFY(main->toolButton(QStringLiteral("mScanNetwork"))->isVisible());
        main->toolButton(QStringLiteral("mScanNetwork"))->trigger();
        frmZorvaMain* form = onlyForm();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("Scan Network ..."));
        QVERIFY(!isEditable(form->txtBilangan));
        scanIpohDev(form);
        QCOMPARE(pinger.pinged.size(), 11 * 4);
    }

    void openFormTurnedToScanning() {
        main->findChild<QAction*>("mnuInputRekod")->trigger();
        frmZorvaMain* form = onlyForm();
        QVERIFY(form);
        main->findChild<QAction*>("mnuScanNetwork")->trigger();
        QCOMPARE(onlyForm(), form);
        QCOMPARE(form->windowTitle(), QString("Assign New IP Address")); // caption kept
        scanIpohDev(form);
        QVERIFY(form->cboEquipment->isEnabled() && !form->cmdSave->isEnabled());
    }
};

QTEST_MAIN(TestAssignMenu)
#include "tst_assignmenu.moc"

#include "app/MDIFrmUtama.h"
#include "plan/frmIPAddressSettings.h"
#include "plan/frmUnitDivision.h"
#include "support/Fixture.h"
#include "support/PlanTest.h"

#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace zorva;
using namespace zorva::test;

// The main window's entries for the address plan.
class TestPlanMenu : public ZorvaTest {
    Q_OBJECT

    std::unique_ptr<MDIFrmUtama> main;

    void setUp() override {
        app().loginAs();
        main = std::make_unique<MDIFrmUtama>();
    }
    void tearDown() override { main.reset(); }

private slots:
    void settingsOpenAsOneCentredChild() {
        QAction* entry = main->findChild<QAction*>("mnuIPAddressSetting");
        QVERIFY(entry->isEnabled());
        QVERIFY(main->toolButton(QStringLiteral("mIPsettings"))->isVisible());
        entry->trigger();
        main->toolButton(QStringLiteral("mIPsettings"))->trigger();
        QCOMPARE(main->mdiArea->subWindowList().size(), 1);
        auto* form = qobject_cast<frmIPAddressSettings*>(main->mdiArea->subWindowList().first()->widget());
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QString("IP Address Settings"));
        QCOMPARE(child<QListWidget>(form, "LstRegion")->count(), 1);
        click(form, "cmdTutupRegion");
        QTRY_COMPARE(main->mdiArea->subWindowList().size(), 0);
    }

    void unitDirectoryModalFromTheMenu() {
        QAction* entry = main->findChild<QAction*>("mnuUnitDivision");
        QVERIFY(entry->isEnabled());
        bool seen = false;
        sui().onModal("frmUnitDivision", [&seen](QDialog& d) {
            auto& f = static_cast<frmUnitDivision&>(d);
            seen = !f.caller.fromCaller() && f.cboRegion->isEnabled() &&
                   f.cboRegion->findText("Headquarters") >= 0;
            f.findChild<QPushButton*>("cmdTutup")->click();
        });
        main->toolButton(QStringLiteral("mUnitDivSettings"))->trigger();
        QVERIFY(seen);
        QCOMPARE(sui().modalForms, QStringList({"frmUnitDivision"}));
    }
};

QTEST_MAIN(TestPlanMenu)
#include "tst_plan_menu.moc"

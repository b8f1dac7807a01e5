#include "app/MDIFrmUtama.h"
#include "platform/Ini.h"
#include "support/Fixture.h"
#include "utilities/UserStore.h"
#include "utilities/frmBackupDB.h"
#include "utilities/frmSubnetCal.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

// The main window's entries for the subnet calculator and the backup form.
class TestUtilityMenu : public ZorvaTest {
    Q_OBJECT

    void setUp() override {
        isolateUserStore(app().folder());
        app().loginAs();
    }

private slots:
    void subnetCalculatorIsModal() {
        MDIFrmUtama main;
        QVERIFY(main.mnuSubnetCalculator->isEnabled());
        QString shown;
        sui().onModal(QStringLiteral("frmSubnetCal"), [&shown](QDialog& d) {
            auto& f = static_cast<frmSubnetCal&>(d);
            const QStringList octets{"192", "168", "7", "9"};
            for (int i = 0; i < 4; ++i) f.txtip[i]->setText(octets[i]);
            f.cmdCalculate->click();
            shown = f.lblNetID->text();
            f.cmdTutup->click();
        });
        main.mnuSubnetCalculator->trigger();
        QCOMPARE(sui().modalForms, QStringList{QStringLiteral("frmSubnetCal")});
        QCOMPARE(shown, QStringLiteral("192.168.7.0/24"));
    }

    void backupFormIsOneCentredChild() {
        QVERIFY(WriteIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation"), app().folder()));
        MDIFrmUtama main;
        main.resize(1000, 800);
        main.show();
        QVERIFY(main.mnuBackupRestore->isEnabled());
        main.mnuBackupRestore->trigger();
        main.toolButton(QStringLiteral("mBackupRestore"))->trigger();
        const QList<QMdiSubWindow*> children = main.mdiArea->subWindowList();
        QCOMPARE(children.size(), 1);
        auto* form = qobject_cast<frmBackupDB*>(children.first()->widget());
        QVERIFY(form);
        QVERIFY(form->isLoaded());
        QCOMPARE(form->txtPath->text(), app().folder() + QLatin1Char('/'));
        QVERIFY(form->cmdRestore->isEnabled());
    }
};

QTEST_MAIN(TestUtilityMenu)
#include "tst_utilitymenu.moc"

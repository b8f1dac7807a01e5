// The scan-range dialog: the starts it offers and what Start writes into the scan position.
#include "assign/ScanWalk.h"
#include "assign/frmNetScanRange.h"
#include "platform/AppState.h"
#include "support/Fixture.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestScanRange : public ZorvaTest {
    Q_OBJECT
private slots:
    void startsEvery30_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QStringList>("starts");
        QTest::newRow("1-100") << 1 << 100 << QStringList{"1", "31", "61", "91"};
        QStringList whole;
        for (int v = 0; v <= 240; v += 30) whole << QString::number(v);
        QTest::newRow("0-255") << 0 << 255 << whole;
        QTest::newRow("one address") << 7 << 7 << QStringList{"7"};
        QTest::newRow("up to the end") << 10 << 70 << QStringList{"10", "40", "70"};
    }
    void startsEvery30() {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QStringList, starts);
        appState().gOctet4Start = start;
        appState().gOctet4End = end;
        ScanPosition pos{start, 999, false};
        frmNetScanRange dialog(pos);
        QStringList shown;
        sui().onModal("frmNetScanRange", [&shown](QDialog& d) {
            auto& f = static_cast<frmNetScanRange&>(d);
            QCOMPARE(f.windowTitle(), QString("Network Scan range ..."));
            for (int k = 0; k < f.cboStartRange->count(); ++k) shown << f.cboStartRange->itemText(k);
            QCOMPARE(f.cboStartRange->currentIndex(), 0);
            f.cboStartRange->setCurrentIndex(f.cboStartRange->count() - 1);
            f.cmdStart->click();
        });
        QCOMPARE(ui().showModal(dialog), int(QDialog::Accepted));
        QCOMPARE(shown, starts);
        QCOMPARE(pos.i, starts.last().toInt());
        QCOMPARE(pos.StartRange, starts.last().toInt());
    }

    void closedWithoutStart() {
        appState().gOctet4Start = 1;
        appState().gOctet4End = 100;
        ScanPosition pos{1, 999, false};
        frmNetScanRange dialog(pos);
        sui().onModal("frmNetScanRange", [](QDialog& d) {
            static_cast<frmNetScanRange&>(d).cboStartRange->setCurrentIndex(2);
            d.close();
        });
        ui().showModal(dialog);
        QCOMPARE(pos.i, 1);
        QCOMPARE(pos.StartRange, 999);
    }
};

QTEST_MAIN(TestScanRange)
#include "tst_scan_range.moc"

// Every form as a user sees it, with data, at the default font and at one and a half times
// that: no text cut, no controls on top of each other, no data grey on grey. The forms are
// listed in tst_layout_part_forms.cpp; a new form gets its line there.
#include "platform/FormBase.h"
#include "support/FakeNet.h"
#include "support/Fixture.h"
#include "support/LayoutCheck.h"
#include "tst_layout_forms.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

class TestLayout : public ZorvaTest {
    Q_OBJECT

    QFont font_;
    std::unique_ptr<LayoutSetting> setting_;

    void setUp() override {
        font_ = QApplication::font();
        setting_ = std::make_unique<LayoutSetting>(app());
    }
    void tearDown() override {
        QApplication::setFont(font_);
        setting_.reset();
    }

    // Shows the form as the program does: a child of the main window's area sized once to its
    // layout when it opens (it does not grow later); a dialog as a window of its own at its
    // layout's size (it grows when its contents need it); the main window at its own size.
    static QWidget* showAsOpened(std::unique_ptr<QWidget> form, bool inMainWindow, QMdiArea& area) {
        QWidget* shown = form.get();
        if (inMainWindow) {
            area.resize(1280, 900);
            area.show();
            QMdiSubWindow* child = area.addSubWindow(form.release()); // the area owns it now
            child->adjustSize();
            child->show();
        } else {
            form.release()->setParent(&area, Qt::Window); // the area owns it, a window still
            shown->show();
            if (qobject_cast<FormBase*>(shown)) shown->resize(shown->sizeHint());
        }
        QCoreApplication::processEvents();
        return shown;
    }

private slots:
    void formsFitTheirTexts_data() {
        QTest::addColumn<int>("form");
        QTest::addColumn<double>("scale");
        const QList<LayoutCase>& cases = layoutCases();
        for (int i = 0; i < cases.size(); ++i)
            for (double scale : {1.0, 1.5})
                QTest::addRow("%s at %.1fx", cases[i].name, scale) << i << scale;
    }
    void formsFitTheirTexts() {
        QFETCH(int, form);
        QFETCH(double, scale);
        QFont larger = font_;
        larger.setPointSizeF(font_.pointSizeF() * scale);
        QApplication::setFont(larger);
        const LayoutCase& c = layoutCases()[form];
        std::unique_ptr<QWidget> opened = c.open(sui());
        QVERIFY2(opened, c.name);
        QMdiArea area;
        QWidget* shown = showAsOpened(std::move(opened), c.inMainWindow, area);
        if (c.afterShow) c.afterShow(shown, sui());
        QCoreApplication::processEvents();
        // To look at the forms: ZORVA_LAYOUT_SHOTS=folder saves each as a picture. With
        // ZORVA_LAYOUT_SHOTS_BY_NAME set, only the default size is saved, named by the window's
        // object name as the manual's pages name their pictures; a form opened in several
        // states keeps the first.
        if (const QString shots = qEnvironmentVariable("ZORVA_LAYOUT_SHOTS"); !shots.isEmpty()) {
            if (!qEnvironmentVariableIsSet("ZORVA_LAYOUT_SHOTS_BY_NAME")) {
                shown->grab().save(QDir(shots).filePath(QString::fromLatin1(QTest::currentDataTag()) + ".png"));
            } else if (scale == 1.0) {
                const QString file = QDir(shots).filePath(shown->objectName() + ".png");
                if (!QFileInfo::exists(file)) QVERIFY2(shown->grab().save(file), qPrintable(file));
            }
        }
        const QStringList faults = layoutFaults(shown);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }

    // The check itself finds what it is there for.
    void checkFindsCutsOverlapsAndGreyData() {
        QWidget w;
        w.setObjectName("probe");
        auto* row = new QHBoxLayout(&w);
        auto* label = new QLabel("Northern Region", &w);
        label->setObjectName("lblArea");
        label->setMaximumWidth(40);
        auto* box = new QLineEdit("198.51.100.250", &w);
        box->setObjectName("txtAddress");
        box->setEnabled(false);
        auto* loose = new QLabel("loose", &w);
        loose->setObjectName("lblLoose");
        row->addWidget(label);
        row->addWidget(box);
        row->addWidget(loose);
        w.show();
        w.resize(w.sizeHint());
        loose->setGeometry(box->geometry()); // placed by hand on top of the box
        const QString faults = layoutFaults(&w).join('\n');
        QVERIFY2(faults.contains("probe: lblArea 'Northern Region' needs"), qPrintable(faults));
        QVERIFY2(faults.contains("probe: txtAddress shows '198.51.100.250' disabled"),
                 qPrintable(faults));
        QVERIFY2(faults.contains("overlaps"), qPrintable(faults));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"

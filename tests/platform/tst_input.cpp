// The shared input behaviours and the scripted user interface that form tests rely on.
#include "platform/FormBase.h"
#include "platform/Input.h"
#include "support/Fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

using namespace zorva;
using namespace zorva::test;

namespace {

struct Form : FormBase {
    QLineEdit* a = new QLineEdit(this);
    QLineEdit* b = new QLineEdit(this);
    QLineEdit* disabled = new QLineEdit(this);
    QLineEdit* c = new QLineEdit(this);
    QPushButton* ok = new QPushButton("OK", this);
    int loads = 0;
    Form() {
        setObjectName("frmTest");
        auto* l = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(a), static_cast<QWidget*>(b),
                           static_cast<QWidget*>(disabled), static_cast<QWidget*>(c),
                           static_cast<QWidget*>(ok)})
            l->addWidget(w);
        disabled->setEnabled(false);
        connect(ok, &QPushButton::clicked, this, [this] { unload(QDialog::Accepted); });
    }
    void Form_Load() override { ++loads; }
};

} // namespace

class TestInput : public ZorvaTest {
    Q_OBJECT
private slots:
    void numericFilterRevertsWithBeep() {
        QLineEdit box;
        attachNumericFilter(&box, 255);
        QTest::keyClicks(&box, "30");
        QCOMPARE(sui().beeps(), 0);
        QTest::keyClicks(&box, "0"); // 300 is above the bound
        QCOMPARE(box.text(), QString("30"));
        QCOMPARE(box.cursorPosition(), 2);
        QCOMPARE(sui().beeps(), 1);
        QTest::keyClicks(&box, "x");
        QCOMPARE(box.text(), QString("30"));
        QCOMPARE(sui().beeps(), 2);
        QTest::keyClick(&box, Qt::Key_Home);
        QTest::keyClicks(&box, "-");
        QCOMPARE(box.text(), QString("30"));
        // Emptying the box is allowed; the program may set a valid value.
        box.clear();
        QCOMPARE(box.text(), QString());
        box.setText("255");
        QCOMPARE(box.text(), QString("255"));
        box.setText("1e2");
        QCOMPARE(box.text(), QString("255"));
        QCOMPARE(sui().beeps(), 4);
    }

    void numericFilterLowerBound() {
        QLineEdit box;
        attachNumericFilter(&box, 9, 1);
        QTest::keyClicks(&box, "0");
        QCOMPARE(box.text(), QString());
        QTest::keyClicks(&box, "7");
        QCOMPARE(box.text(), QString("7"));
        QCOMPARE(sui().beeps(), 1);
    }

    void codeBoxUpperCaseAndLength() {
        QLineEdit box;
        attachCodeFilter(&box, 3, [] { return true; });
        QTest::keyClicks(&box, "ab");
        QCOMPARE(box.text(), QString("AB"));
        QCOMPARE(box.cursorPosition(), 2);
        QTest::keyClicks(&box, "cd");
        QCOMPARE(box.text(), QString("ABC"));
        QCOMPARE(sui().beeps(), 1); // the fourth letter was refused
    }

    void focusMoves() {
        Form f;
        int entered = 0;
        attachFocusMoves({f.a, f.b});
        attachFocusMoves(f.c, FocusMove::Arrows | FocusMove::EnterNext, [&] { ++entered; });
        f.show();
        QApplication::setActiveWindow(&f);
        QVERIFY(QTest::qWaitForWindowActive(&f));
        f.a->setFocus();
        QTest::keyClick(f.a, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), f.b);
        // The disabled box is passed over.
        QTest::keyClick(f.b, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), f.c);
        QTest::keyClick(f.c, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), f.b);
        QCOMPARE(f.b->text(), QString()); // the key was discarded
        f.c->setFocus();
        QTest::keyClick(f.c, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), f.ok);
        QCOMPARE(entered, 1);
    }

    void modalFormsAreScripted() {
        Form f;
        sui().onModal("frmTest", [](QDialog& d) {
            auto& form = static_cast<Form&>(d);
            QTest::keyClicks(form.a, "typed");
            form.ok->click();
        });
        QCOMPARE(ui().showModal(f), int(QDialog::Accepted));
        QCOMPARE(f.loads, 1);
        QCOMPARE(f.a->text(), QString("typed"));
        QCOMPARE(sui().modalForms, QStringList({"frmTest"}));
    }

    void scriptedUiReportsWhatWasNotExpected() {
        ScriptedUi local; // installs itself over the fixture's for this block
        ui().message(nullptr, Icon::Warning, "Error !", "Please enter User ID !");
        QCOMPARE(local.problems().size(), 1);
        QVERIFY(local.problems().first().contains("Please enter User ID !"));
        QVERIFY(local.takeText("Please enter User ID !", "Error !"));
        QVERIFY(local.problems().isEmpty());

        // A question needs a scripted answer; a left-over answer is a problem too.
        QCOMPARE(ui().message(nullptr, Icon::Question, "Q", "Sure ?", Button::Yes | Button::No,
                              Button::No),
                 Button::No);
        local.take();
        QCOMPARE(local.problems().size(), 1);
        QVERIFY(local.problems().first().contains("without a scripted answer"));
        ScriptedUi fresh;
        fresh.answerNext(Button::Yes);
        QCOMPARE(fresh.problems().size(), 1);
        QCOMPARE(ui().message(nullptr, Icon::Question, "Q", "Sure ?", Button::Yes | Button::No),
                 Button::Yes);
        fresh.take();
        QVERIFY(fresh.problems().isEmpty());
        // A modal form nobody handles is reported and rejected.
        Form f;
        QCOMPARE(ui().showModal(f), int(QDialog::Rejected));
        QCOMPARE(fresh.problems().size(), 1);
    }
};

QTEST_MAIN(TestInput)
#include "tst_input.moc"

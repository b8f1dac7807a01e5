#include "platform/Input.h"
#include "platform/Ui.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace zorva {

namespace {

class FocusMoveFilter : public QObject {
public:
    FocusMoveFilter(QWidget* control, FocusMoves moves, std::function<void()> afterEnter)
        : QObject(control), moves_(moves), afterEnter_(std::move(afterEnter)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
        auto* w = static_cast<QWidget*>(watched);
        if (moves_.testFlag(FocusMove::Arrows) &&
            (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            focusNextControl(w, key->key() == Qt::Key_Down);
            return true;
        }
        if (moves_.testFlag(FocusMove::EnterNext) &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            focusNextControl(w, true);
            if (afterEnter_) afterEnter_();
            return true;
        }
        return false;
    }

private:
    FocusMoves moves_;
    std::function<void()> afterEnter_;
};

class SelectOnFocusFilter : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            QPointer<QLineEdit> box = static_cast<QLineEdit*>(watched);
            // After the mouse press that gave the focus has placed the caret.
            QTimer::singleShot(0, box, [box] {
                if (box) box->selectAll();
            });
            box->selectAll();
        }
        return false;
    }
};

// A refused change: the last accepted text comes back, the caret goes to the end, a beep.
void refuseChange(QLineEdit* box, const QString& last) {
    const QSignalBlocker block(box);
    box->setText(last);
    box->setCursorPosition(int(last.size()));
    ui().beep();
}

bool canTakeFocus(QWidget* w, QWidget* window) {
    return w->isEnabled() && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus) &&
           w->window() == window && !w->focusProxy();
}

} // namespace

void attachNumericFilter(QLineEdit* box, int maxValue, int minValue) {
    attachNumericFilter(box, maxValue, minValue, {});
}

void attachNumericFilter(QLineEdit* box, int maxValue, int minValue,
                         std::function<bool()> active) {
    auto last = std::make_shared<QString>(box->text());
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box, last, maxValue, minValue, active](const QString& t) {
        if (t.isEmpty() || (active && !active())) {
            *last = t;
            return;
        }
        bool digitsOnly = true;
        for (QChar c : t) digitsOnly = digitsOnly && c.isDigit() && c.unicode() < 128;
        bool ok = false;
        const long long v = t.toLongLong(&ok);
        if (digitsOnly && ok && v >= minValue && v <= maxValue) {
            *last = t;
            return;
        }
        refuseChange(box, *last);
    });
}

void attachCodeFilter(QLineEdit* box, int maxLength, std::function<bool()> active) {
    auto last = std::make_shared<QString>(box->text());
    QObject::connect(box, &QLineEdit::textChanged, box,
                     [box, last, maxLength, active](const QString& t) {
        if (active && !active()) {
            *last = t;
            return;
        }
        if (maxLength > 0 && t.size() > maxLength) {
            refuseChange(box, *last);
            return;
        }
        const QSignalBlocker block(box);
        *last = t.toUpper();
        if (*last != t) box->setText(*last);
        box->setCursorPosition(int(last->size()));
    });
}

void attachLengthLimit(QLineEdit* box, int maxLength) {
    auto last = std::make_shared<QString>(box->text());
    QObject::connect(box, &QLineEdit::textChanged, box, [box, last, maxLength](const QString& t) {
        if (t.size() <= maxLength) {
            *last = t;
            return;
        }
        refuseChange(box, *last);
    });
}

void focusNextControl(QWidget* control, bool forward) {
    QWidget* window = control->window();
    QWidget* w = control;
    for (int guard = 0; guard < 1000; ++guard) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == control) return;
        if (canTakeFocus(w, window)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

void attachFocusMoves(QWidget* control, FocusMoves moves, std::function<void()> afterEnter) {
    control->installEventFilter(new FocusMoveFilter(control, moves, std::move(afterEnter)));
}

void attachFocusMoves(std::initializer_list<QWidget*> controls, FocusMoves moves) {
    for (QWidget* c : controls) attachFocusMoves(c, moves);
}

void attachSelectOnFocus(QLineEdit* box) { box->installEventFilter(new SelectOnFocusFilter(box)); }

} // namespace zorva

#pragma once
#include <QFlags>
#include <functional>

class QLineEdit;
class QWidget;

namespace zorva {

// Numeric box: on every change a text that is not a whole number from minValue to maxValue
// returns to the last accepted text, the caret goes to the end, and the program beeps. An
// empty box is accepted.
void attachNumericFilter(QLineEdit* box, int maxValue, int minValue = 0);
// The same, filtering only while active() holds (for example while the box is enabled for
// editing); any text set while it does not hold is accepted as the last good text, so that a
// value loaded from the database is never filtered away.
void attachNumericFilter(QLineEdit* box, int maxValue, int minValue, std::function<bool()> active);

// Code box of the data-entry forms: while active() holds, letters become upper case with the
// caret at the end, and a text longer than maxLength (0: no limit) returns to the last accepted
// text with a beep. Text set while it does not hold is accepted as it is.
void attachCodeFilter(QLineEdit* box, int maxLength, std::function<bool()> active);

// Text box with a length limit: a change that makes the text longer than maxLength returns to
// the last accepted text, the caret goes to the end, and the program beeps.
void attachLengthLimit(QLineEdit* box, int maxLength);

enum class FocusMove {
    Arrows = 0x1,    // Down moves to the next control, Up to the previous; the key is discarded
    EnterNext = 0x2, // Enter (Return) moves to the next control
};
Q_DECLARE_FLAGS(FocusMoves, FocusMove)
Q_DECLARE_OPERATORS_FOR_FLAGS(FocusMoves)

// Keyboard moves between the controls of a form, in the form's tab order. afterEnter, when
// given, runs after Enter has moved the focus (the login's password box performs "Enter").
void attachFocusMoves(QWidget* control, FocusMoves moves = FocusMove::Arrows | FocusMove::EnterNext,
                      std::function<void()> afterEnter = {});
// The same for several controls at once.
void attachFocusMoves(std::initializer_list<QWidget*> controls,
                      FocusMoves moves = FocusMove::Arrows | FocusMove::EnterNext);

// The whole text is selected whenever the box gets the focus.
void attachSelectOnFocus(QLineEdit* box);

// Moves the focus to the next (or previous) control of control's window that can take it.
void focusNextControl(QWidget* control, bool forward = true);

} // namespace zorva

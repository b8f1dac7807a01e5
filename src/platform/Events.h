#pragma once
#include <functional>

class QWidget;

namespace zorva {

// Small hooks for the events a form reacts to beside signals: a control getting or losing the
// focus, a mouse button held on it and released, and a click on a control that has no clicked
// signal (a label). Each hook lives as long as the control.
void onFocusIn(QWidget* control, std::function<void()> handler);
void onFocusOut(QWidget* control, std::function<void()> handler);
// handler(true) when the left button goes down on the control, handler(false) when it is released.
void onMouseButton(QWidget* control, std::function<void(bool pressed)> handler);
// A left-button release inside the control after a press on it.
void onClick(QWidget* control, std::function<void()> handler);

} // namespace zorva

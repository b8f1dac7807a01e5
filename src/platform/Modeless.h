#pragma once

class QWidget;

namespace zorva {

class FormBase;

// Shows a form without blocking, opened by another form: inside the opener's multiple-document
// area when the opener is a child window there, else as a window of its own. The form runs
// its load first (a load that unloads the form shows nothing) and is released when it closes.
// Placed by the centring rule: left = (area width - form width) / 2,
// top = (area height x heightShare - form height) / 2.
void showModeless(FormBase* form, QWidget* opener, double heightShare = 0.825);

} // namespace zorva

#pragma once
#include <QStringList>

class QWidget;

namespace zorva::test {

// What a user would see wrong on a form as it is shown now, one line per fault naming the
// form, the control and the text:
// - a visible label, button, group title, box, combo box entry, list entry, grid cell or
//   grid header whose text does not fit the control;
// - a list squashed below one line; a read-only text pane that does not wrap and cuts lines;
// - two visible controls of one layout that overlap, or a control cut by its parent's edge;
// - a text box that holds data but is disabled (grey on grey), or a read-only box that keeps
//   the editable look.
QStringList layoutFaults(QWidget* form);

} // namespace zorva::test

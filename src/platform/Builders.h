#pragma once
#include <QAnyStringView>
#include <QHBoxLayout>
#include <QLabel>
#include <QString>
#include <utility>

#include <initializer_list>

class QAbstractItemView;
class QBoxLayout;
class QComboBox;
class QGridLayout;
class QPushButton;
class QToolButton;
class QWidget;

class QTableView;

namespace zorva {

// The small builders every form uses for its controls, so that each control carries its
// own name (tests find it by that name) and the repeated set-up is written once.

// A control of type W named `name`; the remaining arguments go to W's constructor.
template <class W, class... Args> W* named(QAnyStringView name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(name);
    return w;
}

// A push button that never becomes the default button: Enter in a box moves the focus or
// runs the box's own action, never a button the user did not press.
QPushButton* plainButton(QAnyStringView name, const QString& text, QWidget* parent = nullptr);

// A picture that acts on a click (a picker's "..."): it never takes the keyboard focus, so
// Enter and the arrows in the boxes around it go on to the next box.
QToolButton* pictureButton(QAnyStringView name, const QString& toolTip, QWidget* parent = nullptr);

// A field with the label in front of it.
template <class F> struct Labelled {
    QLabel* label;
    F* field;
    // Hands both to the form's members.
    void into(QLabel*& labelMember, F*& fieldMember) const {
        labelMember = label;
        fieldMember = field;
    }
};

// Adds a named label and the field on the next row of a grid (label in column 0, the field in
// column 1 spanning `span` columns); returns both.
QLabel* addLabelledRow(QGridLayout* grid, QAnyStringView labelName, const QString& caption,
                       QWidget* field, int span = 1);
template <class F>
Labelled<F> labelledRow(QGridLayout* grid, QAnyStringView labelName, const QString& caption,
                        F* field, int span = 1) {
    return {addLabelledRow(grid, labelName, caption, field, span), field};
}

// A captioned row of a grid whose label no code reads: the field, and optionally a second
// control beside it in column 2 (the field alone spans columns 1 and 2).
struct CaptionRow {
    QString caption;
    QWidget* field;
    QWidget* beside = nullptr;
};
// Adds the rows below those the grid has.
void addCaptionRows(QGridLayout* grid, std::initializer_list<CaptionRow> rows);

// A row of widgets without margins, as one field of a grid (a box and its picker button).
QWidget* inRow(std::initializer_list<QWidget*> widgets);

// The buttons of a form's bottom row, right-aligned.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons);

// One button of a button row: the member it fills, its objectName and caption.
struct ButtonDef {
    QPushButton** button;
    const char* name;
    const char* caption;
};
// Adds a right-aligned row of plain buttons (none a default button) at the end of layout.
QHBoxLayout* addButtonRow(QBoxLayout* layout, QWidget* parent,
                          std::initializer_list<ButtonDef> buttons);

// Whether the user may change a control now. A text box that shows data the user cannot
// change stays enabled and readable: read-only, on the window's colour (the style's read-only
// look, not the grey of a disabled box), passed by Tab and the Enter moves as a disabled box
// was; a click still selects its text for copying. Other controls are simply disabled.
void setEditable(QWidget* control, bool editable);
void setEditable(std::initializer_list<QWidget*> controls, bool editable);
// Enabled and, for a text box, not read-only.
bool isEditable(const QWidget* control);

// Combo boxes of names that are filled after the form has taken its size (the next step of a
// choice): room for a long name from the start, and more when the entries need it.
void roomForNames(std::initializer_list<QComboBox*> boxes);

// The list is kept at least as wide as its widest entry (entries come and go with the data).
void fitWidthToEntries(QAbstractItemView* list);

// The controls keep their place in the layout while hidden, so that nothing around them moves
// when they hide or show.
void keepPlaceWhenHidden(std::initializer_list<QWidget*> controls);

// The last column of a grid as wide as its longest line read (the grid then scrolls sideways),
// or the rest of the grid when that is wider.
void fitLastColumn(QTableView* grid);

} // namespace zorva

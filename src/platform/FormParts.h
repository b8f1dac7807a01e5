#pragma once
#include <initializer_list>

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace zorva {

// One button of a button row: the member it fills, its objectName and caption.
struct ButtonSpec {
    QPushButton** button;
    const char* name;
    const char* caption;
};

// Adds a right-aligned row of push buttons at the end of layout. None of them is a default
// button: Enter in a box never presses one by itself.
QHBoxLayout* addButtonRow(QBoxLayout* layout, QWidget* parent, std::initializer_list<ButtonSpec> buttons);

} // namespace zorva

#pragma once
#include "plan/LocationCascade.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace zorva {

// The search form's "Location" mode on the shared walk down the plan, with the search's own
// rules: the "City" option (no work group row; the city itself is searched), a state list
// that falls back to every state when the area has none, and the typed segment of a
// segmented area. It fills the location boxes; the form runs the searches it asks for.
class SearchLocation {
public:
    struct Widgets {
        QWidget* form;
        QComboBox* region;
        QLabel* stateLabel;
        QComboBox* state;
        QComboBox* city;
        QLabel* workgroupLabel;
        QComboBox* workgroup;
        QLineEdit* segment;
    };
    explicit SearchLocation(const Widgets& w) : w_(w), cascade_(PlanQueries(w.form)) {}

    // Entering the mode, or choosing between "WorkGroup/Segment" and "City".
    void enter(bool byCity);
    void areaChosen();
    void stateChosen();
    // True when the city is to be searched now (the "City" option with a city chosen).
    bool cityChosen();
    // Work group chosen: octet 3 from it (an empty choice keeps the last one).
    void workgroupChosen();
    // Enter in the segment box: true when a segment was taken; false after the message.
    bool segmentEntered();

    // What to search: the address prefix of the walk, or the chosen area and city.
    QString prefix() const { return cascade_.prefix(); }
    QString area() const;
    QString city() const;

private:
    bool byCity() const;

    Widgets w_;
    LocationCascade cascade_;
    bool byCity_ = false;
};

} // namespace zorva

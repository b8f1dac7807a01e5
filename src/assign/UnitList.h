#pragma once
// The owning units filed under a place, for the assignment form's unit list.
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zorva {

// Where the units are filed; hasState false in a segmented area (no state condition).
struct UnitPlace {
    QString area, state, city;
    bool hasState = true;
};

struct UnitPostal {
    QString floor, building, street, postcode, city, state;
};

// The units of the place in name order. A failing query is shown over parent and reads empty.
QStringList unitNames(QWidget* parent, const UnitPlace& place);
// The postal address of a unit when exactly one row of that name is filed under the place.
std::optional<UnitPostal> unitPostal(QWidget* parent, const QString& unit, const UnitPlace& place);

} // namespace zorva

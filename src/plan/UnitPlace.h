#pragma once
#include <QStringList>
#include <optional>

class QWidget;

namespace zorva {

// The place in the address plan that owns units: area, state (empty in a segmented area, and
// then not part of the condition) and city. The forms that pick an owning unit for an address
// list the units of the address's place with these.
struct UnitPlace {
    QString area;
    QString state;
    QString city;
};

// A unit's postal address, as the forms copy it into an address record.
struct UnitPostal {
    QString floor, building, street, postcode, city, state;
};

// The unit names of the place, in name order. Failures are reported over parent.
QStringList unitsOfPlace(QWidget* parent, const UnitPlace& place);
// The postal address of the unit of that name under the place, when exactly one row has it.
std::optional<UnitPostal> unitPostal(QWidget* parent, const QString& unit, const UnitPlace& place);

} // namespace zorva

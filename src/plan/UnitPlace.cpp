#include "plan/UnitPlace.h"
#include "platform/Database.h"
#include "platform/Rows.h"

namespace zorva {

namespace {
QString condition(const UnitPlace& p) {
    return p.state.isEmpty() ? QStringLiteral("RegionOwner = ? And CityOwner = ?")
                             : QStringLiteral("RegionOwner = ? And StateOwner = ? And CityOwner = ?");
}
QVariantList values(const UnitPlace& p) {
    if (p.state.isEmpty()) return {p.area, p.city};
    return {p.area, p.state, p.city};
}
} // namespace

QStringList unitsOfPlace(QWidget* parent, const UnitPlace& place) {
    return columnValues(parent,
                        QStringLiteral("Select * From UnitDivision Where ") + condition(place) +
                            QStringLiteral(" Order By UnitDivision ASC"),
                        values(place), QStringLiteral("UnitDivision"));
}

std::optional<UnitPostal> unitPostal(QWidget* parent, const QString& unit, const UnitPlace& place) {
    auto q = runSqlOrReport(parent,
                            QStringLiteral("Select * From UnitDivision Where UnitDivision = ? And ") +
                                condition(place) + QStringLiteral(" Order By UnitDivision ASC"),
                            QVariantList{unit} + values(place));
    if (!q || !q->next()) return std::nullopt;
    auto text = [&q](const char* column) { return q->value(QLatin1String(column)).toString(); };
    UnitPostal p{text("Floor"),    text("Building"), text("Roadname"),
                 text("Postcode"), text("City"),     text("State")};
    if (q->next()) return std::nullopt; // more than one: left as it is
    return p;
}

} // namespace zorva

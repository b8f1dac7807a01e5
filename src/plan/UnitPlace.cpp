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

std::optional<QSqlRecord> unitOfPlace(QWidget* parent, const QString& unit, const UnitPlace& place) {
    auto q = runSqlOrReport(parent,
                            QStringLiteral("Select * From UnitDivision Where UnitDivision = ? And ") +
                                condition(place) + QStringLiteral(" Order By UnitDivision ASC"),
                            QVariantList{unit} + values(place));
    if (!q || !q->next()) return std::nullopt;
    QSqlRecord row = q->record();
    if (q->next()) return std::nullopt;
    return row;
}

} // namespace zorva

#include "assign/UnitList.h"
#include "platform/Database.h"

namespace zorva {

namespace {
// The place condition and its values.
QString placeCondition(const UnitPlace& p, QVariantList& values) {
    values << p.area;
    QString sql = QStringLiteral(" RegionOwner = ?");
    if (p.hasState) {
        sql += QStringLiteral(" And StateOwner = ?");
        values << p.state;
    }
    values << p.city;
    return sql + QStringLiteral(" And CityOwner = ?");
}
} // namespace

QStringList unitNames(QWidget* parent, const UnitPlace& place) {
    QVariantList values;
    const QString sql = QStringLiteral("Select UnitDivision From UnitDivision Where") +
                        placeCondition(place, values) +
                        QStringLiteral(" Order By UnitDivision ASC");
    QStringList out;
    auto q = runSqlOrReport(parent, sql, values);
    while (q && q->next()) out << q->value(0).toString();
    return out;
}

std::optional<UnitPostal> unitPostal(QWidget* parent, const QString& unit, const UnitPlace& place) {
    QVariantList values{unit};
    const QString sql = QStringLiteral("Select Floor, Building, Roadname, Postcode, City, State "
                                       "From UnitDivision Where UnitDivision = ? And") +
                        placeCondition(place, values);
    auto q = runSqlOrReport(parent, sql, values);
    if (!q || !q->next()) return std::nullopt;
    UnitPostal p{q->value(0).toString(), q->value(1).toString(), q->value(2).toString(),
                 q->value(3).toString(), q->value(4).toString(), q->value(5).toString()};
    if (q->next()) return std::nullopt; // more than one: left as it is
    return p;
}

} // namespace zorva

#include "plan/PlanQueries.h"
#include "platform/Database.h"
#include "platform/Rows.h"

#include <QSqlRecord>

namespace zorva {

namespace {

std::optional<int> optionalInt(const QSqlRecord& r, const char* column) {
    const QVariant v = r.value(QLatin1String(column));
    if (v.isNull() || v.toString().isEmpty()) return std::nullopt;
    return v.toInt();
}

QString text(const QSqlRecord& r, const char* column) {
    return r.value(QLatin1String(column)).toString();
}

StateRow stateFrom(const QSqlRecord& r) {
    return {text(r, "State_name"), text(r, "Abbr_state"), text(r, "Region")};
}

} // namespace

QStringList PlanQueries::areaNames(AreaKind kind) const {
    QStringList areas;
    if (auto q = runSqlOrReport(parent_, QStringLiteral("SELECT * FROM Region Order By Region ASC")))
        while (q->next())
            if (kind == AreaKind::All || !q->value(QStringLiteral("Segment_ip")).toBool())
                areas << q->value(QStringLiteral("Region")).toString();
    return areas;
}

std::optional<AreaRow> PlanQueries::area(const QString& name) const {
    auto r = firstRow(parent_, QStringLiteral("Select * From Region Where Region = ?"), {name});
    if (!r) return std::nullopt;
    return AreaRow{text(*r, "Region"), optionalInt(*r, "AssignIP"),
                   r->value(QStringLiteral("Segment_ip")).toBool(), text(*r, "Abbr_segment")};
}

QStringList PlanQueries::stateNames(const QString& area) const {
    if (area.isEmpty())
        return columnValues(parent_, QStringLiteral("SELECT * FROM State Order by State_name ASC"),
                            {}, QStringLiteral("State_name"));
    return columnValues(parent_,
                        QStringLiteral("SELECT * FROM State Where Region = ? Order By State_name ASC"),
                        {area}, QStringLiteral("State_name"));
}

std::optional<StateRow> PlanQueries::state(const QString& name, const QString& area) const {
    auto r = firstRow(parent_,
                      QStringLiteral("Select * From State Where State_name = ? And Region = ?"),
                      {name, area});
    if (!r) return std::nullopt;
    return stateFrom(*r);
}

std::optional<StateRow> PlanQueries::firstStateNamed(const QString& name) const {
    auto r = firstRow(parent_, QStringLiteral("Select * From State Where State_name = ?"), {name});
    if (!r) return std::nullopt;
    return stateFrom(*r);
}

QStringList PlanQueries::cityNames(const QString& stateCode, const QString& area) const {
    return columnValues(parent_,
                        QStringLiteral("SELECT * FROM City Where Abbr_state = ? And Region = ? "
                                       "Order By City_name ASC"),
                        {stateCode, area}, QStringLiteral("City_name"));
}

std::optional<CityRow> PlanQueries::city(const QString& name, const QString& stateCode,
                                         const QString& area) const {
    auto r = firstRow(parent_,
                      QStringLiteral("Select rowid AS rid, * From City Where City_name = ? "
                                     "And Abbr_state = ? And Region = ?"),
                      {name, stateCode, area});
    if (!r) return std::nullopt;
    CityRow c;
    c.key = r->value(QStringLiteral("rid"));
    c.name = text(*r, "City_name");
    c.code = text(*r, "Abbr_city");
    c.octet2 = r->value(QStringLiteral("IP_octet2")).toInt();
    c.offset = optionalInt(*r, "Offset");
    c.startRange = optionalInt(*r, "StartIPRange");
    c.endRange = optionalInt(*r, "ToIPRange");
    c.stateCode = text(*r, "Abbr_state");
    c.area = text(*r, "Region");
    return c;
}

QStringList PlanQueries::workgroupNames() const {
    return columnValues(parent_,
                        QStringLiteral("SELECT * FROM Workgroup Order By Workgroup_name ASC"), {},
                        QStringLiteral("Workgroup_name"));
}

std::optional<WorkgroupRow> PlanQueries::workgroup(const QString& name) const {
    auto r = firstRow(parent_, QStringLiteral("Select * From Workgroup Where Workgroup_name = ?"),
                      {name});
    if (!r) return std::nullopt;
    return WorkgroupRow{text(*r, "Workgroup_name"), text(*r, "Workgroup_code"),
                        r->value(QStringLiteral("Octet_3")).toInt()};
}

QStringList PlanQueries::equipmentNames() const {
    return columnValues(parent_, QStringLiteral("SELECT * FROM Equipment Order By Eqp_name ASC"),
                        {}, QStringLiteral("Eqp_name"));
}

std::optional<EquipmentRow> PlanQueries::equipment(const QString& name) const {
    auto r = firstRow(parent_, QStringLiteral("Select * From Equipment Where Eqp_name = ?"), {name});
    if (!r) return std::nullopt;
    return EquipmentRow{text(*r, "Eqp_name"), text(*r, "Eqp_code"),
                        r->value(QStringLiteral("Octet4_start")).toInt(),
                        r->value(QStringLiteral("Octet4_end")).toInt()};
}

bool PlanQueries::planNotSetUp() const {
    auto q = runSqlOrReport(parent_, QStringLiteral("Select City_name, Region, Abbr_city, "
                                                    "IP_Octet2, Abbr_state From City LIMIT 2"));
    if (!q) return false;
    if (!q->next()) return true;
    const bool placeholder = q->value(0).toString() == QLatin1String("IT Division") &&
                             q->value(1).toString() == QLatin1String("Headquarters") &&
                             q->value(2).toString() == QLatin1String("ITD") &&
                             q->value(3).toInt() == 100 &&
                             q->value(4).toString() == QLatin1String("HQ");
    return placeholder && !q->next();
}

} // namespace zorva

#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class QWidget;

namespace zorva {

enum class AreaKind { All, NonSegmented };

// One row of each plan table, as the forms read it. Empty columns stay empty (nullopt).
struct AreaRow {
    QString name;
    std::optional<int> octet1; // AssignIP
    bool segmented = false;    // Segment_ip
    QString segmentCode;       // Abbr_segment
};

struct StateRow {
    QString name;
    QString code; // Abbr_state
    QString area;
};

struct CityRow {
    QVariant key; // the row's key, for the forms that change it
    QString name;
    QString code; // Abbr_city
    int octet2 = 0;
    std::optional<int> offset; // octet-3 offset, or a segmented city's own octet 3
    std::optional<int> startRange, endRange;
    QString stateCode; // the state's code, or the area's segment code in a segmented area
    QString area;

    // A segmented city's own octet-4 range: both ends stored and neither 0.
    bool hasOwnRange() const { return startRange && *startRange != 0 && endRange.value_or(0) != 0; }
};

struct WorkgroupRow {
    QString name;
    QString code; // Workgroup_code
    int octet3 = 0;
};

struct EquipmentRow {
    QString name;
    QString code; // Eqp_code
    int octet4Start = 0;
    int octet4End = 0;
};

// The reads of the address-plan tables, all with bound values, in the orders the forms list
// them. A failing query is shown in an "Error !!!" box over errorParent and reads as no row.
class PlanQueries {
public:
    explicit PlanQueries(QWidget* errorParent = nullptr) : parent_(errorParent) {}

    // Every area in name order, or only the non-segmented ones.
    QStringList areaNames(AreaKind kind = AreaKind::All) const;
    std::optional<AreaRow> area(const QString& name) const;

    // The states of an area in name order; every state when the area is empty.
    QStringList stateNames(const QString& area) const;
    std::optional<StateRow> state(const QString& name, const QString& area) const;
    // The first state of that name, whatever its area.
    std::optional<StateRow> firstStateNamed(const QString& name) const;

    // The cities filed under a state code (or a segmented area's segment code) of an area.
    QStringList cityNames(const QString& stateCode, const QString& area) const;
    std::optional<CityRow> city(const QString& name, const QString& stateCode,
                                const QString& area) const;

    // Work groups and equipment belong to no area.
    QStringList workgroupNames() const;
    std::optional<WorkgroupRow> workgroup(const QString& name) const;
    QStringList equipmentNames() const;
    std::optional<EquipmentRow> equipment(const QString& name) const;

    // True while the plan holds no city, or only the placeholder city of a new database
    // ("IT Division" of "Headquarters"); false also when the query fails.
    bool planNotSetUp() const;

private:
    QWidget* parent_;
};

} // namespace zorva

#pragma once
#include "plan/PlanQueries.h"

namespace zorva {

// The parts of the suggested host name that the walk down the plan fixes, before the
// sequence code: equipment code, state code (in a segmented area octet 3 as at least two
// digits), work-group code, city code. "_" and "___" stand for parts not known yet.
struct HostNameParts {
    QString equipment = QStringLiteral("_");
    QString state = QStringLiteral("_");
    QString workgroup = QStringLiteral("_");
    QString city = QStringLiteral("___");

    QString joined(const QString& sequenceCode) const {
        return equipment + state + workgroup + city + sequenceCode;
    }
};

// The walk down the address plan shared by the forms that choose a place: area, then state
// (none in a segmented area), then city, then work group or segment. A form calls the step of
// the box the user chose from and fills its lower boxes from the lists given here; what a
// form shows beyond that stays in the form. Each step reads one plan row; a step whose row is
// not found leaves the values read before it.
class LocationCascade {
public:
    explicit LocationCascade(PlanQueries queries = PlanQueries()) : q_(queries) {}

    // Octet 3 from a work group's digit and the city's offset: their sum, but 0 whenever the
    // city's offset is 0.
    static int octet3For(int workgroupDigit, int cityOffset) {
        return cityOffset != 0 ? workgroupDigit + cityOffset : 0;
    }
    // The state part for a segment: at least two digits (5 gives "05", 123 gives "123").
    static QString segmentPart(int octet3);

    // The areas a user may choose from: the user's one area when he is bound to one, else
    // every area (or every non-segmented one).
    QStringList areaChoices(AreaKind kind = AreaKind::All) const;
    bool boundToOneArea() const;

    // ---- steps
    // Area chosen: octet 1 and the segmented flag from its row; octet 2 back to 0, and octet 3
    // too in a segmented area. A non-segmented area keeps the last segment code unless it has
    // its own. No area: octet 1 is 0. False when the area has no row.
    bool chooseArea(const QString& area);
    // State chosen: its code (the state part outside a segmented area). No state: the state
    // part is unknown again. False when the state has no row in the area (with no area chosen,
    // the first state of that name counts).
    bool chooseState(const QString& state);
    // City chosen: octet 2, the city part and its offset; octets 3 back to 0 and the work-group
    // part to "0" until a work group or segment is chosen. A segmented city with its own octet 3
    // fixes it (as a segment entered). No city: octet 2 is 0, the city part unknown.
    bool chooseCity(const QString& city);
    // Work group chosen: its code and octet 3 by octet3For. No work group: the part unknown,
    // octet 3 unchanged.
    bool chooseWorkgroup(const QString& workgroup);
    // Octet 3 typed (a segment) or fixed by a segmented city.
    void enterSegment(int octet3);
    // The equipment code that starts the host name.
    void setEquipmentCode(const QString& code) { parts_.equipment = code; }

    // ---- lists for the next box
    // The states of the chosen area (every state when no area is chosen).
    QStringList states() const { return q_.stateNames(area_); }
    // The cities of the chosen state, or of the chosen segmented area.
    QStringList cities() const { return q_.cityNames(cityFilingCode(), area_); }
    QStringList workgroups() const { return q_.workgroupNames(); }
    QStringList equipment() const { return q_.equipmentNames(); }

    // ---- state of the walk
    const QString& area() const { return area_; }
    const QString& state() const { return state_; }
    const QString& city() const { return city_; }
    const QString& workgroup() const { return workgroup_; }
    int octet1() const { return octet1_; }
    int octet2() const { return octet2_; }
    int octet3() const { return octet3_; }
    bool segmented() const { return segmented_; }
    const QString& segmentCode() const { return segmentCode_; }
    const QString& stateCode() const { return stateCode_; }
    // The code the chosen city is filed under: the segment code in a segmented area, else the
    // state's code.
    QString cityFilingCode() const { return segmented_ ? segmentCode_ : stateCode_; }
    int cityOffset() const { return cityOffset_; }
    // A segmented city with its own octet 3: the segment cannot be typed.
    bool octet3Fixed() const { return octet3Fixed_; }
    const std::optional<AreaRow>& areaRow() const { return areaRow_; }
    const std::optional<CityRow>& cityRow() const { return cityRow_; }
    const HostNameParts& hostNameParts() const { return parts_; }
    // "octet1.octet2.octet3." for the address queries of a place.
    QString prefix() const;
    const PlanQueries& queries() const { return q_; }

private:
    PlanQueries q_;
    QString area_, state_, city_, workgroup_;
    int octet1_ = 0, octet2_ = 0, octet3_ = 0;
    bool segmented_ = false;
    QString segmentCode_, stateCode_;
    int cityOffset_ = 0;
    bool octet3Fixed_ = false;
    std::optional<AreaRow> areaRow_;
    std::optional<CityRow> cityRow_;
    HostNameParts parts_;
};

} // namespace zorva

#include "plan/LocationCascade.h"
#include "platform/Session.h"

namespace zorva {

QString LocationCascade::segmentPart(int octet3) {
    return QStringLiteral("%1").arg(octet3, 2, 10, QLatin1Char('0'));
}

bool LocationCascade::boundToOneArea() const { return !session().userArea().isEmpty(); }

QStringList LocationCascade::areaChoices(AreaKind kind) const {
    if (boundToOneArea()) return {session().userArea()};
    return q_.areaNames(kind);
}

bool LocationCascade::chooseArea(const QString& area) {
    area_ = area;
    state_.clear();
    city_.clear();
    workgroup_.clear();
    stateCode_.clear();
    octet2_ = 0;
    cityRow_.reset();
    if (area.isEmpty()) {
        areaRow_.reset();
        octet1_ = 0;
        return false;
    }
    areaRow_ = q_.area(area);
    if (!areaRow_) return false;
    octet1_ = areaRow_->octet1.value_or(0);
    segmented_ = areaRow_->segmented;
    if (segmented_ || !areaRow_->segmentCode.isEmpty()) segmentCode_ = areaRow_->segmentCode;
    if (segmented_) {
        octet3_ = 0;
    } else {
        // Until one of its states is chosen.
        parts_.state = QStringLiteral("_");
    }
    return true;
}

bool LocationCascade::chooseState(const QString& state) {
    state_ = state;
    if (state.isEmpty()) {
        parts_.state = QStringLiteral("_");
        return false;
    }
    // Without an area the first state of that name is taken, whatever its area.
    const auto row = area_.isEmpty() ? q_.firstStateNamed(state) : q_.state(state, area_);
    if (!row) return false;
    stateCode_ = row->code;
    parts_.state = segmented_ ? QStringLiteral("_") : row->code;
    return true;
}

bool LocationCascade::chooseCity(const QString& city) {
    city_ = city;
    workgroup_.clear();
    octet3_ = 0;
    octet3Fixed_ = false;
    parts_.workgroup = QStringLiteral("0");
    if (city.isEmpty()) {
        cityRow_.reset();
        parts_.city = QStringLiteral("___");
        octet2_ = 0;
        return false;
    }
    const auto row = q_.city(city, cityFilingCode(), area_);
    if (!row) return false;
    cityRow_ = row;
    parts_.city = row->code;
    octet2_ = row->octet2;
    if (segmented_ && row->offset) {
        enterSegment(*row->offset);
        octet3Fixed_ = true;
    }
    if (!segmented_) cityOffset_ = row->offset.value_or(0);
    return true;
}

bool LocationCascade::chooseWorkgroup(const QString& workgroup) {
    workgroup_ = workgroup;
    if (workgroup.isEmpty()) {
        parts_.workgroup = QStringLiteral("_");
        return false;
    }
    const auto row = q_.workgroup(workgroup);
    if (!row) return false;
    parts_.workgroup = row->code;
    octet3_ = octet3For(row->octet3, cityOffset_);
    return true;
}

void LocationCascade::enterSegment(int octet3) {
    octet3_ = octet3;
    parts_.state = segmentPart(octet3);
    parts_.workgroup.clear();
}

QString LocationCascade::prefix() const {
    return QStringLiteral("%1.%2.%3.").arg(octet1_).arg(octet2_).arg(octet3_);
}

} // namespace zorva

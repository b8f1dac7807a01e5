#include "assign/EquipmentRange.h"
#include "assign/AssignParts.h"
#include "platform/AppState.h"

namespace zorva {

namespace {
const QString kNetworkPart = QStringLiteral("NW");
}

std::optional<RangeInForce> rangeInForce(const QString& entry, const std::optional<CityRow>& city,
                                         const PlanQueries& plan) {
    AppState& s = appState();
    RangeInForce r;
    if (entry == kSubnetEntry) {
        s.gEqpName = kNetworkPart;
        s.gOctet4Start = 0;
        s.gOctet4End = 255;
    } else if (isCityRangeEntry(entry)) {
        if (!city) return std::nullopt;
        s.gEqpName = kNetworkPart;
        s.gOctet4Start = city->startRange.value_or(0);
        s.gOctet4End = city->endRange.value_or(0);
    } else if (s.gOwnRange) {
        const auto row = plan.equipment(entry);
        if (!row) return std::nullopt;
        s.gEqpName = row->name;
        s.gOctet4Start = row->octet4Start;
        s.gOctet4End = row->octet4End;
        r.equipmentPart = row->code;
    }
    r.range = {s.gOctet4Start, s.gOctet4End};
    return r;
}

SequencePart candidateSequence(const QString& entryShown, const Candidate& c,
                               const PlanQueries& plan) {
    if (isNetworkEntry(entryShown)) return {c.octet4, kNetworkPart};
    const auto row = plan.equipment(entryShown);
    if (c.last != 0) {
        if (!row) return {1, QString()};
        return {equipmentSequence(c.octet4, c.last, row->octet4Start), row->code};
    }
    return {1, !appState().gOwnRange && row ? row->code : QString()};
}

DedicatedSequence dedicatedSequence(const QString& entry, int octet4, const PlanQueries& plan) {
    DedicatedSequence d;
    if (isNetworkEntry(entry)) {
        d.sequence = {octet4, kNetworkPart};
        return d;
    }
    const auto row = plan.equipment(entry);
    if (octet4 == 0) {
        d.sequence = {1, !appState().gOwnRange && row ? row->code : QString()};
        return d;
    }
    if (!row) return d;
    if (octet4 < row->octet4Start || octet4 > row->octet4End) {
        d.refusal = QStringLiteral("Your IP Octet 4 is not in %1 IP range (%2 - %3)!")
                        .arg(row->name)
                        .arg(row->octet4Start)
                        .arg(row->octet4End);
        return d;
    }
    d.sequence = {octet4 - row->octet4Start + 1, row->code};
    return d;
}

} // namespace zorva

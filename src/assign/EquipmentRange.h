#pragma once
// The range an equipment entry puts in force, and the sequence number and equipment part of the
// host name of a candidate in it.
#include "assign/FreeAddress.h"
#include "plan/PlanQueries.h"

#include <QString>
#include <optional>

namespace zorva {

struct RangeInForce {
    OctetRange range;
    QString equipmentPart; // the host name's first part; empty: keep the one shown
};

// The range of entry: an equipment's own range (read when gOwnRange holds, else the range
// borrowed through the full-range dialog), 0..255 for "Subnet Mask 252", the city's own range
// for an "IP Range " entry. Sets gEqpName, gOctet4Start and gOctet4End as the full-range dialog
// reads them. nullopt when the entry's row is not found.
std::optional<RangeInForce> rangeInForce(const QString& entry, const std::optional<CityRow>& city,
                                         const PlanQueries& plan);

struct SequencePart {
    int number = 1;
    QString equipmentPart; // empty: keep the one shown
};

// New mode: the sequence number and equipment part of a candidate. entryShown is the entry now
// shown in the equipment list (the borrowed equipment after the full-range dialog).
SequencePart candidateSequence(const QString& entryShown, const Candidate& c,
                               const PlanQueries& plan);

// Dedicated mode: the sequence for a typed octet 4, or the refusal text when the octet lies
// outside the entry's equipment range.
struct DedicatedSequence {
    SequencePart sequence;
    QString refusal; // "Your IP Octet 4 is not in PC IP range (71 - 240)!"
};
DedicatedSequence dedicatedSequence(const QString& entry, int octet4, const PlanQueries& plan);

} // namespace zorva

#pragma once
#include "records/report/Report.h"

#include <optional>

class QWidget;

namespace zorva {

// What the location report form passes to its report: the header texts and the texts of the
// three column choices.
struct LocationReportInput {
    QString title; // the report title box
    QString area;
    QString state;     // empty when the state row is hidden
    QString city;
    QString workGroup; // empty when that row is hidden
    QString segment;   // empty when the segment box is hidden
    QString equipment; // an equipment name or "ALL"
    QString column2;   // "Hostname", "Type/Equipment"
    QString column4;   // "Type/Equipment", "Project", "Staff No."
    QString column5;   // "Unit/Division", "Remarks"
};

// The records whose address starts with the prefix ("10.1.3."), of one equipment type unless
// equipment is "ALL", in fourth-octet order. nullopt when the query failed (shown over parent).
std::optional<std::vector<QStringList>> locationRecords(QWidget* parent, const QString& prefix,
                                                        const QString& equipment);

// The report "Zorva report by Location" of those records.
report::Report rptByLocation(const LocationReportInput& in, std::vector<QStringList> rows);

} // namespace zorva

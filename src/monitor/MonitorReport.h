#pragma once
// A view of the monitor as the user reads it: cells as shown and sorted, and the view as a
// report of the program's renderer (printed, saved as PDF, exported as CSV).
#include "monitor/MonitorViews.h"
#include "records/report/Report.h"

namespace zorva {

// A stored moment shown in local time ("2026-12-09 14:05"); other values as they are.
QString monitorCellText(const QVariant& value);
// What a cell sorts by: an address by its number (10.1.0.9 before 10.1.0.10), a number as a
// number, anything else as its text.
QVariant monitorSortKey(const QVariant& value);

// The view's rows under its title; `scope` (the area, the days) is printed in the header.
report::Report monitorReport(const QString& title, const QString& scope, const MonitorTable& table);

} // namespace zorva

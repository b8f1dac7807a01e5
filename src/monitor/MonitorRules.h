#pragma once
// The rules behind the monitor's window, apart from its widgets: what a new watch may be, which
// watches an area user ("Kawasan") may see and sweep, what a sweep's end tells the user.
#include "monitor/MonitorSweep.h"
#include "platform/Ui.h"

#include <QSqlDatabase>
#include <QTime>

namespace zorva {

// How to allow the echoes on a machine that refuses them (shown by the window and the command).
QString icmpHint();

// What the add-watch dialog holds.
struct WatchInput {
    QString name;
    bool fromPlan = false;   // a part of the plan, else typed ranges
    QString ranges;          // typed: "10.1.2.0/24, 10.1.2.10-200"
    QString area, city, equipment; // plan: an area, a city of it, an equipment range in the city
    int intervalMinutes = 15;
    int rateLimit = 500;
    bool daily = false;      // only within the daily window
    QTime from, to;
};

// The watch the input describes and the addresses it covers; nullopt with a message naming
// what is wrong (nothing is written).
struct CheckedWatch {
    Watch watch;
    WatchRange range;
};
std::optional<CheckedWatch> checkWatchInput(const WatchInput& input, QString* error);

// An area user keeps to his area: a plan watch must be of his own area, and every address of a
// typed watch must lie in the area's block (its octet 1), the block by which the views show
// his unrecorded addresses. An empty area (other groups) allows everything. Empty when allowed,
// else the reason.
QString outsideArea(QSqlDatabase db, const Watch& watch, const WatchRange& range, const QString& area);
// The same for a stored watch (resolved again); a watch that no longer resolves is the area
// user's only when it names his area.
bool watchInArea(QSqlDatabase db, const Watch& watch, const QString& area);

// The message a sweep's end deserves; Icon::None when it went well and needs no message box.
struct SweepNews {
    Icon icon = Icon::None;
    QString text;
};
SweepNews sweepNews(MonitorSweep::Outcome outcome, const QString& watch, const QString& message,
                    const SweepCounts& counts, double seconds);

// The watches' columns as the window lists them.
QStringList watchColumns();
QStringList watchRow(const Watch& watch);

} // namespace zorva

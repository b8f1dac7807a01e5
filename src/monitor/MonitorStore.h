#pragma once
// The monitor's tables (platform/MonitorSchema.h): the watches and their leases, what each
// sweep saw, the reclaim marks. Everything written here is added or updated, never deleted,
// except a reclaim mark taken back (which leaves its history entry).
#include "monitor/WatchRange.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace zorva {

namespace monitor {
inline const QString kUp = QStringLiteral("up");
inline const QString kDown = QStringLiteral("down");
// The kinds of change a sweep records.
inline const QString kCameUp = QStringLiteral("came up");
inline const QString kWentDown = QStringLiteral("went down");
inline const QString kNew = QStringLiteral("new");
inline const QString kHardwareChanged = QStringLiteral("hardware changed");
inline const QString kNameChanged = QStringLiteral("name changed");
// The history's actions of a reclaim mark.
inline const QString kReclaimMarked = QStringLiteral("reclaim marked");
inline const QString kReclaimUnmarked = QStringLiteral("reclaim unmarked");
// A moment as the monitor stores it: UTC "yyyy-MM-dd HH:mm:ss"; null stays null.
QVariant storedTime(const QDateTime& utc);
QDateTime timeFrom(const QVariant& stored);
} // namespace monitor

struct Watch {
    QString name;
    WatchKind kind = WatchKind::Range;
    QString scope;
    int intervalMinutes = 15;
    QString windowFrom, windowTo; // "HH:mm" local time, both or neither
    int rateLimit = 500;          // echoes per second
    QDateTime lastSweep, nextDue; // UTC, null when never
};

// Whether a watch is to be swept at `now`: its next time has come (or it never ran) and the
// local time lies in its window (a window may run over midnight: 22:00-06:00).
bool watchIsDue(const Watch& watch, const QDateTime& now);

// What one address answered in a sweep.
struct Sighting {
    quint32 address = 0;
    bool up = false;
    qint32 replyMs = 0;
    QString dnsName; // empty: none found (the stored one is kept)
    QString mac;     // empty: not in the neighbour table (the stored one is kept)
};

struct SweepResult {
    QString watch, holder;
    QDateTime startedAt, endedAt;
    QList<AddressSpan> spans;   // what was swept
    QList<Sighting> sightings;  // every address of the spans
    int intervalMinutes = 15;
};

struct SweepCounts {
    qint64 sweepId = 0;
    qint64 addresses = 0, live = 0, fresh = 0, cameUp = 0, wentDown = 0, hardwareChanged = 0,
           nameChanged = 0;
};

class MonitorStore {
public:
    explicit MonitorStore(QSqlDatabase db);

    // Adds a watch; refuses a name in use, an interval or rate below 1, a half or malformed
    // window and a scope that does not resolve (the plan is read for plan kinds).
    bool addWatch(const Watch& watch, QString* error = nullptr);
    std::optional<QList<Watch>> watches(QString* error = nullptr);
    std::optional<Watch> watch(const QString& name, QString* error = nullptr);
    // Removes the watch itself; what its sweeps saw and recorded stays. Refused while a
    // monitor holds its lease (sweeps it now).
    bool removeWatch(const QString& name, QString* error = nullptr);

    // Takes the watch's lease for `holder` until `until` when nobody holds it (or the holder's
    // lease ran out: a monitor that died) and, with onlyIfDue, when its next time has come.
    // One statement, so that of two monitors asking at once one gets it. nullopt on a failure,
    // false when the watch is held or not due.
    std::optional<bool> takeLease(const QString& name, const QString& holder, const QDateTime& until,
                                  bool onlyIfDue, QString* error = nullptr);
    void releaseLease(const QString& name, const QString& holder);

    // Records a whole sweep in one transaction: the seen rows, the changes, the sweep row, the
    // watch's times, and gives its lease back. Refused (nothing written) when the lease is no
    // longer the holder's.
    std::optional<SweepCounts> recordSweep(const SweepResult& result, QString* error = nullptr);
    // A sweep that saw nothing (no ICMP, cancelled): its row and outcome only, lease given
    // back; no address changes state and the watch stays due.
    bool recordFailedSweep(const SweepResult& result, const QString& outcome, QString* error = nullptr);

    // Marks a recorded address for reclaim and takes the mark back; each leaves a history
    // entry in the same transaction.
    bool markReclaim(const QString& address, QString* error = nullptr);
    bool unmarkReclaim(const QString& address, QString* error = nullptr);

private:
    QSqlDatabase db_;
};

} // namespace zorva

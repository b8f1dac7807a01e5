#pragma once
// The monitor window's sweeps: "Sweep now" and a timer that sweeps the due watches, one sweep
// at a time. A sweep that overruns its watch's interval makes the next one wait for it; the
// watch's next time is set when its sweep is recorded.
#include "monitor/MonitorSweep.h"

#include <QTimer>
#include <functional>

namespace zorva {

class MonitorScheduler : public QObject {
    Q_OBJECT
public:
    explicit MonitorScheduler(QSqlDatabase db, QObject* parent = nullptr);

    SweepOptions options;
    // Which watches this monitor sweeps on its own (an area user's); all when unset.
    std::function<bool(const Watch&)> mine;

    // Looks for due watches every `ms` milliseconds (and once at once); 0 stops looking.
    void setPeriod(int ms);
    // Starts the sweep of a watch, due or not. False when a sweep runs already (nothing starts).
    bool sweepNow(const QString& watch);
    // Starts the first due watch of ours that nobody else sweeps, when idle. False when none.
    bool sweepDue();
    void cancel() { sweep_.cancel(); }
    bool isRunning() const { return sweep_.isRunning(); }
    QString current() const { return current_; }

signals:
    void started(const QString& watch);
    void progress(qint64 done, qint64 total);
    // asked: the user's "Sweep now" (rather than the timer).
    void ended(const QString& watch, zorva::MonitorSweep::Outcome outcome, const QString& message,
               const zorva::SweepCounts& counts, double seconds, bool asked);
    // The watches could not be read (the database is gone).
    void failed(const QString& error);

private:
    bool begin(const QString& watch, bool onlyIfDue, bool asked);
    void sweepEnded(MonitorSweep::Outcome outcome);

    QSqlDatabase db_;
    MonitorSweep sweep_;
    QTimer timer_;
    QString current_;
    bool asked_ = false;
    bool starting_ = false; // inside start(): an end reported there is not a sweep that ran
};

} // namespace zorva

#include "monitor/MonitorScheduler.h"

namespace zorva {

MonitorScheduler::MonitorScheduler(QSqlDatabase db, QObject* parent) : QObject(parent), db_(db), sweep_(db) {
    connect(&sweep_, &MonitorSweep::progress, this, &MonitorScheduler::progress);
    connect(&sweep_, &MonitorSweep::finished, this, &MonitorScheduler::sweepEnded);
    connect(&timer_, &QTimer::timeout, this, [this] { sweepDue(); });
}

void MonitorScheduler::setPeriod(int ms) {
    timer_.stop();
    if (ms <= 0) return;
    timer_.start(ms);
    QTimer::singleShot(0, this, [this] { sweepDue(); });
}

bool MonitorScheduler::sweepNow(const QString& watch) {
    if (isRunning()) return false;
    begin(watch, false, true);
    return true;
}

bool MonitorScheduler::sweepDue() {
    if (isRunning()) return false;
    QString error;
    const auto watches = MonitorStore(db_).watches(&error);
    if (!watches) {
        emit failed(error);
        return false;
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const Watch& w : *watches) {
        if (!watchIsDue(w, now) || (mine && !mine(w))) continue;
        // One held by another monitor is left to it; the next due one gets its turn.
        if (begin(w.name, true, false)) return true;
    }
    return false;
}

bool MonitorScheduler::begin(const QString& watch, bool onlyIfDue, bool asked) {
    current_ = watch;
    asked_ = asked;
    sweep_.setOptions(options);
    starting_ = true;
    const bool running = sweep_.start(watch, onlyIfDue);
    starting_ = false;
    if (running) {
        emit started(watch);
        return true;
    }
    // Refused at once: told as the end of a sweep when the user asked for it, or when the
    // timer's watch failed for another reason than being swept elsewhere.
    const auto outcome = sweep_.outcome();
    current_.clear();
    if (asked || outcome == MonitorSweep::Outcome::Failed)
        emit ended(watch, outcome, sweep_.message(), sweep_.counts(), sweep_.seconds(), asked);
    return false;
}

void MonitorScheduler::sweepEnded(MonitorSweep::Outcome outcome) {
    if (starting_) return; // begin() reports it
    const QString watch = current_;
    current_.clear();
    emit ended(watch, outcome, sweep_.message(), sweep_.counts(), sweep_.seconds(), asked_);
}

} // namespace zorva

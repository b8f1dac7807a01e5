#pragma once
// One sweep of a watch, away from the window's thread: every address of the watch (recorded
// or not) gets echoes at the watch's rate, the live ones a reverse lookup (within a time
// budget) and their hardware address from the neighbour table; the sweep's thread then records
// the whole result in one transaction on a connection of its own. A watch is swept by one monitor at a time: the sweep
// holds the watch's lease (MonitorStore::takeLease) from start to record.
#include "monitor/MonitorStore.h"

#include <QElapsedTimer>
#include <QObject>
#include <atomic>

class QThread;

namespace zorva {

struct SweepOptions {
    // Per echo: an answer on a network worth watching comes within it (as fping's first wait).
    qint32 timeoutMs = 500;
    int attempts = 2; // echoes for an address that does not answer
    bool lookupNames = true;
    int lookupBudgetMs = 15000; // the reverse lookups of one sweep together
    int lookupThreads = 16;
    // Addresses per call of the pinger: between two calls a cancel takes effect and progress
    // is told. 0: five seconds' worth at the watch's rate.
    int chunk = 0;
};

class MonitorSweep : public QObject {
    Q_OBJECT
public:
    // NetworkFailed: no ICMP socket may be opened here. Failed: the database, the watch, or no
    // route to its addresses.
    enum class Outcome { Done, Skipped, Failed, NetworkFailed, Cancelled };

    explicit MonitorSweep(QSqlDatabase db, QObject* parent = nullptr);
    ~MonitorSweep() override; // cancels a sweep under way and waits for its thread

    void setOptions(const SweepOptions& options) { options_ = options; }

    // Starts the sweep of the named watch. False when none starts; then outcome() says why:
    // Skipped when another monitor sweeps it now (or, with onlyIfDue, it is not due), Failed
    // for an unknown watch, a scope that no longer resolves or a database failure.
    bool start(const QString& watchName, bool onlyIfDue = false);
    // No further echoes are sent; finished() comes with Cancelled and nothing of the addresses
    // is recorded.
    void cancel();
    bool isRunning() const { return thread_ != nullptr; }

    Outcome outcome() const { return outcome_; }
    QString message() const { return message_; }
    const SweepCounts& counts() const { return counts_; }
    const QString& watchName() const { return result_.watch; }
    double seconds() const { return seconds_; }

    // Starts and waits, running the event loop meanwhile (the command line).
    Outcome run(const QString& watchName, bool onlyIfDue = false);

signals:
    void progress(qint64 done, qint64 total);
    void finished(zorva::MonitorSweep::Outcome outcome);

private:
    void work(const QList<AddressSpan>& spans, int rate);
    void workDone();
    void end(Outcome outcome, const QString& message);

    QSqlDatabase db_;
    SweepOptions options_;
    SweepResult result_;
    SweepCounts counts_;
    Outcome outcome_ = Outcome::Done;
    QString message_;
    QString networkError_; // set by the thread when no echo could be sent
    bool noIcmpSocket_ = false; // NetworkFailed; a sweep without a route Failed
    // Set by the thread once it has recorded the sweep (on a connection of its own).
    bool recordTried_ = false;
    std::optional<SweepCounts> recorded_;
    QString recordError_;
    QThread* thread_ = nullptr;
    std::atomic_bool cancel_{false};
    QElapsedTimer clock_;
    double seconds_ = 0;
};

} // namespace zorva

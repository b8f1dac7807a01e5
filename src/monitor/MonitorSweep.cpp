#include "monitor/MonitorSweep.h"
#include "monitor/NeighbourTable.h"
#include "net/HostLookup.h"
#include "net/Ping.h"
#include "platform/Database.h"
#include "platform/History.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QSqlError>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <sys/resource.h>
#include <unistd.h>
#include <thread>

namespace zorva {

namespace {

// Names of the live addresses, several lookups at once, none started after the budget is spent
// (a lookup under way finishes within the resolver's own time limit).
void lookUpNames(QList<Sighting>& sightings, const SweepOptions& o, const std::atomic_bool& cancel) {
    QList<Sighting*> live;
    for (Sighting& s : sightings)
        if (s.up) live << &s;
    if (live.isEmpty()) return;
    const QDeadlineTimer deadline(o.lookupBudgetMs);
    std::atomic<qsizetype> next{0};
    const auto worker = [&] {
        for (qsizetype i = next++; i < live.size() && !deadline.hasExpired() && !cancel; i = next++) {
            const ReverseLookup r = reverseLookup(addressText(live[i]->address));
            if (r.outcome == ReverseLookup::Outcome::Name) live[i]->dnsName = r.name;
        }
    };
    std::vector<std::thread> threads;
    const qsizetype n = qBound(qsizetype(1), qsizetype(o.lookupThreads), live.size());
    for (qsizetype i = 0; i < n; ++i) threads.emplace_back(worker);
    for (std::thread& t : threads) t.join();
}

// The record of a whole sweep takes a second or more for a /16. It is written from the sweep's
// thread, on a connection of that thread's own, so that the window's thread never waits for it.
std::optional<SweepCounts> recordOnOwnConnection(const QSqlDatabase& db, const SweepResult& result, QString* error) {
    const QString name = QStringLiteral("zorva_sweep_%1").arg(quintptr(QThread::currentThreadId()));
    std::optional<SweepCounts> counts;
    {
        QSqlDatabase own = QSqlDatabase::cloneDatabase(db.connectionName(), name);
        if (!own.open()) {
            *error = QStringLiteral("The database could not be opened to record the sweep: %1").arg(own.lastError().text());
        } else {
            prepareHistoryConnection(own);
            counts = MonitorStore(own).recordSweep(result, error);
            own.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return counts;
}

QString newHolder() {
    return QStringLiteral("%1:%2:%3").arg(QSysInfo::machineHostName()).arg(QCoreApplication::applicationPid())
        .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
}

} // namespace

MonitorSweep::MonitorSweep(QSqlDatabase db, QObject* parent) : QObject(parent), db_(db) {}

MonitorSweep::~MonitorSweep() {
    if (!thread_) return;
    cancel_ = true;
    thread_->wait();
    delete thread_;
    MonitorStore(db_).releaseLease(result_.watch, result_.holder);
}

bool MonitorSweep::start(const QString& watchName, bool onlyIfDue) {
    if (thread_) return false;
    MonitorStore store(db_);
    counts_ = {};
    cancel_ = false;
    networkError_.clear();
    noIcmpSocket_ = false;
    recorded_.reset();
    recordError_.clear();
    recordTried_ = false;
    result_ = SweepResult{};
    result_.watch = watchName;
    clock_.start();
    seconds_ = 0;
    QString error;
    const auto watch = store.watch(watchName, &error);
    if (!watch) {
        end(Outcome::Failed, error.isEmpty() ? QStringLiteral("There is no watch named \"%1\".").arg(watchName) : error);
        return false;
    }
    const auto range = resolveWatch(watch->kind, watch->scope, &error);
    if (!range) {
        end(Outcome::Failed, QStringLiteral("The watch \"%1\" covers no addresses: %2").arg(watchName, error));
        return false;
    }
    result_.watch = watch->name;
    result_.holder = newHolder();
    result_.spans = range->spans;
    result_.intervalMinutes = watch->intervalMinutes;
    result_.startedAt = QDateTime::currentDateTimeUtc();
    // Long enough for a slow sweep; a monitor that dies holding it frees the watch after that.
    const int rate = qMax(1, watch->rateLimit);
    const qint64 expected = qint64(range->count() / quint64(rate)) * qMax(1, options_.attempts) +
                            qint64(options_.attempts) * options_.timeoutMs / 1000 + options_.lookupBudgetMs / 1000;
    const auto taken = store.takeLease(watch->name, result_.holder,
                                       result_.startedAt.addSecs(2 * expected + 600), onlyIfDue, &error);
    if (!taken) {
        end(Outcome::Failed, error);
        return false;
    }
    if (!*taken) {
        end(Outcome::Skipped, onlyIfDue && watch->nextDue.isValid() && watch->nextDue > result_.startedAt
                                  ? QStringLiteral("The watch \"%1\" is not due yet; skipped.").arg(watch->name)
                                  : QStringLiteral("The watch \"%1\" is being swept by another monitor; skipped.").arg(watch->name));
        return false;
    }
    thread_ = QThread::create([this, spans = range->spans, rate] { work(spans, rate); });
    connect(thread_, &QThread::finished, this, &MonitorSweep::workDone, Qt::QueuedConnection);
    thread_->start();
    return true;
}

void MonitorSweep::cancel() { cancel_ = thread_ != nullptr; }

void MonitorSweep::work(const QList<AddressSpan>& spans, int rate) {
    // Below the window's thread (the lookups' threads inherit it): sixteen lookups that fail at
    // once would otherwise take its turns on a small machine.
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), ::getpriority(PRIO_PROCESS, id_t(::gettid())) + 5);
    // The addresses are spelled out here, a chunk at a time: a /16 of texts costs the window's
    // thread a tenth of a second.
    QList<quint32> addresses;
    for (const AddressSpan& span : spans)
        for (quint64 n = span.first; n <= span.last; ++n) addresses << quint32(n);
    ProbeRule rule;
    rule.ttl = 64;
    rule.timeoutMs = options_.timeoutMs;
    rule.attempts = options_.attempts;
    rule.pacePerSecond = rate;
    const qsizetype chunk = options_.chunk > 0 ? options_.chunk : std::clamp(qsizetype(rate) * 5, qsizetype(64), qsizetype(32768));
    QList<Sighting>& out = result_.sightings;
    out.reserve(addresses.size());
    for (qsizetype at = 0; at < addresses.size() && !cancel_; at += chunk) {
        const QList<quint32> numbers = addresses.mid(at, chunk);
        QStringList part;
        part.reserve(numbers.size());
        for (quint32 n : numbers) part << addressText(n);
        const QList<PingResult> answers = pinger().sweep(part, rule);
        bool noSocket = true, noRoute = true;
        for (qsizetype i = 0; i < part.size(); ++i) {
            const PingResult r = answers.value(i);
            noSocket = noSocket && r.status == PingStatus::GeneralFailure;
            noRoute = noRoute && r.status == PingStatus::DestNetUnreachable;
            out.append({numbers[i], r.succeeded(), r.succeeded() ? r.replyTimeMs : 0, {}, {}});
        }
        // Not one echo left this machine, or the network answered for none of them: nothing
        // may be taken as "down".
        if (noSocket || noRoute) {
            noIcmpSocket_ = noSocket;
            networkError_ = noSocket ? (answers.isEmpty() ? QStringLiteral("no echo could be sent") : answers.first().message)
                                     : QStringLiteral("there is no route from this machine to %1-%2")
                                           .arg(addressText(numbers.first()), addressText(numbers.last()));
            return;
        }
        emit progress(at + part.size(), addresses.size());
    }
    if (cancel_) return;
    if (options_.lookupNames) lookUpNames(out, options_, cancel_);
    const QHash<QString, QString> macs = readNeighbourTable();
    for (Sighting& s : out)
        if (s.up) s.mac = macs.value(addressText(s.address));
    if (cancel_) return;
    result_.endedAt = QDateTime::currentDateTimeUtc();
    recorded_ = recordOnOwnConnection(db_, result_, &recordError_);
    recordTried_ = true;
}

void MonitorSweep::workDone() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    MonitorStore store(db_);
    QString error;
    if (!recordTried_) {
        result_.endedAt = QDateTime::currentDateTimeUtc();
        const bool cancelled = networkError_.isEmpty();
        const QString why = cancelled ? QStringLiteral("cancelled") : QStringLiteral("network failed: ") + networkError_;
        if (!store.recordFailedSweep(result_, why, &error)) return end(Outcome::Failed, error);
        // Without a route the watch's network is out of reach, a failure like a database's.
        return end(cancelled ? Outcome::Cancelled : noIcmpSocket_ ? Outcome::NetworkFailed : Outcome::Failed,
                   cancelled ? QStringLiteral("The sweep of \"%1\" was cancelled; nothing was recorded.").arg(result_.watch)
                             : networkError_);
    }
    if (!recorded_) {
        store.releaseLease(result_.watch, result_.holder);
        return end(Outcome::Failed, recordError_);
    }
    counts_ = *recorded_;
    end(Outcome::Done, {});
}

void MonitorSweep::end(Outcome outcome, const QString& message) {
    outcome_ = outcome;
    message_ = message;
    seconds_ = clock_.isValid() ? clock_.elapsed() / 1000.0 : 0;
    emit finished(outcome);
}

MonitorSweep::Outcome MonitorSweep::run(const QString& watchName, bool onlyIfDue) {
    QEventLoop loop;
    connect(this, &MonitorSweep::finished, &loop, &QEventLoop::quit);
    if (start(watchName, onlyIfDue)) loop.exec();
    return outcome_;
}

} // namespace zorva

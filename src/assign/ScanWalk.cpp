#include "assign/ScanWalk.h"
#include "net/SweepRun.h"

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace zorva {

namespace {
qint64 monotonicMs() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}
} // namespace

QList<int> scanStartChoices(int start, int end) {
    QList<int> out;
    for (int v = start; v <= end; v += ScanWalk::kPauseEvery) out << v;
    return out;
}

QString bigScanText(int jumRange) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("This is a big network scan... please be patience ...") + crlf + crlf +
           QStringLiteral("\tTotal to Scan : ") + QString::number(jumRange) + crlf + crlf +
           QStringLiteral("Please wait until scanning process complete !") + crlf + crlf +
           QStringLiteral("Do you want to proceed with scanning?");
}

ScanWalk::ScanWalk(ScanHost& host, ScanPosition& position, QObject* parent)
    : QObject(parent), pos(position), host_(host), sweep_(new SweepRun(this)), now_(monotonicMs) {
    connect(sweep_, &SweepRun::finished, this, &ScanWalk::sweepDone);
}

ScanWalk::~ScanWalk() = default;

void ScanWalk::prepare(int rangeStart) {
    if (pos.i != 0) return;
    pos.i = rangeStart;
    chosenStart_ = -1; // a start picked for an earlier scan
}

bool ScanWalk::bigScanDue(int jumRange) const {
    return pos.StartRange == 999 && jumRange > kPauseEvery;
}

void ScanWalk::startChosen() {
    chosenStart_ = pos.i;
    pos.StartRange = 1;
}

void ScanWalk::reset() {
    pos.i = 0;
    pos.StartRange = 999;
    chosenStart_ = -1;
}

void ScanWalk::requestStop() {
    pos.Berhenti = true;
    sweep_->abandon();
}

QString ScanWalk::scanningText(int counter) {
    return QStringLiteral("Scanning") + QString(counter, QLatin1Char('.'));
}

bool ScanWalk::run(const ScanPlan& plan) {
    if (running_) return false;
    plan_ = plan;
    row_ = 0;
    phase_ = Phase::Examine;
    pos.Berhenti = false;
    running_ = true;
    host_.scanShowProgress(QStringLiteral("Scanning"));
    schedule();
    return true;
}

void ScanWalk::schedule() {
    if (stepQueued_) return;
    stepQueued_ = true;
    // One address per turn of the event loop: clicks (Stop) and repaints come in between.
    QTimer::singleShot(0, this, &ScanWalk::step);
}

bool ScanWalk::loopHolds() const {
    if (pos.Berhenti || pos.i < plan_.start || pos.i > plan_.end) return false;
    return !plan_.listingHasRows || plan_.recorded.size() != plan_.jumRange;
}

// Every 30 addresses from the range start. Not before the first address at all (nothing has
// been walked yet when the range starts at 0), nor at the start the user has just picked.
bool ScanWalk::pauseDue() const {
    const int i = pos.i;
    return i - 1 > 0 && (i - 1) % kPauseEvery == 0 && i > plan_.start && i != pos.StartRange &&
           i != chosenStart_;
}

bool ScanWalk::isRecorded() {
    // The recorded octets are ascending and start at or after the walk's first address.
    while (row_ < plan_.recorded.size() && plan_.recorded[row_] < pos.i) ++row_;
    if (row_ < plan_.recorded.size() && plan_.recorded[row_] == pos.i) {
        ++row_;
        return true;
    }
    return false;
}

bool ScanWalk::fresh(const QString& address) const {
    const auto it = answers_.constFind(address);
    return it != answers_.constEnd() && now_() - it->at < kTrustMs;
}

void ScanWalk::step() {
    stepQueued_ = false;
    if (!running_) return;
    if (phase_ == Phase::Examine) {
        if (!loopHolds()) return finish();
        // With recorded rows the address is shown before the pause question, without after it.
        const bool rows = plan_.listingHasRows;
        if (rows) host_.scanShowAddress(address(pos.i));
        if (pauseDue() && !host_.scanAskProceed()) {
            pos.i = 0;
            chosenStart_ = -1;
            return endWalk();
        }
        if (!rows) host_.scanShowAddress(address(pos.i));
        if (isRecorded()) {
            ++pos.i;
            return schedule();
        }
        animation_ = animation_ % 5 + 1;
        host_.scanShowProgress(scanningText(animation_));
        phase_ = Phase::Probe;
    }

    const int octet = pos.i;
    const QString target = address(octet);
    bool live = false;
    if (probing_ == Probing::OneByOne) {
        Pinger& p = pinger();
        p.setPingAddress(target);
        live = p.probeWithRule().succeeded();
    } else {
        if (!fresh(target)) return sweepAhead();
        live = answers_.value(target).live;
    }
    phase_ = Phase::Examine;
    if (live) {
        running_ = false;
        host_.scanOffer(octet);
        ++pos.i;
        emit ended();
        return;
    }
    ++pos.i;
    schedule();
}

// Every unrecorded address from here to the range end whose answer is missing or too old,
// in one sweep.
void ScanWalk::sweepAhead() {
    QStringList targets;
    for (int o = pos.i; o <= plan_.end; ++o) {
        const QString a = address(o);
        if (!std::binary_search(plan_.recorded.cbegin(), plan_.recorded.cend(), o) && !fresh(a))
            targets << a;
    }
    sweepTargets_ = targets;
    sweepAt_ = now_();
    ++sweeps_;
    sweep_->start(targets, ProbeRule{});
}

void ScanWalk::sweepDone(bool abandoned) {
    if (!abandoned) {
        const QSet<QString>& live = sweep_->live();
        for (const QString& a : std::as_const(sweepTargets_))
            answers_.insert(a, Answer{live.contains(a), sweepAt_});
    }
    sweepTargets_.clear();
    // A stop that came while the echoes were out ends the walk before the next address.
    if (abandoned || pos.Berhenti) phase_ = Phase::Examine;
    step();
}

void ScanWalk::finish() {
    const bool allRecorded = plan_.recorded.size() == plan_.jumRange;
    running_ = false;
    host_.scanFinished(allRecorded);
    pos.i = 0;
    chosenStart_ = -1;
    emit ended();
}

void ScanWalk::endWalk() {
    running_ = false;
    emit ended();
}

} // namespace zorva

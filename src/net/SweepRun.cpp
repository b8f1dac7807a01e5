#include "net/SweepRun.h"

#include <QThread>

namespace zorva {

SweepRun::SweepRun(QObject* parent) : QObject(parent) {}

SweepRun::~SweepRun() {
    if (thread_) {
        thread_->wait();
        delete thread_;
    }
}

bool SweepRun::start(const QStringList& addresses, const ProbeRule& rule) {
    if (thread_) return false;
    pinger_ = &pinger();
    rule_ = rule;
    open_ = addresses;
    live_.clear();
    rounds_ = 0;
    abandoned_ = false;
    startRound();
    return true;
}

void SweepRun::abandon() { abandoned_ = thread_ != nullptr; }

void SweepRun::startRound() {
    if (open_.isEmpty() || rounds_ >= qMax(1, rule_.attempts) || abandoned_) {
        // Always from the event loop, never from inside start().
        const bool abandoned = abandoned_;
        QMetaObject::invokeMethod(
            this, [this, abandoned] { emit finished(abandoned); }, Qt::QueuedConnection);
        return;
    }
    ++rounds_;
    ProbeRule once = rule_;
    once.attempts = 1;
    const QStringList batch = open_;
    Pinger* p = pinger_;
    // Only this thread touches results_ until it has finished.
    thread_ = QThread::create([this, p, batch, once] { results_ = p->sweep(batch, once); });
    connect(thread_, &QThread::finished, this, &SweepRun::roundDone, Qt::QueuedConnection);
    thread_->start();
}

void SweepRun::roundDone() {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    QStringList still;
    for (qsizetype k = 0; k < open_.size(); ++k) {
        if (k < results_.size() && results_[k].succeeded())
            live_.insert(open_[k]);
        else
            still << open_[k];
    }
    open_ = still;
    results_.clear();
    startRound();
}

} // namespace zorva

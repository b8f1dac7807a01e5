#pragma once
#include "net/Ping.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QStringList>

class QThread;

namespace zorva {

// The echo rule applied to many addresses at once, away from the window's thread. Each attempt
// of the rule is one round: a sweep of the addresses that have not answered yet. Between two
// rounds the run can be abandoned, so a stop takes effect within one time-out round, and the
// window's thread stays free to repaint and take clicks while the echoes are out.
// The answers are those of Pinger::sweep with the same rule.
class SweepRun : public QObject {
    Q_OBJECT
public:
    explicit SweepRun(QObject* parent = nullptr);
    ~SweepRun() override; // waits for a round under way

    // Starts a run on the program's pinger; false when one is under way already.
    bool start(const QStringList& addresses, const ProbeRule& rule = {});
    // No round is started after the one under way; finished() reports abandoned = true.
    void abandon();
    bool isRunning() const { return thread_ != nullptr; }

    // The addresses that answered "Success" (valid once finished() has come).
    const QSet<QString>& live() const { return live_; }
    // How many rounds the last run sent.
    int rounds() const { return rounds_; }

signals:
    void finished(bool abandoned);

private:
    void startRound();
    void roundDone();

    Pinger* pinger_ = nullptr;
    ProbeRule rule_;
    QStringList open_;                 // not answered yet
    QList<PingResult> results_;        // of the round under way, filled by its thread
    QSet<QString> live_;
    QThread* thread_ = nullptr;
    int rounds_ = 0;
    bool abandoned_ = false;
};

} // namespace zorva

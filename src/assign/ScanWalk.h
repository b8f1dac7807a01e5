#pragma once
// The scan walk of the assignment form: from the range start (or where the last walk stopped)
// to the range end, passing the recorded addresses without echo, stopping at the first
// address that answers, pausing every 30 addresses. The echoes are sent beforehand, in one
// parallel sweep of every unrecorded address the walk may still reach; the walk then goes
// over those answers in order, so that the user meets the same addresses, questions and
// messages as with one echo after the other, without waiting 0.8 s per silent address.
#include "net/Ping.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace zorva {

class SweepRun;

// The scan position the form shares with the scan-range dialog.
struct ScanPosition {
    int i = 0;            // next octet 4 to examine; 0 = start from the range start
    int StartRange = 999; // 999 = the big-scan question has not been put
    bool Berhenti = false; // stop requested
};

// Where a big scan may start: the range start, then every 30 addresses up to the range end.
QList<int> scanStartChoices(int start, int end);

// The big-scan question, with its tab and CR LF line breaks.
QString bigScanText(int jumRange);

// What the form hands the walk when it starts it.
struct ScanPlan {
    QString prefix;          // three octets and the full stop
    int start = 0;           // range in force
    int end = 0;
    int jumRange = 0;        // size of the range
    bool listingHasRows = false; // the range listing found recorded addresses
    QList<int> recorded;     // recorded octets 4 from i to the range end, ascending
};

// What the walk asks of the form that runs it.
class ScanHost {
public:
    virtual ~ScanHost() = default;
    // The address being examined (address preview).
    virtual void scanShowAddress(const QString& address) = 0;
    // The host-name preview while walking ("Scanning", "Scanning." ...).
    virtual void scanShowProgress(const QString& text) = 0;
    // "Proceed with 30 more ? ..."; true goes on. After No the form is back to choosing.
    virtual bool scanAskProceed() = 0;
    // A live unrecorded address: the form shows what is known of it and offers it.
    virtual void scanOffer(int octet4) = 0;
    // The walk ended without an offer; allRecorded picks the message.
    virtual void scanFinished(bool allRecorded) = 0;
};

class ScanWalk : public QObject {
    Q_OBJECT
public:
    enum class Probing {
        Swept,    // the program's way: answers gathered beforehand by one parallel sweep
        OneByOne, // the echoes of each address sent when the walk reaches it
    };
    static constexpr qint64 kTrustMs = 60000; // how long an answer is taken as still true
    static constexpr int kPauseEvery = 30;

    // The position is the form's (the scan-range dialog writes it too).
    ScanWalk(ScanHost& host, ScanPosition& position, QObject* parent = nullptr);
    ~ScanWalk() override;

    ScanPosition& pos;

    // i = range start when the walk has no position yet.
    void prepare(int rangeStart);
    // Whether the big-scan question must be put before this walk.
    bool bigScanDue(int jumRange) const;
    // After the big-scan question and the scan-range dialog: the walk's first address is the
    // chosen start (no pause question there) and StartRange = 1.
    void startChosen();

    // Starts walking; returns at once, the walk goes on one address per turn of the event loop.
    // False while a stopped walk is still winding down (its sweep round under way).
    bool run(const ScanPlan& plan);
    bool isRunning() const { return running_; }
    // Berhenti, and a sweep under way is abandoned after its current round.
    void requestStop();
    // What Cancel does to the position: the next scan starts from the range start.
    void reset();

    // Tests and the benchmark.
    void setProbing(Probing probing) { probing_ = probing; }
    void setClock(std::function<qint64()> msNow) { now_ = std::move(msNow); }
    void forgetAnswers() { answers_.clear(); }
    int sweepsStarted() const { return sweeps_; }

    // The animation texts: "Scanning." ... "Scanning....." for counter 1 to 5.
    static QString scanningText(int counter);

signals:
    // The walk ended: an offer, the end message, or No at a pause.
    void ended();

private:
    enum class Phase { Examine, Probe };
    struct Answer {
        bool live = false;
        qint64 at = 0;
    };

    void schedule();
    void step();
    bool loopHolds() const;
    bool pauseDue() const;
    bool isRecorded(); // moves along the recorded octets
    bool fresh(const QString& address) const;
    void sweepAhead();
    void sweepDone(bool abandoned);
    void finish();
    void endWalk();
    QString address(int octet4) const { return plan_.prefix + QString::number(octet4); }

    ScanHost& host_;
    ScanPlan plan_;
    Phase phase_ = Phase::Examine;
    qsizetype row_ = 0;     // current row of the recorded octets
    int chosenStart_ = -1;  // start picked in the scan-range dialog
    int animation_ = 0;
    bool running_ = false;
    bool stepQueued_ = false;
    Probing probing_ = Probing::Swept;
    QHash<QString, Answer> answers_;
    SweepRun* sweep_ = nullptr;
    QStringList sweepTargets_;
    qint64 sweepAt_ = 0;
    int sweeps_ = 0;
    std::function<qint64()> now_;
};

} // namespace zorva

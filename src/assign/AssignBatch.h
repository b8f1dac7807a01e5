#pragma once
// The batch of the assignment form: how many addresses are wanted, where the batch stands, the
// two bulk questions and the details kept for the rest of the batch, and the chain that saves
// one address after the other from the event loop.
#include "plan/UnitPlace.h"

#include <QObject>
#include <QString>
#include <functional>

namespace zorva {

// The user details a batch may reuse. The owning unit travels with its postal address: a row
// never gets the one without the other.
struct SharedDetails {
    QString project, remarks, status, userName, staffNo, lanId, telNo, faxNo;
    QString unit;
    UnitPostal postal;
};

class AssignBatch {
public:
    enum class Question { None, SameDetails, AutoSave };

    int size = 1;
    int counter = 0; // position of the current candidate; 0 = none yet
    bool sameAsked = false;
    bool same = false;
    bool autoSave = false;
    bool autoAsked = false;
    SharedDetails remembered;

    // The count box changed: the batch size when it holds a number, the counter back to 0.
    void countBoxChanged(const QString& countText);
    // A candidate was offered: it takes the next position unless the count box reads "1" or the
    // address answered the echo. True when it did.
    bool countOffer(const QString& countText, bool answered);
    // The question to put after a save (the same-details one first, then the auto-save one).
    Question nextQuestion(bool dedicated) const;
    void answerSameDetails(bool yes, const SharedDetails& now);
    void answerAutoSave(bool yes, const SharedDetails& now);
    // After a save: the batch is complete.
    bool complete(const QString& countText) const;
    // Cancel: the questions and answers forgotten; with a count box other than "1" the counter
    // goes back to 0 and a number in it becomes the batch size.
    void cancel(const QString& countText);

    static QString sameDetailsText(int remaining);
    static QString autoSaveText(int remaining);
};

// Runs the steps of a chain one at a time from the event loop, so that the stack does not grow
// with the chain and whatever the user does between two steps ("Stop") is seen by the next.
// stop() drops the step that is waiting.
class StepChain : public QObject {
    Q_OBJECT
public:
    explicit StepChain(QObject* parent = nullptr) : QObject(parent) {}
    void post(std::function<void()> step);
    void stop() {
        ++generation_;
        waiting_ = false;
    }
    bool waiting() const { return waiting_; }

private:
    quint64 generation_ = 0;
    bool waiting_ = false;
};

} // namespace zorva

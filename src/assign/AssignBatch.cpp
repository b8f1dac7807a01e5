#include "assign/AssignBatch.h"

#include <QTimer>

namespace zorva {

void AssignBatch::countBoxChanged(const QString& countText) {
    bool ok = false;
    const int n = countText.toInt(&ok);
    if (!countText.isEmpty() && ok) size = n;
    counter = 0;
}

bool AssignBatch::countOffer(const QString& countText, bool answered) {
    if (countText == QLatin1String("1") || answered) return false;
    ++counter;
    return true;
}

AssignBatch::Question AssignBatch::nextQuestion(bool dedicated) const {
    if (dedicated || size <= 1) return Question::None;
    if (!sameAsked) return Question::SameDetails;
    if (same && !autoAsked) return Question::AutoSave;
    return Question::None;
}

void AssignBatch::answerSameDetails(bool yes, const SharedDetails& now) {
    same = yes;
    if (yes) remembered = now;
    sameAsked = true;
}

void AssignBatch::answerAutoSave(bool yes, const SharedDetails& now) {
    autoSave = yes;
    if (yes && !sameAsked) {
        remembered = now;
        same = true;
    }
    autoAsked = true;
}

bool AssignBatch::complete(const QString& countText) const {
    return counter == size || countText == QLatin1String("1");
}

void AssignBatch::cancel(const QString& countText) {
    if (countText != QLatin1String("1")) {
        counter = 0;
        bool ok = false;
        const int n = countText.toInt(&ok);
        if (ok) size = n;
    }
    sameAsked = same = autoSave = autoAsked = false;
}

QString AssignBatch::sameDetailsText(int remaining) {
    return QStringLiteral("Use the same user details for the next %1 IP assignment?\r\n\r\n"
                          "Note:\r\n"
                          "This feature is used for bulk assignment using the same \r\n"
                          "contact person especially for data center or project.\r\n\r\n"
                          "Click 'Yes' if the same contact person owns these IP Addresses. \r\n"
                          "Click 'No' to manually set user details for each IP Address.")
        .arg(remaining);
}

QString AssignBatch::autoSaveText(int remaining) {
    return QStringLiteral("Zorva can automatically saved the next %1 IP assignment.\r\n\r\n"
                          "Note:\r\n"
                          "This feature is used for bulk assignment using the same \r\n"
                          "contact person especially for data center or project.\r\n\r\n"
                          "Click 'Yes' to use auto-save facility. \r\n"
                          "Click 'No' to manually save every IP assignment.")
        .arg(remaining);
}

void StepChain::post(std::function<void()> step) {
    const quint64 mine = generation_;
    waiting_ = true;
    QTimer::singleShot(0, this, [this, mine, step = std::move(step)] {
        if (mine != generation_) return;
        waiting_ = false;
        step();
    });
}

} // namespace zorva

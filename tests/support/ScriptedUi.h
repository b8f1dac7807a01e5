#pragma once
#include "platform/Ui.h"

#include <QDialog>
#include <QList>
#include <QMap>
#include <QQueue>
#include <QStringList>
#include <functional>

namespace zorva::test {

struct RecordedMessage {
    Icon icon = Icon::None;
    QString title;
    QString text;
    Buttons buttons;
    Button answer = Button::None;
};

// The scripted user interface of the tests. It installs itself for its lifetime, records every
// message (icon, title, text, buttons), answers questions from a queue, counts beeps, answers
// file and folder choices from a queue, and hands modal forms to handlers registered by the
// form's objectName. verify() (called by the fixture's cleanup) fails the test when a message
// came that the test did not take, an answer was left over, or a modal form had no handler.
class ScriptedUi : public UiService {
public:
    ScriptedUi();
    ~ScriptedUi() override;

    // ---- script
    void answerNext(Button answer);
    // The same, and meanwhile runs while that question is open (what another copy of the
    // program does while the user reads it).
    void answerNext(Button answer, std::function<void()> meanwhile);
    void answerFile(const QString& path); // empty: cancel
    void answerFolder(const QString& path);
    using ModalHandler = std::function<void(QDialog&)>;
    // The handler runs once, for the next modal form of that objectName, after its load.
    void onModal(const QString& objectName, ModalHandler handler);

    // ---- inspect
    // Takes the oldest message not yet taken; fails the test (returns an empty one) when none.
    RecordedMessage take();
    // Takes the oldest message and checks its text (and title when given).
    bool takeText(const QString& text, const QString& title = QString());
    int pendingMessages() const { return int(messages_.size()); }
    const QList<RecordedMessage>& pending() const { return messages_; }
    int beeps() const { return beeps_; }
    void resetBeeps() { beeps_ = 0; }
    QStringList openedUrls;
    QList<QStringList> startedPrograms; // program followed by its arguments
    QList<FileDialogRequest> fileRequests;
    QStringList modalForms;             // objectNames, in the order shown
    int endRequests = 0;
    // Whether startProgram reports success.
    bool programsStart = true;

    // Problems found so far; empty when all went as scripted.
    QStringList problems() const;
    // Fails the current test with the problems, if any; clears the state.
    bool verify();

    // ---- UiService
    Button message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                   Buttons buttons, Button defaultButton) override;
    void beep() override { ++beeps_; }
    QString chooseFile(QWidget* parent, const FileDialogRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    int showModal(QDialog& form) override;
    void openUrl(const QString& target) override { openedUrls << target; }
    bool startProgram(const QString& program, const QStringList& args) override;
    void endProgram(int exitCode) override;

private:
    QList<RecordedMessage> messages_;
    QQueue<Button> answers_;
    QQueue<std::function<void()>> meanwhile_; // one per answer, may be empty
    QQueue<QString> files_;
    QQueue<QString> folders_;
    QMap<QString, QQueue<ModalHandler>> modal_;
    QStringList problems_;
    int beeps_ = 0;
    UiService* previous_ = nullptr;
};

QString describe(const RecordedMessage& m);

} // namespace zorva::test

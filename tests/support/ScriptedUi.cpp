#include "support/ScriptedUi.h"
#include "platform/FormBase.h"

#include <QtTest>

namespace zorva::test {

QString describe(const RecordedMessage& m) {
    return QStringLiteral("[%1] \"%2\": \"%3\"").arg(int(m.icon)).arg(m.title, m.text);
}

ScriptedUi::ScriptedUi() : previous_(setUi(this)) {}

ScriptedUi::~ScriptedUi() { setUi(previous_); }

void ScriptedUi::answerNext(Button answer) { answerNext(answer, {}); }
void ScriptedUi::answerNext(Button answer, std::function<void()> meanwhile) {
    answers_.enqueue(answer);
    meanwhile_.enqueue(std::move(meanwhile));
}
void ScriptedUi::answerFile(const QString& path) { files_.enqueue(path); }
void ScriptedUi::answerFolder(const QString& path) { folders_.enqueue(path); }

void ScriptedUi::onModal(const QString& objectName, ModalHandler handler) {
    modal_[objectName].enqueue(std::move(handler));
}

RecordedMessage ScriptedUi::take() {
    if (messages_.isEmpty()) {
        problems_ << QStringLiteral("a message was expected, none came");
        return {};
    }
    return messages_.takeFirst();
}

bool ScriptedUi::takeText(const QString& text, const QString& title) {
    if (messages_.isEmpty()) {
        problems_ << QStringLiteral("expected message \"%1\", none came").arg(text);
        return false;
    }
    const RecordedMessage m = messages_.takeFirst();
    if (m.text == text && (title.isNull() || m.title == title)) return true;
    problems_ << QStringLiteral("expected message \"%1\" (%2), got %3")
                     .arg(text, title, describe(m));
    return false;
}

Button ScriptedUi::message(QWidget*, Icon icon, const QString& title, const QString& text,
                           Buttons buttons, Button defaultButton) {
    RecordedMessage m{icon, title, text, buttons, Button::None};
    const bool question = buttons != Buttons(Button::Ok) && buttons != Buttons();
    if (question) {
        if (answers_.isEmpty()) {
            problems_ << QStringLiteral("question without a scripted answer: ") + describe(m);
            m.answer = defaultButton;
        } else {
            m.answer = answers_.dequeue();
            if (const auto meanwhile = meanwhile_.dequeue()) meanwhile();
        }
    } else {
        m.answer = Button::Ok;
    }
    messages_ << m;
    return m.answer;
}

QString ScriptedUi::chooseFile(QWidget*, const FileDialogRequest& request) {
    fileRequests << request;
    if (files_.isEmpty()) {
        problems_ << QStringLiteral("file dialog \"%1\" without a scripted answer").arg(request.title);
        return {};
    }
    return files_.dequeue();
}

QString ScriptedUi::chooseFolder(QWidget*, const QString& title, const QString&) {
    if (folders_.isEmpty()) {
        problems_ << QStringLiteral("folder dialog \"%1\" without a scripted answer").arg(title);
        return {};
    }
    return folders_.dequeue();
}

int ScriptedUi::showModal(QDialog& form) {
    const QString name = form.objectName();
    modalForms << name;
    form.setResult(QDialog::Rejected);
    if (auto* f = qobject_cast<FormBase*>(&form)) {
        f->runLoad();
        if (f->isUnloaded()) return f->result();
    }
    auto it = modal_.find(name);
    if (it == modal_.end() || it->isEmpty()) {
        problems_ << QStringLiteral("modal form '%1' shown without a handler").arg(name);
        form.reject();
        return QDialog::Rejected;
    }
    ModalHandler handler = it->dequeue();
    form.setModal(true);
    form.show(); // offscreen: focus moves and visibility work as on screen
    handler(form);
    if (form.isVisible()) form.hide();
    return form.result();
}

bool ScriptedUi::startProgram(const QString& program, const QStringList& args) {
    startedPrograms << (QStringList{program} + args);
    return programsStart;
}

void ScriptedUi::endProgram(int) { ++endRequests; }

QStringList ScriptedUi::problems() const {
    QStringList out = problems_;
    for (const RecordedMessage& m : messages_)
        out << QStringLiteral("unexpected message: ") + describe(m);
    if (!answers_.isEmpty())
        out << QStringLiteral("%1 scripted answer(s) left over").arg(answers_.size());
    if (!files_.isEmpty()) out << QStringLiteral("%1 file answer(s) left over").arg(files_.size());
    if (!folders_.isEmpty())
        out << QStringLiteral("%1 folder answer(s) left over").arg(folders_.size());
    for (auto it = modal_.cbegin(); it != modal_.cend(); ++it)
        if (!it->isEmpty())
            out << QStringLiteral("handler for modal form '%1' never used").arg(it.key());
    return out;
}

bool ScriptedUi::verify() {
    const QStringList p = problems();
    problems_.clear();
    messages_.clear();
    answers_.clear();
    meanwhile_.clear();
    files_.clear();
    folders_.clear();
    modal_.clear();
    if (p.isEmpty()) return true;
    QTest::qFail(qPrintable(p.join(QStringLiteral("; "))), __FILE__, __LINE__);
    return false;
}

} // namespace zorva::test

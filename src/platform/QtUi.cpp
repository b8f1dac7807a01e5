#include "platform/QtUi.h"
#include "platform/Database.h"
#include "platform/FormBase.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>
#include <cstdio>
#include <unistd.h>

namespace zorva {

namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

const std::pair<Button, QMessageBox::StandardButton> kButtons[] = {
    {Button::Ok, QMessageBox::Ok},       {Button::Cancel, QMessageBox::Cancel},
    {Button::Yes, QMessageBox::Yes},     {Button::No, QMessageBox::No},
    {Button::Retry, QMessageBox::Retry}, {Button::Abort, QMessageBox::Abort},
    {Button::Ignore, QMessageBox::Ignore},
};

} // namespace

Button QtUi::message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                     Buttons buttons, Button defaultButton) {
    // Unattended runs (scripts, a second copy started by a test) write messages to standard
    // error and take the default answer instead of waiting for a click.
    static const bool unattended = qEnvironmentVariableIsSet("ZORVA_UNATTENDED");
    if (unattended) {
        std::fprintf(stderr, "zorva message [%s]: %s\n", qPrintable(title), qPrintable(text));
        return defaultButton;
    }
    QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, parent);
    for (const auto& [ours, theirs] : kButtons)
        if (buttons.testFlag(ours)) box.addButton(theirs);
    for (const auto& [ours, theirs] : kButtons)
        if (ours == defaultButton) box.setDefaultButton(theirs);
    const int r = box.exec();
    for (const auto& [ours, theirs] : kButtons)
        if (theirs == r) return ours;
    // Closed with Escape: the cancelling choice.
    if (buttons.testFlag(Button::Cancel)) return Button::Cancel;
    if (buttons.testFlag(Button::No)) return Button::No;
    return Button::Ok;
}

void QtUi::beep() { QApplication::beep(); }

QString QtUi::chooseFile(QWidget* parent, const FileDialogRequest& r) {
    QFileDialog dlg(parent, r.title, r.folder);
    dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = fileDialogFilters(r.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        dlg.selectNameFilter(filters.value(qBound(0, r.filterIndex - 1, int(filters.size()) - 1)));
    }
    if (!r.fileName.isEmpty()) dlg.selectFile(r.fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().constFirst();
}

QString QtUi::chooseFolder(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

int QtUi::showModal(QDialog& form) {
    if (auto* f = qobject_cast<FormBase*>(&form)) {
        f->runLoad();
        if (f->isUnloaded()) return f->result();
    }
    return form.exec();
}

void QtUi::openUrl(const QString& target) {
    const QUrl url = QUrl::fromUserInput(target);
    if (url.isValid()) QDesktopServices::openUrl(url);
}

bool QtUi::startProgram(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

void QtUi::endProgram(int exitCode) {
    closeAllConnections();
    std::fflush(nullptr);
    ::_exit(exitCode);
}

} // namespace zorva

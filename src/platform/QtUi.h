#pragma once
#include "platform/Ui.h"

namespace zorva {

// The real service: Qt dialogs and the desktop.
class QtUi : public UiService {
public:
    Button message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                   Buttons buttons, Button defaultButton) override;
    void beep() override;
    QString chooseFile(QWidget* parent, const FileDialogRequest& request) override;
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override;
    int showModal(QDialog& form) override;
    void openUrl(const QString& target) override;
    bool startProgram(const QString& program, const QStringList& args) override;
    void endProgram(int exitCode) override;
};

} // namespace zorva

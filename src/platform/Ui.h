#pragma once
#include <QFlags>
#include <QString>
#include <QStringList>

class QWidget;
class QDialog;

namespace zorva {

enum class Icon { None, Information, Warning, Critical, Question };

enum class Button {
    None = 0,
    Ok = 0x1,
    Cancel = 0x2,
    Yes = 0x4,
    No = 0x8,
    Retry = 0x10,
    Abort = 0x20,
    Ignore = 0x40,
};
Q_DECLARE_FLAGS(Buttons, Button)
Q_DECLARE_OPERATORS_FOR_FLAGS(Buttons)

// What a file-open dialog is asked with. Filters use the pipe-separated
// "Description|pattern|Description|pattern" form; filterIndex counts from 1.
struct FileDialogRequest {
    QString title;
    QString folder;
    QString fileName; // proposed name
    QString filter;
    int filterIndex = 1;
    bool save = false;
};

// Every message box, file or folder choice, modal form, beep, shell hand-over and the end of
// the process go through this service, so that a test can script and record them.
class UiService {
public:
    virtual ~UiService() = default;

    virtual Button message(QWidget* parent, Icon icon, const QString& title, const QString& text,
                           Buttons buttons = Button::Ok, Button defaultButton = Button::Ok) = 0;
    virtual void beep() = 0;
    // Empty result: cancelled.
    virtual QString chooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString chooseFolder(QWidget* parent, const QString& title, const QString& start) = 0;
    // Runs the form's load (FormBase), then shows it modally; returns QDialog::result().
    virtual int showModal(QDialog& form) = 0;
    // Hands an address, document or mail link to the desktop. Result ignored by callers.
    virtual void openUrl(const QString& target) = 0;
    // Starts a program detached; false when it could not be started.
    virtual bool startProgram(const QString& program, const QStringList& args = {}) = 0;
    // Ends the process at once after closing the database connections. The scripted
    // service records the request and returns; callers return right after calling it.
    virtual void endProgram(int exitCode = 0) = 0;
};

UiService& ui();
// Installs a service (tests); nullptr restores the real one. Returns the service installed
// before, so that it can be put back.
UiService* setUi(UiService* service);

// Builds QFileDialog's filter text from the pipe-separated form.
QStringList fileDialogFilters(const QString& pipeFilter);

} // namespace zorva

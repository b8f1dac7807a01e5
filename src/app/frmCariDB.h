#pragma once
#include "platform/FormBase.h"

class QLabel;
class QPushButton;

namespace zorva {

// "Zorva database folder": lets the user point at the database file, at start-up when it is
// missing and from the main window's "Change Directory".
class frmCariDB : public FormBase {
    Q_OBJECT
public:
    explicit frmCariDB(QWidget* parent = nullptr);

    QLabel* lblDBFolder = nullptr;
    QPushButton* cmdOK = nullptr;

    // True when the dialog ended the program (no database, or none found in the folder).
    bool endedProgram() const { return ended_; }

public slots:
    void cmdOK_Click();
    // The close box and Escape are "OK": the dialog has no other way out, and leaving it
    // without OK would keep the chosen database unchecked, unrecorded and out of the status bar.
    void reject() override;

protected:
    void Form_Load() override;

private:
    void buildUi();
    void endWith(const QString& text);
    void writeLocation(const QString& folder);
    QString initialFolder_;
    bool ended_ = false;
};

} // namespace zorva

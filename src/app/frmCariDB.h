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

protected:
    void Form_Load() override;

private:
    void buildUi();
    void endWith(const QString& text);
    QString initialFolder_;
    bool ended_ = false;
};

} // namespace zorva

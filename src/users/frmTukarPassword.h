#pragma once
#include "platform/FormBase.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

// The logged-in user replaces his own password after proving the current one.
class frmTukarPassword : public FormBase {
    Q_OBJECT
public:
    explicit frmTukarPassword(QWidget* parent = nullptr);

    QLabel* lblUserID = nullptr; // shows gUserID
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtNewPassword = nullptr;
    QLineEdit* txtReconfirm = nullptr;
    QPushButton* cmdSimpan = nullptr;
    QPushButton* cmdBatal = nullptr;

    // Shown when the session's identifier and name no longer name a row (the user renamed
    // himself since he logged in, or was deleted): nothing is written and the form stays open.
    static QString noRecordText();

public slots:
    void cmdSimpan_Click();
    void cmdBatal_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
};

} // namespace zorva

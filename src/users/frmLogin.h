#pragma once
#include "platform/FormBase.h"

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace zorva {

// "Zorva Login": checks the identifier and password against UserID and opens the session.
// Shown modally at start-up, by "Change Login" (gReLogin true: "Exit" becomes "Cancel") and
// after a change of database in which the user does not exist.
class frmLogin : public FormBase {
    Q_OBJECT
public:
    explicit frmLogin(QWidget* parent = nullptr);

    QLineEdit* txtUserID = nullptr;
    QLineEdit* txtPassword = nullptr;
    QCheckBox* chkLiveUpdate = nullptr;
    QPushButton* CmdTeruskan = nullptr;
    QPushButton* cmdExit = nullptr;

    // Runs after a successful login when chkLiveUpdate is ticked: the live update check.
    std::function<void(QWidget* parent)> updateCheck;

public slots:
    void CmdTeruskan_Click();
    void cmdExit_Click();
    // Escape and the close box are "Exit" (or "Cancel").
    void reject() override;

protected:
    void Form_Load() override;

private:
    void buildUi();
};

} // namespace zorva

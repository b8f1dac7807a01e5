#pragma once
#include "net/SmtpClient.h"
#include "platform/FormBase.h"

class QLineEdit;
class QPushButton;

namespace zorva {

// "Invalid User ID or Password ...": after a failed login, e-mails the user his identifier
// and password to the address recorded for him.
class frmLoginSilap : public FormBase {
    Q_OBJECT
public:
    explicit frmLoginSilap(QWidget* parent = nullptr);

    QLineEdit* txtInternetEmail = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdBatal2 = nullptr;
    SmtpClient smtp;

public slots:
    void cmdOK_Click();
    void cmdBatal2_Click();

private:
    void buildUi();
};

} // namespace zorva

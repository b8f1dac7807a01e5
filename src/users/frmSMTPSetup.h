#pragma once
#include "platform/FormBase.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

// "eMail Setting": stores the SMTP server and port in the settings file.
class frmSMTPSetup : public FormBase {
    Q_OBJECT
public:
    explicit frmSMTPSetup(QWidget* parent = nullptr);

    QLabel* lblPrompt = nullptr;
    QLineEdit* txtSMTPServer = nullptr;
    QLineEdit* txtSMTPPort = nullptr;
    QLineEdit* txtMailFrom = nullptr; // the envelope sender (Network/MailFrom)
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
};

} // namespace zorva

#include "users/frmSMTPSetup.h"
#include "platform/Ini.h"
#include "platform/Input.h"
#include "platform/Ui.h"
#include "users/PasswordMail.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmSMTPSetup::frmSMTPSetup(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmSMTPSetup"));
    setWindowTitle(QStringLiteral("eMail Setting"));
    buildUi();
}

void frmSMTPSetup::buildUi() {
    auto* layout = new QVBoxLayout(this);
    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    layout->addWidget(lblPrompt);
    auto* form = new QFormLayout;
    txtSMTPServer = new QLineEdit(this);
    txtSMTPServer->setObjectName(QStringLiteral("txtSMTPServer"));
    txtSMTPServer->setMinimumWidth(240);
    txtSMTPPort = new QLineEdit(QStringLiteral("25"), this);
    txtSMTPPort->setObjectName(QStringLiteral("txtSMTPPort"));
    attachNumericFilter(txtSMTPPort, 65535, 0);
    form->addRow(QStringLiteral("SMTP Server :"), txtSMTPServer);
    txtMailFrom = new QLineEdit(this);
    txtMailFrom->setObjectName(QStringLiteral("txtMailFrom"));
    form->addRow(QStringLiteral("Port :"), txtSMTPPort);
    form->addRow(QStringLiteral("Mail From :"), txtMailFrom);
    layout->addLayout(form);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : {cmdOK, cmdCancel}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmSMTPSetup::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSMTPSetup::cmdCancel_Click);
    attachFocusMoves({txtSMTPServer, txtSMTPPort, txtMailFrom});
}

void frmSMTPSetup::Form_Load() {
    lblPrompt->setText(QStringLiteral("Please enter your SMTP Server ..."));
    // Unlike the server, the sender has a value in force even when never set: show it.
    txtMailFrom->setText(mailSender());
}

void frmSMTPSetup::cmdOK_Click() {
    if (txtSMTPServer->text().isEmpty()) {
        ui().message(this, Icon::Warning, QStringLiteral("Error"),
                     QStringLiteral("Please enter your SMTP Server."));
        txtSMTPServer->setFocus();
        return;
    }
    const bool written =
        WriteIni(QStringLiteral("Network"), QStringLiteral("SMTP"), txtSMTPServer->text()) &&
        WriteIni(QStringLiteral("Network"), QStringLiteral("Port"), txtSMTPPort->text()) &&
        WriteIni(QStringLiteral("Network"), QStringLiteral("MailFrom"), txtMailFrom->text().trimmed());
    if (!written) {
        // Nothing would be sent later; say so now rather than pretend it was stored.
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                     QStringLiteral("Zorva.ini could not be written. The SMTP Server was not saved."));
        return;
    }
    unload(QDialog::Accepted);
}

void frmSMTPSetup::cmdCancel_Click() { unload(); }

} // namespace zorva

#include "users/frmSMTPSetup.h"
#include "platform/Builders.h"
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
    lblPrompt = named<QLabel>("lblPrompt", this);
    layout->addWidget(lblPrompt);
    auto* form = new QFormLayout;
    txtSMTPServer = named<QLineEdit>("txtSMTPServer", this);
    txtSMTPServer->setMinimumWidth(240);
    txtSMTPPort = named<QLineEdit>("txtSMTPPort", QStringLiteral("25"), this);
    attachNumericFilter(txtSMTPPort, 65535, 0);
    txtMailFrom = named<QLineEdit>("txtMailFrom", this);
    form->addRow(QStringLiteral("SMTP Server :"), txtSMTPServer);
    form->addRow(QStringLiteral("Port :"), txtSMTPPort);
    form->addRow(QStringLiteral("Mail From :"), txtMailFrom);
    layout->addLayout(form);
    addButtonRow(layout, this, {{&cmdOK, "cmdOK", "OK"}, {&cmdCancel, "cmdCancel", "Cancel"}});
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

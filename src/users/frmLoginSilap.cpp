#include "users/frmLoginSilap.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Input.h"
#include "platform/Ui.h"
#include "users/PasswordMail.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmLoginSilap::frmLoginSilap(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmLoginSilap"));
    setWindowTitle(QStringLiteral("Invalid User ID or Password ..."));
    buildUi();
}

void frmLoginSilap::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* heading =
        named<QLabel>("lblHeading", QStringLiteral("Forgot your User ID or Password ?"), this);
    QFont f = heading->font();
    f.setBold(true);
    heading->setFont(f);
    auto* text =
        named<QLabel>("lblText",
                      QStringLiteral("Enter your internet email address and Zorva will send "
                                     "your User ID and Password."),
                      this);
    text->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(text);
    auto* form = new QFormLayout;
    txtInternetEmail = named<QLineEdit>("txtInternetEmail", this);
    txtInternetEmail->setMinimumWidth(280);
    form->addRow(QStringLiteral("Internet Email :"), txtInternetEmail);
    layout->addLayout(form);
    addButtonRow(layout, this, {{&cmdOK, "cmdOK", "OK"}, {&cmdBatal2, "cmdBatal2", "Cancel"}});
    connect(cmdOK, &QPushButton::clicked, this, &frmLoginSilap::cmdOK_Click);
    connect(cmdBatal2, &QPushButton::clicked, this, &frmLoginSilap::cmdBatal2_Click);
    setTabOrder(txtInternetEmail, cmdOK);
    setTabOrder(cmdOK, cmdBatal2);
    attachFocusMoves(txtInternetEmail, FocusMove::Arrows | FocusMove::EnterNext,
                     [this] { cmdOK_Click(); });
}

void frmLoginSilap::cmdOK_Click() {
    const QString address = txtInternetEmail->text();
    if (address.isEmpty()) return;
    auto q = runSqlOrReport(this,
                            QStringLiteral("SELECT [Name], UserID, Password, Email FROM UserID "
                                           "WHERE Email = ?"),
                            {address});
    if (!q) return;
    if (!q->next()) {
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                     QStringLiteral("Sorry, your internet email is not in Zorva database !"));
        return;
    }
    const SmtpMessage mail = recoveryMessage(q->value(0).toString(), q->value(1).toString(),
                                             q->value(2).toString(), q->value(3).toString());
    if (sendProgramMail(this, smtp, mail))
        ui().message(this, Icon::Information, QStringLiteral("Accepted !"),
                     QStringLiteral("Your request has been successfully accepted and scheduled. "
                                    "You should receive an email message within one hour."));
    unload(QDialog::Accepted);
}

void frmLoginSilap::cmdBatal2_Click() { unload(); }

} // namespace zorva

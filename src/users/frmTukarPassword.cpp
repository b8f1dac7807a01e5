#include "users/frmTukarPassword.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmTukarPassword::frmTukarPassword(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmTukarPassword"));
    buildUi();
}

QString frmTukarPassword::noRecordText() {
    return QStringLiteral("Your user record has changed since you logged in. Your password was "
                          "not changed.\r\n\r\nPlease use \"Change Login\" to log in again, then "
                          "change your password.");
}

void frmTukarPassword::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    lblUserID = named<QLabel>("lblUserID", this);
    form->addRow(QStringLiteral("User ID :"), lblUserID);
    auto masked = [&](QLineEdit*& box, const char* name, const QString& caption) {
        box = named<QLineEdit>(name, this);
        box->setEchoMode(QLineEdit::Password);
        box->setMinimumWidth(200);
        form->addRow(caption, box);
    };
    masked(txtPassword, "txtPassword", QStringLiteral("Password :"));
    masked(txtNewPassword, "txtNewPassword", QStringLiteral("New Password :"));
    masked(txtReconfirm, "txtReconfirm", QStringLiteral("Confirmation :"));
    layout->addLayout(form);

    // No box performs "OK" by itself: neither button is the default.
    addButtonRow(layout, this, {{&cmdSimpan, "cmdSimpan", "OK"}, {&cmdBatal, "cmdBatal", "Cancel"}});
    connect(cmdSimpan, &QPushButton::clicked, this, &frmTukarPassword::cmdSimpan_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &frmTukarPassword::cmdBatal_Click);

    setTabOrder(txtPassword, txtNewPassword);
    setTabOrder(txtNewPassword, txtReconfirm);
    setTabOrder(txtReconfirm, cmdSimpan);
    setTabOrder(cmdSimpan, cmdBatal);
    attachFocusMoves({txtPassword, txtNewPassword, txtReconfirm});
}

void frmTukarPassword::Form_Load() {
    const AppState& s = appState();
    lblUserID->setText(s.gUserID);
    setWindowTitle(QStringLiteral("Change password for ") + s.gUserName);
    txtPassword->setFocus();
}

void frmTukarPassword::cmdSimpan_Click() {
    const AppState& s = appState();
    std::optional<QSqlQuery> q;
    {
        CursorGuard hourglass;
        q = runSqlOrReport(this,
                           QStringLiteral("SELECT rowid AS rid, Password FROM UserID "
                                          "WHERE [UserID] = ? AND [Name] = ?"),
                           {s.gUserID, s.gUserName});
    }
    if (!q) return; // reported; the boxes keep what was typed
    if (!q->next()) {
        // Nothing can be compared, so nothing is written; the user is told what to do.
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"), noRecordText());
        txtPassword->setFocus();
        return;
    }
    // Exact comparison: letter case counts here, although the login ignores it.
    if (q->value(1).toString() != txtPassword->text()) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("Invalid password !"));
        txtPassword->setFocus();
        return;
    }
    if (txtNewPassword->text() != txtReconfirm->text()) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("Invalid password confirmation. Passwords do not match."));
        txtNewPassword->setFocus();
        return;
    }
    const QVariant key = q->value(0);
    q.reset();
    {
        CursorGuard hourglass;
        if (!runSqlOrReport(this, QStringLiteral("UPDATE UserID SET Password = ? WHERE rowid = ?"),
                            {txtNewPassword->text(), key}))
            return; // reported; the form stays open and nothing was changed
    }
    ui().message(this, Icon::Information, QStringLiteral("New Password"),
                 QStringLiteral("Done. Password saved ..."));
    unload(QDialog::Accepted);
}

void frmTukarPassword::cmdBatal_Click() { unload(); }

} // namespace zorva

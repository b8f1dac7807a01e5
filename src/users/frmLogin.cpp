#include "users/frmLogin.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Icons.h"
#include "platform/Input.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "users/frmLoginSilap.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmLogin::frmLogin(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Zorva Login"));
    buildUi();
    updateCheck = [](QWidget* parent) { session().checkForUpdates(parent); };
}

void frmLogin::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    auto* picture = named<QLabel>("pctLogo", this);
    picture->setPixmap(appLogo(48));
    auto* title = named<QLabel>(
        "lblTitle", QStringLiteral("Manage Your IP Address Standard and Inventory System"), this);
    QFont f = title->font();
    f.setBold(true);
    title->setFont(f);
    head->addWidget(picture);
    head->addWidget(title, 1);
    layout->addLayout(head);

    auto* form = new QFormLayout;
    txtUserID = named<QLineEdit>("txtUserID", this);
    txtPassword = named<QLineEdit>("txtPassword", this);
    txtPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("User ID :"), txtUserID);
    form->addRow(QStringLiteral("Password :"), txtPassword);
    layout->addLayout(form);

    chkLiveUpdate =
        named<QCheckBox>("chkLiveUpdate", QStringLiteral("Check for Version Updates."), this);
    chkLiveUpdate->setChecked(true);
    layout->addWidget(chkLiveUpdate);

    CmdTeruskan = plainButton("CmdTeruskan", QStringLiteral("Enter"), this);
    cmdExit = plainButton("cmdExit", QStringLiteral("Exit"), this);
    layout->addLayout(buttonRow({CmdTeruskan, cmdExit}));
    connect(CmdTeruskan, &QPushButton::clicked, this, &frmLogin::CmdTeruskan_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmLogin::cmdExit_Click);

    setTabOrder(txtUserID, txtPassword);
    setTabOrder(txtPassword, chkLiveUpdate);
    setTabOrder(chkLiveUpdate, CmdTeruskan);
    setTabOrder(CmdTeruskan, cmdExit);
    attachFocusMoves(txtUserID);
    attachFocusMoves(txtPassword, FocusMove::Arrows | FocusMove::EnterNext,
                     [this] { CmdTeruskan_Click(); });
    attachSelectOnFocus(txtPassword);
}

void frmLogin::Form_Load() {
    // The main window showed the hourglass while it loaded.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    session().offerLiveUpdate(false);
    if (appState().gReLogin) cmdExit->setText(QStringLiteral("Cancel"));
    txtUserID->setFocus();
}

void frmLogin::CmdTeruskan_Click() {
    std::optional<QSqlQuery> q;
    QString error;
    {
        CursorGuard hourglass;
        q = runSql(QStringLiteral("SELECT [Name], UserID, [Group], Tadbir FROM UserID "
                                  "WHERE UserID = ? AND Password = ?"),
                   {txtUserID->text(), txtPassword->text()}, &error);
    }
    if (!q) {
        // The database cannot be read: nobody is logged in, and the user is told why.
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
        return;
    }
    if (!q->next()) {
        frmLoginSilap recovery(this);
        ui().showModal(recovery);
        return;
    }
    session().logIn(q->value(0).toString(), q->value(1).toString(), q->value(2).toString(),
                    q->value(3).toString());
    if (chkLiveUpdate->isChecked() && updateCheck) updateCheck(this);
    unload(QDialog::Accepted);
}

void frmLogin::cmdExit_Click() {
    AppState& s = appState();
    if (s.gReLogin) {
        s.gReLogin = false;
        unload();
        return;
    }
    unload();
    EndProgram();
}

void frmLogin::reject() { cmdExit_Click(); }

} // namespace zorva

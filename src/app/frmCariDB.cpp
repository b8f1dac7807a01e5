#include "app/frmCariDB.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmCariDB::frmCariDB(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmCariDB"));
    setWindowTitle(QStringLiteral("Zorva database folder"));
    buildUi();
}

void frmCariDB::buildUi() {
    auto* layout = new QVBoxLayout(this);
    lblDBFolder = named<QLabel>("lblDBFolder", this);
    lblDBFolder->setMinimumWidth(360);
    lblDBFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdOK = named<QPushButton>("cmdOK", QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmCariDB::cmdOK_Click);
    layout->addWidget(lblDBFolder);
    layout->addLayout(buttonRow({cmdOK}));
}

void frmCariDB::endWith(const QString& text) {
    ended_ = true;
    unload();
    ui().message(this, Icon::Critical, QStringLiteral("Error"), text);
    EndProgram();
}

void frmCariDB::Form_Load() {
    AppState& s = appState();
    const QString location = ReadIni(QStringLiteral("Database"), QStringLiteral("DatabaseLocation"));
    initialFolder_ = location.trimmed().isEmpty() ? s.appFolder : location;

    FileDialogRequest request;
    request.title = QStringLiteral("Browse for Zorva database ...");
    request.fileName = QStringLiteral("Zorvadb.mdb");
    request.folder = initialFolder_;
    request.filter = QStringLiteral("All Files (*.*)|*.*|MS Access 2000 Files (*.mdb)|*.mdb|"
                                    "Zorva database (Zorvadb.mdb)|Zorvadb.mdb");
    request.filterIndex = 3;
    const QString chosen = ui().chooseFile(this, request);

    if (chosen.isEmpty()) {
        if (location.isEmpty()) {
            endWith(QStringLiteral("No Database !!!"));
            return;
        }
        // Cancelled with a location configured: "OK" keeps the folder the dialog started in.
        s.gDbFolder = initialFolder_;
        lblDBFolder->setText(initialFolder_ + QLatin1Char('/'));
        return;
    }

    const QString previousPath = s.gDbPath, previousFolder = s.gDbFolder;
    s.gDbPath = chosen;
    const int slash = chosen.lastIndexOf(QLatin1Char('/'));
    s.gDbFolder = slash >= 0 ? chosen.left(slash) : QString();
    if (!QFileInfo(s.gDbFolder + QStringLiteral("/Zorvadb.mdb")).isFile()) {
        endWith(QStringLiteral("Zorva database not found!"));
        return;
    }
    // A damaged file, another program's database or one lacking columns is not taken: at
    // start-up this ends the program as a missing database does; from the menu the session
    // stays on its database and nothing is recorded.
    if (const QString problem = databaseFileProblem(chosen); !problem.isEmpty()) {
        const QString text = QDir::toNativeSeparators(chosen) + QStringLiteral(": ") + problem;
        if (s.gUserID.isEmpty()) {
            endWith(text);
            return;
        }
        s.gDbPath = previousPath;
        s.gDbFolder = previousFolder;
        unload();
        ui().message(this, Icon::Critical, QStringLiteral("Error"), text);
        return;
    }
    lblDBFolder->setText(s.gDbFolder + QLatin1Char('/'));
}

void frmCariDB::writeLocation(const QString& folder) {
    if (WriteIni(QStringLiteral("Database"), QStringLiteral("DatabaseLocation"), folder)) return;
    // Without the location the next start would open another database than this session.
    ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                 QStringLiteral("Zorva.ini could not be written. The database folder ") +
                     (folder.isEmpty() ? appState().appFolder : folder) +
                     QStringLiteral("/ was not saved."));
}

void frmCariDB::reject() {
    if (ended_ || isUnloaded()) {
        FormBase::reject();
        return;
    }
    cmdOK_Click();
}

void frmCariDB::cmdOK_Click() {
    AppState& s = appState();
    const bool fromMenu = session().isLoggedIn();
    if (fromMenu) {
        // The session must exist in the newly chosen database, or a new login is needed.
        auto q = runSql(QStringLiteral("SELECT * FROM UserID WHERE UserID = ?"), {s.gUserID});
        const bool known = q && q->next();
        if (!known) {
            s.gReLogin = false;
            session().requireLogin();
        }
        writeLocation(s.gDbFolder == s.appFolder ? QString() : s.gDbFolder);
    } else {
        writeLocation(s.gDbFolder);
    }
    unload(QDialog::Accepted);
    if (fromMenu) session().changeDatabase();
    // At start-up the start-up routine upgrades again right after and reports a failure once.
    QString error;
    if (!UpgradeSchema(&error) && fromMenu)
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"), error);
}

} // namespace zorva

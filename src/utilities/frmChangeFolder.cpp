#include "utilities/frmChangeFolder.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Ini.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "utilities/DatabaseMove.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

QString frmChangeFolder::explanationText() {
    return QStringLiteral(
        "By default the Zorva software and Zorva database installs into the \"Program Files\\Zorva\" "
        "folder. If you are accidently Uninstall Zorva software, Zorva database also will be removed. "
        "Therefore, moving Zorva database (Zorvadb.mdb) to other folder or network folder is highly "
        "recommended.");
}

frmChangeFolder::frmChangeFolder(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmChangeFolder"));
    setWindowTitle(QStringLiteral("Move database ..."));
    buildUi();
}

void frmChangeFolder::buildUi() {
    auto* layout = new QVBoxLayout(this);
    lblExplanation = named<QLabel>("lblExplanation", explanationText(), this);
    lblExplanation->setWordWrap(true);
    lblExplanation->setMinimumWidth(420);
    layout->addWidget(lblExplanation);

    frameFolder = named<QGroupBox>("frameFolder", QStringLiteral("Folder :"), this);
    auto* folderRow = new QHBoxLayout(frameFolder);
    txtPath = named<QLineEdit>("txtPath", frameFolder);
    setEditable(txtPath, false);
    cmdDirektori = plainButton("cmdDirektori", QStringLiteral("Browse"), frameFolder);
    cmdDirektori->setToolTip(QStringLiteral("Browse for folder"));
    folderRow->addWidget(txtPath, 1);
    folderRow->addWidget(cmdDirektori);
    layout->addWidget(frameFolder);

    cmdMapNetwork = plainButton("cmdMapNetwork", QStringLiteral("Map Network Drive"), this);
    cmdMoveDatabase = plainButton("cmdMoveDatabase", QStringLiteral("Move Database"), this);
    cmdMoveDatabase->setToolTip(QStringLiteral("Move Zorva database to other folder"));
    cmdTutup = plainButton("cmdTutup", QStringLiteral("Cancel"), this);
    auto* buttons = buttonRow({cmdMoveDatabase, cmdTutup});
    buttons->insertWidget(0, cmdMapNetwork); // on its own at the left
    layout->addLayout(buttons);

    connect(cmdDirektori, &QPushButton::clicked, this, &frmChangeFolder::cmdDirektori_Click);
    connect(cmdMapNetwork, &QPushButton::clicked, this, &frmChangeFolder::cmdMapNetwork_Click);
    connect(cmdMoveDatabase, &QPushButton::clicked, this, &frmChangeFolder::cmdMoveDatabase_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmChangeFolder::cmdTutup_Click);
}

void frmChangeFolder::Form_Load() { cmdMoveDatabase->setEnabled(false); }

void frmChangeFolder::cmdDirektori_Click() {
    QString folder = ui().chooseFolder(this, QStringLiteral("Choose Folder :"), QString());
    if (folder.isEmpty()) return;
    chosenFolder_ = folder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    txtPath->setText(folder);
    cmdMoveDatabase->setEnabled(true);
}

void frmChangeFolder::cmdMapNetwork_Click() { ui().openUrl(networkView()); }

void frmChangeFolder::cmdMoveDatabase_Click() {
    const QString target = txtPath->text() + QStringLiteral("Zorvadb.mdb");
    if (QFileInfo::exists(target)) {
        const Button answer = ui().message(
            this, Icon::Question, QStringLiteral("Replace Database"),
            QStringLiteral("Zorva database already exist in ") + txtPath->text() +
                QStringLiteral(" folder. Are you sure to REPLACE Zorva database?"),
            Button::Ok | Button::Cancel, Button::Cancel);
        if (answer != Button::Ok) return;
    }
    CopyFailure failure;
    bool copied;
    {
        CursorGuard hourglass;
        copied = copyDatabaseFile(inApplicationFolder(QStringLiteral("Zorvadb.mdb")), target, &failure);
    }
    if (!copied) {
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                     QString::number(failure.number) + QStringLiteral(": ") + failure.description +
                         QStringLiteral(".\r\n\r\nZorva database was open."));
        return;
    }
    cmdMoveDatabase->setEnabled(false);
    if (!WriteIni(QStringLiteral("Database"), QStringLiteral("DatabaseLocation"), chosenFolder_)) {
        // The next start would not find the copy; keep using the database we have.
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                     QStringLiteral("Zorva.ini could not be written. The database was copied to ") +
                         txtPath->text() +
                         QStringLiteral(" but Zorva goes on using the database it had."));
        return;
    }
    AppState& s = appState();
    s.gDbPath = chosenFolder_ + QStringLiteral("/Zorvadb.mdb");
    s.gDbFolder = chosenFolder_;
    cmdTutup->setText(QStringLiteral("OK"));
    cmdTutup->setFocus();
}

void frmChangeFolder::cmdTutup_Click() { unload(QDialog::Accepted); }

} // namespace zorva

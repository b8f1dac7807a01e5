#include "utilities/frmBackupDB.h"
#include "platform/DatabaseServer.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "platform/Schema.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "platform/UserSettings.h"
#include "utilities/BackupFiles.h"
#include "utilities/SplitJoin.h"
#include "utilities/ctlProgress.h"
#include "utilities/frmSplitterSplash.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QString kDbFile = QStringLiteral("Zorvadb.mdb");
const QString kIniFile = QStringLiteral("Zorva.ini");
const QString kAppTitle = QStringLiteral("Zorva");
const QString kErrorTitle = QStringLiteral("Error !!!");
// The program file started by the "Split File" entry, in the application folder.
const QString kProgramName = QStringLiteral("zorva");
const QString kSplitEntryFile = QStringLiteral("zorva-split-file.desktop");

QLabel* statLabel(QWidget* parent, const QString& text, const char* name) {
    auto* l = named<QLabel>(name, text, parent);
    l->setMinimumWidth(260);
    return l;
}

// The files a backup or a restore dealt with, as its report names them.
QString filesText(bool db, bool ini) {
    if (db && ini) return QStringLiteral("Zorva database and Zorva INI file");
    return db ? QStringLiteral("Zorva database") : QStringLiteral("Zorva INI file");
}

// How the progress bar of the split utility is laid out when the form loads.
QVariantMap progressDesign() {
    return {{QStringLiteral("Appearance"), 1}, {QStringLiteral("BorderStyle"), 1},
            {QStringLiteral("CaptionStyle"), 2}, {QStringLiteral("Caption"), QString()},
            {QStringLiteral("Min"), 0},          {QStringLiteral("Max"), 100}};
}

} // namespace

frmBackupDB::frmBackupDB(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmBackupDB"));
    setWindowTitle(QStringLiteral("Backup & Restore"));
    buildUi();
}

frmBackupDB::~frmBackupDB() { delete splash_; }

void frmBackupDB::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* info = new QLabel(QStringLiteral("Utility to backup Zorva INI file and Zorva database. Use "
                                           "split utility to copy to Floppy Disk."),
                            this);
    info->setWordWrap(true);
    layout->addWidget(info);

    FrameFolder = named<QGroupBox>("FrameFolder", QStringLiteral("Backup/Restore Folder :"), this);
    auto* folderRow = new QHBoxLayout(FrameFolder);
    txtPath = named<QLineEdit>("txtPath", FrameFolder);
    txtPath->setMinimumWidth(320);
    cmdDirektori = plainButton("cmdDirektori", QStringLiteral("Browse"), FrameFolder);
    folderRow->addWidget(txtPath);
    folderRow->addWidget(cmdDirektori);
    layout->addWidget(FrameFolder);

    auto* row = new QHBoxLayout;
    chkBackupDB = named<QCheckBox>("chkBackupDB", QStringLiteral("Zorva database"), this);
    chkBackupINI = named<QCheckBox>("chkBackupINI", QStringLiteral("Zorva INI file"), this);
    chkBackupDB->setChecked(true);
    chkBackupINI->setChecked(true);
    cmdBackup = plainButton("cmdBackup", QStringLiteral("Backup"), this);
    cmdRestore = plainButton("cmdRestore", QStringLiteral("Restore"), this);
    cmdTutup = plainButton("cmdTutup", QStringLiteral("Close"), this);
    row->addWidget(chkBackupDB);
    row->addWidget(chkBackupINI);
    row->addStretch();
    row->addWidget(cmdBackup);
    row->addWidget(cmdRestore);
    row->addWidget(cmdTutup);
    layout->addLayout(row);
    layout->addWidget(buildSplitFrame());

    connect(cmdDirektori, &QPushButton::clicked, this, &frmBackupDB::cmdDirektori_Click);
    connect(cmdBackup, &QPushButton::clicked, this, &frmBackupDB::cmdBackup_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &frmBackupDB::cmdRestore_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmBackupDB::cmdTutup_Click);
    connect(cmdSplit, &QPushButton::clicked, this, &frmBackupDB::cmdSplit_Click);
    connect(cmdJoin, &QPushButton::clicked, this, &frmBackupDB::cmdJoin_Click);
    connect(txtFileName, &QLineEdit::textChanged, this, &frmBackupDB::txtFileName_Change);
    txtFileName_Change();
}

QWidget* frmBackupDB::buildSplitFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Split database file :"), this);
    auto* grid = new QGridLayout(frame);
    grid->addWidget(new QLabel(QStringLiteral("Filename:"), frame), 0, 0);
    txtFileName = named<QLineEdit>("txtFileName", frame);
    grid->addWidget(txtFileName, 0, 1, 1, 2);
    cmdSplit = plainButton("cmdSplit", QStringLiteral("Split File"), frame);
    cmdJoin = plainButton("cmdJoin", QStringLiteral("Join File"), frame);
    auto* actions = new QHBoxLayout;
    actions->addWidget(cmdSplit);
    actions->addWidget(cmdJoin);
    actions->addStretch();
    grid->addLayout(actions, 1, 1, 1, 2);

    chkDeleteParts = named<QCheckBox>(
        "chkDeleteParts", QStringLiteral("Delete Split Parts when finished Joining"), frame);
    chkOpenExplorer = named<QCheckBox>(
        "chkOpenExplorer", QStringLiteral("Open Explorer Window to Split Directory"), frame);
    chkCopyToFloppy = named<QCheckBox>(
        "chkCopyToFloppy", QStringLiteral("Copy to Floppies when finished Splitting"), frame);
    chkCopyToFloppy->setToolTip(
        QStringLiteral("Drive A: is a folder on removable media, chosen when the copy starts"));
    grid->addWidget(chkDeleteParts, 2, 1, 1, 2);
    grid->addWidget(chkOpenExplorer, 3, 1, 1, 2);
    grid->addWidget(chkCopyToFloppy, 4, 1, 1, 2);

    auto* estimates = new QGroupBox(QStringLiteral("Estimates"), frame);
    auto* estLayout = new QVBoxLayout(estimates);
    lblEstFileCount = statLabel(estimates, QStringLiteral("File Count:"), "lblEstFileCount");
    lblEstFileCount->setMinimumWidth(120);
    estLayout->addWidget(lblEstFileCount);
    estLayout->addStretch();
    auto* stats = new QGroupBox(QStringLiteral("Statistics"), frame);
    auto* statLayout = new QVBoxLayout(stats);
    lblStart = statLabel(stats, QStringLiteral("Start Time:"), "lblStart");
    lblFinish = statLabel(stats, QStringLiteral("Finish Time:"), "lblFinish");
    lblElapsed = statLabel(stats, QStringLiteral("Elapsed Time:"), "lblElapsed");
    lblFileCount = statLabel(stats, QStringLiteral("File Count:"), "lblFileCount");
    for (QLabel* l : {lblStart, lblFinish, lblElapsed, lblFileCount}) statLayout->addWidget(l);
    grid->addWidget(estimates, 5, 0, 1, 2);
    grid->addWidget(stats, 5, 2);

    ctlProgress1 = named<ctlProgress>("ctlProgress1", frame);
    ctlProgress1->ReadProperties(progressDesign());
    grid->addWidget(ctlProgress1, 6, 0, 1, 3);
    return frame;
}

// ---------------------------------------------------------------- load and close

void frmBackupDB::Form_Load() {
    AppState& s = appState();
    s.gIniFile = inApplicationFolder(kIniFile);
    QString folder = ReadIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation"));
    while (folder.isEmpty()) {
        cmdRestore->setEnabled(session().isSistem());
        folder = ui().chooseFolder(this, QStringLiteral("Browse for Backup/Restore Folder :"),
                                   QDir::homePath());
        if (!folder.isEmpty()) break;
        if (ui().message(this, Icon::Question, QStringLiteral("No Path Selected"),
                         QStringLiteral("Please select folder, Browse Again?"),
                         Button::Yes | Button::No, Button::Yes) != Button::Yes) {
            // Without a folder there is nothing to back up to or restore from; the split
            // utility below stays usable.
            cmdBackup->setEnabled(false);
            cmdRestore->setEnabled(false);
            break;
        }
    }
    if (!folder.isEmpty()) {
        setFolder(folder);
        if (!session().isSistem()) cmdRestore->setEnabled(false);
    }

    writeFileActionEntry(kSplitEntryFile, QStringLiteral("Split File"),
                         inProgramFolder(kProgramName));
    const QString given = s.gCommandLineFile;
    if (!given.isEmpty() && QFileInfo(given).isFile()) txtFileName->setText(given);

    chkDeleteParts->setChecked(GetSetting(QStringLiteral("DeleteParts"), QStringLiteral("1")) ==
                               QLatin1String("1"));
    chkOpenExplorer->setChecked(GetSetting(QStringLiteral("OpenExplorer"), QStringLiteral("1")) ==
                                QLatin1String("1"));
    chkCopyToFloppy->setChecked(GetSetting(QStringLiteral("CopyToFloppy"), QStringLiteral("0")) ==
                                QLatin1String("1"));
}

void frmBackupDB::saveSplitSettings() {
    auto flag = [](QCheckBox* box) { return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"); };
    SaveSetting(QStringLiteral("DeleteParts"), flag(chkDeleteParts));
    SaveSetting(QStringLiteral("OpenExplorer"), flag(chkOpenExplorer));
    SaveSetting(QStringLiteral("CopyToFloppy"), flag(chkCopyToFloppy));
    SaveSetting(QStringLiteral("SplitSize"), QStringLiteral("1360"));
}

void frmBackupDB::done(int r) {
    if (busy_) return; // a split or join in progress finishes first
    saveSplitSettings();
    if (splash_) splash_->unload();
    FormBase::done(r);
}

void frmBackupDB::cmdTutup_Click() { unload(); }

// ---------------------------------------------------------------- backup and restore

void frmBackupDB::setFolder(const QString& folder) {
    folder_ = backup::withSlash(folder);
    txtPath->setText(folder_);
}

void frmBackupDB::enableRestore() { cmdRestore->setEnabled(session().isSistem()); }

void frmBackupDB::cmdDirektori_Click() {
    const QString chosen =
        ui().chooseFolder(this, QStringLiteral("Choose Backup Folder :"), folder_);
    if (chosen.isEmpty()) return;
    setFolder(chosen);
    cmdBackup->setEnabled(true);
    enableRestore();
}

bool frmBackupDB::refuseRoot(const QString& folder) {
    if (!backup::isRootFolder(folder)) return false;
    ui().message(this, Icon::Warning, kErrorTitle,
                 QStringLiteral("Backup to / root folder is not allowed! Please choose other folder."));
    return true;
}

void frmBackupDB::reportError(const QString& text) {
    ui().message(this, Icon::Critical, kErrorTitle, text);
}

namespace {

// The database box on a server: the server's own tools copy it.
bool databaseOnServer(QWidget* parent, bool db, const QString& feature) {
    return db && refusedOnServer(parent, QStringLiteral("Backup/Restore"), feature,
                                 QStringLiteral("Back the server's database up with pg_dump (for "
                                                "example pg_dump -Fc -f zorva.dump) and restore it "
                                                "with pg_restore. Zorva.ini alone is backed up and "
                                                "restored here with the database box cleared."));
}

} // namespace

void frmBackupDB::cmdBackup_Click() {
    const bool db = chkBackupDB->isChecked();
    const bool ini = chkBackupINI->isChecked();
    if (!db && !ini) return;
    if (databaseOnServer(this, db, QStringLiteral("Backing up the database"))) return;
    // The folder box may have been edited by hand.
    const QString folder = backup::withSlash(txtPath->text().trimmed());
    const QString dbTarget = folder + kDbFile;
    auto failed = [this](const backup::FileError& e) {
        if (!e.failed()) return false;
        reportError(backup::errorText(e, QStringLiteral(" : ")) + QLatin1Char('.'));
        return true;
    };
    if (failed(backup::checkFolderText(folder))) return;
    if (db) {
        if (refuseRoot(folder)) return;
        if (backup::samePath(dbTarget, appState().gDbPath)) {
            ui().message(this, Icon::Warning, kErrorTitle,
                         QStringLiteral("Backup to Zorva database folder is not allowed !"));
            txtPath->setFocus();
            return;
        }
        CursorGuard wait;
        if (failed(backup::backupDatabase(database(), dbTarget))) return;
        WriteIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation"), folder);
    }
    if (ini) {
        if (refuseRoot(folder)) return;
        const QString source = inApplicationFolder(kIniFile);
        const QString target = folder + kIniFile;
        if (backup::samePath(source, target)) {
            ui().message(this, Icon::Warning, kErrorTitle,
                         QStringLiteral("Backup to Zorva application folder is not allowed !"));
            txtPath->setFocus();
            return;
        }
        CursorGuard wait;
        if (failed(backup::copyFileReplacing(source, target))) return;
        WriteIni(QStringLiteral("Backup"), QStringLiteral("BackupLocation"), folder);
    }
    folder_ = folder;
    lastFolder_ = folder;
    cmdBackup->setEnabled(false);
    cmdRestore->setEnabled(false);
    const QString what = filesText(db, ini);
    ui().message(this, Icon::Information, QStringLiteral("Backup completed"),
                 QStringLiteral("Backup ") + what + QStringLiteral(" to ") + folder +
                     QStringLiteral(" completed successfully."));
    if (db) txtFileName->setText(dbTarget); // ready for splitting
    enableRestore();
}

void frmBackupDB::cmdRestore_Click() {
    const bool db = chkBackupDB->isChecked();
    const bool ini = chkBackupINI->isChecked();
    if (!db && !ini) return;
    if (databaseOnServer(this, db, QStringLiteral("Restoring the database"))) return;
    const QString folder = backup::withSlash(txtPath->text().trimmed());
    auto dated = [](const QString& file) {
        return splitjoin::dateTimeText(QFileInfo(file).lastModified());
    };
    auto failed = [this](backup::FileError e) {
        if (!e.failed()) return false;
        if (e.kind == backup::FileErrorKind::FileNotFound)
            e.description = QStringLiteral("Backup file not found !");
        reportError(backup::errorText(e, QStringLiteral(": ")));
        return true;
    };
    if (failed(backup::checkFolderText(folder))) return;
    // Each part: the backup must exist (else the whole restore stops), then the user confirms.
    enum class Answer { Missing, Declined, Confirmed };
    auto confirm = [this, &dated](const QString& source, const QString& what) {
        if (!QFileInfo(source).isFile()) {
            ui().message(this, Icon::None, kAppTitle, QStringLiteral("Backup ") + what + QStringLiteral(" not found!"));
            return Answer::Missing;
        }
        return ui().message(this, Icon::Question, QStringLiteral("Confirm Restore"),
                            QStringLiteral("Restore ") + what + QStringLiteral(" dated ") +
                                dated(source) + QStringLiteral(" ?"),
                            Button::Ok | Button::Cancel, Button::Ok) == Button::Ok
                   ? Answer::Confirmed
                   : Answer::Declined;
    };
    bool restoredDb = false, restoredIni = false;
    if (db) {
        const Answer a = confirm(folder + kDbFile, QStringLiteral("Zorva database"));
        if (a == Answer::Missing) return;
        if (a == Answer::Confirmed) {
            CursorGuard wait;
            if (failed(backup::restoreDatabase(folder + kDbFile, appState().gDbPath))) return;
            // The program's connection reopens on the restored file; an older backup gains
            // the columns it lacks.
            QString error;
            if (!UpgradeSchema(&error)) {
                reportError(
                    backup::errorText(backup::FileError(backup::FileErrorKind::AccessError, error),
                                      QStringLiteral(": ")));
                return;
            }
            restoredDb = true;
        }
    }
    if (ini) {
        const Answer a = confirm(folder + kIniFile, QStringLiteral("Zorva INI file"));
        if (a == Answer::Missing) return;
        if (a == Answer::Confirmed) {
            CursorGuard wait;
            if (failed(backup::copyFileReplacing(folder + kIniFile, inApplicationFolder(kIniFile))))
                return;
            restoredIni = true;
        }
    }
    if (restoredDb || restoredIni) {
        ui().message(this, Icon::None, kAppTitle,
                     filesText(restoredDb, restoredIni) + QStringLiteral(" restoration completed !"));
    }
    cmdBackup->setEnabled(false);
    cmdRestore->setEnabled(false);
}

} // namespace zorva

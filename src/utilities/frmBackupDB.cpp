#include "utilities/frmBackupDB.h"
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

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

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
                         inApplicationFolder(kProgramName));
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

void frmBackupDB::cmdBackup_Click() {
    const bool db = chkBackupDB->isChecked();
    const bool ini = chkBackupINI->isChecked();
    if (!db && !ini) return;
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

// ---------------------------------------------------------------- split and join

void frmBackupDB::txtFileName_Change() {
    const QString f = txtFileName->text();
    cmdSplit->setEnabled(!f.isEmpty() && QFileInfo(f).isFile());
    cmdJoin->setEnabled(!f.isEmpty() && QFileInfo(splitjoin::piecePath(f, 1)).isFile());
    lblEstFileCount->setText(splitjoin::estimateText(f));
}

void frmBackupDB::fileNotFound(const QString& name) {
    txtFileName_Change();
    ui().message(this, Icon::Critical, QStringLiteral("File Read Error"),
                 QStringLiteral("File Not Found (") + name + QLatin1Char(')'));
}

void frmBackupDB::cmdSplit_Click() {
    const QString f = txtFileName->text();
    if (!f.isEmpty() && QFileInfo(f).isFile()) {
        SplitFiles(f, splitjoin::kPieceSize);
        return;
    }
    fileNotFound(f);
}

void frmBackupDB::cmdJoin_Click() {
    const QString f = txtFileName->text();
    if (!f.isEmpty() && QFileInfo(splitjoin::piecePath(f, 1)).isFile()) {
        JoinFiles(f);
        return;
    }
    fileNotFound(f);
}

namespace {

// Ties a split or a join to the form's statistics and progress bar while it runs.
splitjoin::Observer watchOn(QLabel* count, ctlProgress* bar) {
    splitjoin::Observer o;
    o.progress = [bar](qint64 done) { bar->setValue(done); };
    o.status = [count](const QString& text) {
        count->setText(text);
        count->repaint();
    };
    o.step = [] { QApplication::processEvents(); };
    return o;
}

} // namespace

splitjoin::Outcome frmBackupDB::runTimed(const Work& work, const QString& finishedCaption) {
    QElapsedTimer clock; // monotonic: a run across midnight still shows its true duration
    clock.start();
    splitjoin::Outcome outcome;
    {
        CursorGuard wait;
        cmdJoin->setEnabled(false);
        cmdSplit->setEnabled(false);
        lblStart->setText(QStringLiteral("Start Time: ") +
                          splitjoin::dateTimeText(QDateTime::currentDateTime()));
        busy_ = true;
        outcome = work(watchOn(lblFileCount, ctlProgress1));
        busy_ = false;
    }
    if (outcome.ok) {
        ctlProgress1->setCaption(finishedCaption);
        ctlProgress1->setCaptionStyle(1);
        ctlProgress1->setValue(ctlProgress1->Max());
        lblFinish->setText(QStringLiteral("Finish Time: ") +
                           splitjoin::dateTimeText(QDateTime::currentDateTime()));
        lblElapsed->setText(QStringLiteral("Elapsed Time: ") +
                            splitjoin::elapsedText(clock.elapsed() / 1000.0) + QStringLiteral(" seconds"));
    }
    txtFileName_Change();
    return outcome;
}

bool frmBackupDB::SplitFiles(const QString& file, qint64 pieceSize) {
    const qint64 size = QFileInfo(file).size();
    const int n = splitjoin::pieceCount(size, pieceSize);
    if (n > 10 &&
        ui().message(this, Icon::Question, QStringLiteral("Are you sure?"),
                     QStringLiteral("Are you sure you want to break this file up into %1 pieces?").arg(n),
                     Button::Yes | Button::No, Button::No) != Button::Yes)
        return false;

    ctlProgress1->setMax(size);
    ctlProgress1->setCaptionStyle(3);
    ctlProgress1->setCaption(QStringLiteral("Splitting"));
    ctlProgress1->setValue(0);
    const bool deleteParts = chkDeleteParts->isChecked();
    const splitjoin::Outcome outcome = runTimed(
        [&](const splitjoin::Observer& o) { return splitjoin::splitFile(file, pieceSize, deleteParts, o); },
        QStringLiteral("Finished Splitting"));
    if (!outcome.ok) {
        if (outcome.readError)
            ui().message(this, Icon::Critical, QStringLiteral("File Error"), outcome.status);
        return false;
    }
    if (chkCopyToFloppy->isChecked()) CopyToFloppy(file, outcome.pieces);
    if (splash_) splash_->hide();
    if (chkOpenExplorer->isChecked()) ui().openUrl(folderOf(file));
    return true;
}

bool frmBackupDB::JoinFiles(const QString& file) {
    // The pieces are looked for first: an existing output is never touched when there is
    // nothing to join.
    if (!QFileInfo(splitjoin::piecePath(file, 1)).isFile()) {
        lblFileCount->setText(QStringLiteral("Join Count: No Input Files"));
        return false;
    }
    if (QFileInfo::exists(file) &&
        ui().message(this, Icon::Question, QStringLiteral("Overwrite Warning"),
                     QStringLiteral("Output file (") + file +
                         QStringLiteral(") already exists.\rAre you sure you want to overwrite it?"),
                     Button::Yes | Button::No, Button::No) != Button::Yes) {
        lblFileCount->setText(QStringLiteral("Join Count: Output File Exists"));
        return false;
    }
    qint64 total = 0;
    const int m = splitjoin::consecutivePieces(file, &total);
    ctlProgress1->setCaptionStyle(3);
    ctlProgress1->setCaption(QStringLiteral("Joining"));
    ctlProgress1->setValue(0);
    ctlProgress1->setMax(total);
    const bool deleteParts = chkDeleteParts->isChecked();
    const splitjoin::Outcome outcome = runTimed(
        [&](const splitjoin::Observer& o) { return splitjoin::joinFiles(file, m, deleteParts, o); },
        QStringLiteral("Finished Joining"));
    if (!outcome.ok) return false;
    if (chkOpenExplorer->isChecked()) ui().openUrl(folderOf(file));
    return true;
}

// Drive A: is a folder on removable media that the user chooses when the copy starts. Before
// each disk only the earlier pieces and batch file of this same file are removed from it:
// nothing else that the folder holds is touched.
void frmBackupDB::CopyToFloppy(const QString& file, int pieces) {
    const QString chosen = ui().chooseFolder(
        this, QStringLiteral("Choose the folder of the removable disk (Drive A:)"),
        QStringLiteral("/media"));
    if (chosen.isEmpty()) return;
    const QString disk = backup::withSlash(chosen);
    const QString name = QFileInfo(file).fileName();
    if (!splash_) splash_ = new frmSplitterSplash(this);

    auto clean = [&]() {
        QDir dir(disk);
        if (!dir.exists() || !QFileInfo(disk).isWritable()) return false;
        const QStringList old = dir.entryList({name + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
        for (const QString& entry : old) {
            const QString suffix = entry.mid(name.size() + 1);
            bool number = false;
            suffix.toInt(&number);
            if ((number || suffix == QLatin1String("bat")) && !dir.remove(entry)) return false;
        }
        return true;
    };

    for (int i = 1; i <= pieces; ++i) {
        if (ui().message(this, Icon::Information, QStringLiteral("Coppy to Floppy"),
                         QStringLiteral("Please enter Disk #%1 in Drive A:").arg(i),
                         Button::Ok | Button::Cancel, Button::Ok) != Button::Ok) {
            splash_->hide();
            return;
        }
        for (;;) {
            splash_->ShowMessage(QStringLiteral("Cleaning up disk..."));
            if (clean()) break;
            splash_->hide();
            if (ui().message(this, Icon::Critical, QStringLiteral("Disk Missing"),
                             QStringLiteral("Unable to find disk in drive or disk is write-protected\r"
                                            "Please insert another disk and press OK"),
                             Button::Ok | Button::Cancel, Button::Ok) != Button::Ok)
                return;
        }
        const QString piece = name + QLatin1Char('.') + QString::number(i);
        splash_->ShowMessage(QStringLiteral("Copying ") + piece + QStringLiteral(" to ") + disk +
                             piece + QStringLiteral("..."));
        if (backup::copyFileReplacing(splitjoin::piecePath(file, i), disk + piece).failed())
            ui().message(this, Icon::Critical, QStringLiteral("File Copy Failed"),
                         QStringLiteral("Unable to copy ") + piece + QStringLiteral(" to ") + disk + piece);
        if (i == pieces)
            backup::copyFileReplacing(splitjoin::batchPath(file), disk + name + QStringLiteral(".bat"));
        splash_->hide();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace zorva

#include "utilities/frmBackupDB.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "utilities/BackupFiles.h"
#include "utilities/SplitJoin.h"
#include "utilities/ctlProgress.h"
#include "utilities/frmSplitterSplash.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

// The split and join side of the backup form.

namespace zorva {

namespace {

QString folderOf(const QString& file) { return QFileInfo(file).absolutePath(); }

} // namespace


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

// frmZorvaMain, scan part: the scan of a range for live unrecorded addresses.
#include "assign/frmZorvaMainScan.h"
#include "assign/AssignParts.h"
#include "assign/EquipmentRange.h"
#include "assign/frmNetScanRange.h"
#include "assign/frmZorvaMain.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace zorva {

namespace {
const QString kStop = QStringLiteral("Stop");
const QString kCancel = QStringLiteral("Cancel");
} // namespace

ScanSide& frmZorvaMain::scanSide() {
    if (!scan_) scan_ = new ScanSide(*this);
    return *scan_;
}

ScanSide::ScanSide(frmZorvaMain& form)
    : QObject(&form), f_(form), walk_(new ScanWalk(*this, form, this)) {
    connect(walk_, &ScanWalk::ended, this, [this] {
        if (!chosenMeanwhile_) return;
        chosenMeanwhile_ = false;
        equipmentChosen();
    });
}

ScanSide::~ScanSide() { setBusy(false); }

void ScanSide::setBusy(bool on) {
    if (on == busy_) return;
    busy_ = on;
    if (on)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void ScanSide::equipmentChosen() {
    // A stopped walk still waiting for its last round of echoes: its stop stays in force, and
    // the new choice is scanned once that walk has ended.
    if (walk_->isRunning()) {
        chosenMeanwhile_ = true;
        return;
    }
    f_.Berhenti = false;
    if (f_.cboEquipment->currentText().isEmpty()) return;
    scanNetwork();
}

void ScanSide::scanningButtons() {
    setBusy(true);
    f_.cmdSave->setEnabled(false);
    f_.cmdBatal->setText(kStop);
    f_.cmdBatal->setEnabled(true);
    f_.cmdTutup->setEnabled(false);
}

void ScanSide::choosingAgain() {
    setBusy(false);
    f_.cmdSave->setEnabled(false);
    f_.cmdBatal->setText(kCancel);
    f_.cmdBatal->setEnabled(false);
    f_.cmdTutup->setEnabled(true);
    f_.details->disableDetails();
    f_.unlockCascade();
}

void ScanSide::scanNetwork() {
    const QString entry = f_.cboEquipment->currentText();
    if (!f_.prepareSearch(QStringLiteral("Total Record(s) : "))) return;
    f_.txtlblNamingConvention->clear();
    ScanPlan plan;
    {
        CursorGuard wait;
        f_.details->clearDetails();
        f_.details->enableDetails();
        setEditable(f_.txtBilangan, false);
        f_.SSTab1->setCurrentIndex(0);
        f_.cmdSave->setEnabled(false);
        f_.cmdBatal->setText(kCancel);
        f_.cmdBatal->setEnabled(false);
        f_.cmdTutup->setEnabled(true);
        const auto range = rangeInForce(entry, f_.cascade_.cityRow(), f_.cascade_.queries());
        if (!range) return;
        const auto rows = f_.showListing(range->range, true);
        if (!rows) return;
        if (appState().gOwnRange || isNetworkEntry(entry)) f_.namaAlat = entry;
        if (!range->equipmentPart.isEmpty()) f_.cascade_.setEquipmentCode(range->equipmentPart);
        plan.prefix = f_.cascade_.prefix();
        plan.start = range->range.start;
        plan.end = range->range.end;
        plan.jumRange = range->range.size();
        plan.listingHasRows = !rows->isEmpty();
    }
    f_.lockCascade();
    scanningButtons();
    walk_->prepare(plan.start);

    if (walk_->bigScanDue(plan.jumRange)) {
        f_.cmdBatal->setText(kCancel);
        f_.cmdBatal->setEnabled(false);
        ui().beep();
        if (ui().message(&f_, Icon::Information, QStringLiteral("Information"),
                         bigScanText(plan.jumRange), Button::Yes | Button::No,
                         Button::Yes) != Button::Yes) {
            choosingAgain();
            walk_->reset();
            return;
        }
        frmNetScanRange start(f_, &f_);
        ui().showModal(start);
        scanningButtons();
        walk_->startChosen();
    }

    // The recorded addresses from where the walk stands to the range end.
    QString error;
    const auto ahead = listRange(database(&error), plan.prefix,
                                 OctetRange{f_.i, plan.end}, &error);
    if (!ahead) {
        f_.showDbError(error);
        choosingAgain();
        f_.i = 0;
        return;
    }
    plan.recorded = fourthOctets(*ahead);
    walk_->run(plan);
}

void ScanSide::showScanning(const QString& text) { f_.txtlblNamingConvention->setText(text); }

void ScanSide::scanShowAddress(const QString& address) { f_.txtlblIPAddress->setText(address); }

bool ScanSide::scanAskProceed() {
    f_.txtlblNamingConvention->clear();
    f_.cmdBatal->setEnabled(false);
    if (ui().message(&f_, Icon::Question, QStringLiteral("Proceed ?"),
                     QStringLiteral("Proceed with 30 more ? ..."), Button::Yes | Button::No,
                     Button::Yes) != Button::Yes) {
        choosingAgain();
        return false;
    }
    f_.repaint();
    scanningButtons();
    return true;
}

void ScanSide::scanStep(int octet4) {
    const QString address = f_.cascade_.prefix() + QString::number(octet4);
    f_.octet4_ = octet4;
    f_.txtlblIPAddress->setText(address);
    {
        frmIPAddGuna inUse(&f_);
        inUse.liveInfoAddress = address;
        inUse.liveInfoNote = frmIPAddGuna::usedNote;
        inUse.caller = &f_;
        f_.txtlblNamingConvention->setText(QStringLiteral("    ?"));
        f_.cmdBatal->setText(kCancel);
        f_.cmdBatal->setEnabled(false);
        f_.cmdTutup->setEnabled(false);
        ui().showModal(inUse);
    }
    f_.inUse_ = true;
    const SequencePart seq = candidateSequence(f_.cboEquipment->currentText(),
                                               Candidate{false, octet4, octet4 - 1},
                                               f_.cascade_.queries());
    f_.sequence_ = sequenceCode(seq.number);
    if (!seq.equipmentPart.isEmpty()) f_.cascade_.setEquipmentCode(seq.equipmentPart);
    setBusy(false);
    f_.offerCandidate(false);
    // Upper case here, unlike the "Segment" of the other modes; the area stands for the state.
    const LocationCascade& c = f_.cascade_;
    f_.details->txtWorkGroup->setText(c.segmented() ? QStringLiteral("SEGMENT")
                                                    : f_.cboWorkGroup->currentText());
    f_.details->txtNegeri->setText(c.segmented() ? c.area() : f_.cboState->currentText());
    f_.details->txtBandar->setText(c.city());
}

void ScanSide::scanFinished(bool allRecorded) {
    setBusy(false);
    ui().beep();
    if (allRecorded)
        ui().message(&f_, Icon::Information, QStringLiteral("Information"),
                     QStringLiteral("All IP Address recorded ... "));
    else
        ui().message(&f_, Icon::Information, QStringLiteral("Finish"),
                     QStringLiteral("Scan Network finished or Stopped !!!"));
    f_.txtlblNamingConvention->clear();
    choosingAgain();
}

} // namespace zorva

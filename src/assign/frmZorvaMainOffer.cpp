// frmZorvaMain, second part: finding and offering an address, saving it, Cancel, the unit list.
#include "assign/AssignParts.h"
#include "assign/EquipmentRange.h"
#include "assign/SubnetLayout.h"
#include "assign/frmIPRangePenuh.h"
#include "assign/frmZorvaMain.h"
#include "assign/frmZorvaMainScan.h"
#include "plan/PlanData.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

namespace zorva {

namespace {
const QString kStop = QStringLiteral("Stop");
const QString kCancel = QStringLiteral("Cancel");
} // namespace

void frmZorvaMain::cboEquipment_Click() {
    if (scanMode()) return scanSide().equipmentChosen();
    if (cboEquipment->currentText().isEmpty()) {
        octet4_ = 0;
        cascade_.setEquipmentCode(QStringLiteral("_"));
        refreshPreviews();
        return;
    }
    if (dedicatedMode())
        dedicatedStep();
    else
        newModeStep();
}

bool frmZorvaMain::prepareSearch(const QString& totalCaption) {
    details->PicUnitDivision->hide();
    if (!cascadeChecks()) return false;
    // Dedicated mode without an octet 4: refused before anything is written for the entry.
    if (dedicatedMode() && txtBilangan->text().isEmpty()) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                     QStringLiteral("Please enter ") + lblTotalRequired->text() + QStringLiteral(" ..."));
        txtBilangan->setFocus();
        return false;
    }
    lblJumlah->setText(totalCaption);
    lblJumlah->hide();
    const QString entry = cboEquipment->currentText();
    if (!isNetworkEntry(entry)) return true;
    const SubnetPlace place{cascade_.area(), details->txtWorkGroup->text(),
                            cboState->isHidden() ? QString() : cboState->currentText(),
                            cascade_.city(), appState().gUserName};
    QString error;
    if (const int written = createSubnetRows(database(&error), entry, cascade_.prefix(), place, &error);
        written >= 0) {
        if (written > 0) session().announce(subnetSavedText(written, cascade_.prefix()));
        return true;
    }
    showDbError(error);
    return false;
}

std::optional<QList<ListedAddress>> frmZorvaMain::showListing(OctetRange range, bool withCounts) {
    QString error;
    auto rows = listRange(database(&error), cascade_.prefix(), range, &error);
    if (!rows) {
        showDbError(error);
        return std::nullopt;
    }
    gridData->setRowCount(0);
    gridData->setRowCount(int(rows->size()));
    for (int r = 0; r < rows->size(); ++r) {
        const ListedAddress& a = rows->at(r);
        const QStringList cells = {a.address, a.name, a.type, a.project, a.remarks};
        for (int c = 0; c < cells.size(); ++c) gridData->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    QString caption = lblJumlah->text();
    if (!rows->isEmpty()) {
        caption += QString::number(rows->size());
        lblJumlah->show();
    }
    if (withCounts) caption += rangeCountsText(range, int(rows->size()));
    lblJumlah->setText(caption);
    return rows;
}

bool frmZorvaMain::echoCheck(const QString& address) {
    if (!addressAnswers(address)) return false;
    frmIPAddGuna inUse(this);
    inUse.liveInfoAddress = address;
    inUse.liveInfoNote = frmIPAddGuna::usedNote;
    inUse.caller = this;
    ui().showModal(inUse);
    return true;
}

void frmZorvaMain::newModeStep() {
    if (!prepareSearch(QStringLiteral("Total Records : "))) return;
    CursorGuard wait;
    const QString entry = cboEquipment->currentText();
    details->clearDetails();
    details->enableDetails();
    if (batch_.same) details->putShared(batch_.remembered);
    SSTab1->setCurrentIndex(0);
    cmdSave->setEnabled(false);
    cmdBatal->setEnabled(batch_.autoSave);
    cmdTutup->setEnabled(false);
    const bool own = appState().gOwnRange || isNetworkEntry(entry);
    const auto range = rangeInForce(entry, cascade_.cityRow(), cascade_.queries());
    std::optional<QList<ListedAddress>> rows;
    if (range) rows = showListing(range->range, true);
    if (!rows) {
        cmdTutup->setEnabled(true);
        return;
    }
    if (own) namaAlat = entry;
    if (!range->equipmentPart.isEmpty()) cascade_.setEquipmentCode(range->equipmentPart);
    const Candidate c = findCandidate(range->range, fourthOctets(*rows));
    if (c.full) {
        namaAlatFirst = entry;
        frmIPRangePenuh full(this);
        const int result = ui().showModal(full);
        cmdTutup->setEnabled(true);
        if (result == QDialog::Accepted) {
            chooseEquipment(appState().gEqpName);
        } else {
            appState().gOwnRange = true; // the range looked at is not kept
            cmdBatal_Click();
        }
        return;
    }
    octet4_ = c.octet4;
    inUse_ = echoCheck(cascade_.prefix() + QString::number(octet4_));
    const SequencePart seq = candidateSequence(cboEquipment->currentText(), c, cascade_.queries());
    sequence_ = sequenceCode(seq.number);
    if (!seq.equipmentPart.isEmpty()) cascade_.setEquipmentCode(seq.equipmentPart);
    offerCandidate(true);
}

void frmZorvaMain::chooseEquipment(const QString& name) {
    int index = cboEquipment->findText(name);
    if (index < 0) {
        // A segmented city offers only its own range: the borrowed equipment joins the list.
        cboEquipment->addItem(name);
        index = cboEquipment->count() - 1;
    }
    if (index == cboEquipment->currentIndex())
        cboEquipment_Click();
    else
        cboEquipment->setCurrentIndex(index);
}

void frmZorvaMain::dedicatedStep() {
    if (!prepareSearch(QStringLiteral("Total Record(s) : "))) return;
    CursorGuard wait;
    const QString entry = cboEquipment->currentText();
    txtlblNamingConvention->clear();
    details->clearDetails();
    details->enableDetails();
    setEditable(txtBilangan, false);
    SSTab1->setCurrentIndex(0);
    cmdSave->setEnabled(false);
    cmdBatal->setText(kCancel);
    cmdBatal->setEnabled(false);
    cmdTutup->setEnabled(true);
    const auto range = rangeInForce(entry, cascade_.cityRow(), cascade_.queries());
    if (!range || !showListing(range->range, true)) return;
    namaAlat = entry;
    if (!range->equipmentPart.isEmpty()) cascade_.setEquipmentCode(range->equipmentPart);
    octet4_ = txtBilangan->text().toInt();
    const QString address = cascade_.prefix() + txtBilangan->text();
    txtlblIPAddress->setText(address);
    QString error;
    if (const auto row = recordedAssignment(database(&error), address, &error)) {
        ui().message(this, Icon::Information, QStringLiteral("IP Already exist!"),
                     QStringLiteral("Selected IP Address already exist in Zorva database !"));
        cmdBatal->setEnabled(true);
        lockCascade();
        details->showRecord(*row);
        details->disableDetails();
        txtlblNamingConvention->setText(row->name);
        return;
    }
    const DedicatedSequence d = dedicatedSequence(entry, octet4_, cascade_.queries());
    if (!d.refusal.isEmpty()) {
        ui().message(this, Icon::Critical, QStringLiteral("Error : Not a valid IP Octet 4."), d.refusal);
        setEditable(txtBilangan, true);
        txtBilangan->setFocus();
        return;
    }
    inUse_ = echoCheck(address);
    sequence_ = sequenceCode(d.sequence.number);
    if (!d.sequence.equipmentPart.isEmpty()) cascade_.setEquipmentCode(d.sequence.equipmentPart);
    offerCandidate(false);
}

void frmZorvaMain::offerCandidate(bool inBatch) {
    refreshPreviews();
    if (dedicatedMode()) txtlblIPAddress->setText(cascade_.prefix() + txtBilangan->text());
    cmdSave->setEnabled(true);
    cmdBatal->setEnabled(true);
    cmdTutup->setEnabled(true);
    details->txtIPAddress->setText(txtlblIPAddress->text());
    details->offerStatus();
    // The status kept for the rest of a batch is not lost to the offer's default.
    if (inBatch && batch_.same) details->cboStatus->setCurrentText(batch_.remembered.status);
    // A borrowed range keeps the name of the equipment whose range was full.
    const bool borrowed = !appState().gOwnRange && !isNetworkEntry(cboEquipment->currentText());
    details->txtNamaPeralatan->setText(borrowed && !inUse_ ? namaAlat : cboEquipment->currentText());
    details->txtKodPeralatan->setText(txtlblNamingConvention->text());
    details->txtWorkGroup->setText(cascade_.segmented() ? QStringLiteral("Segment")
                                                        : cboWorkGroup->currentText());
    lockCascade();
    counted_ = inBatch && batch_.countOffer(txtBilangan->text(), inUse_);
    if (counted_) {
        lblRekodKe->show();
        lblBilangan->show();
        lblBilangan->setStyleSheet(QStringLiteral("color: blue"));
        lblBilangan->setText(QString::number(batch_.counter));
    }
    suggestedHostName_ = details->txtKodPeralatan->text();
    appState().gOwnRange = true;
    if (isEditable(details->txtProject)) details->txtProject->setFocus();
    if (keepTyped_) {
        details->putTyped(*keepTyped_);
        keepTyped_.reset();
    }
    if (inBatch && batch_.autoSave) cmdSave_Click();
}

// ---- saving

void frmZorvaMain::cmdSave_Click() {
    details->PicUnitDivision->hide();
    const QString name = details->txtKodPeralatan->text();
    if (name != suggestedHostName_) {
        QString error;
        const QString taken = addressWithName(database(&error), name, &error);
        if (!error.isEmpty()) return showDbError(error);
        if (!taken.isEmpty()) {
            ui().beep();
            ui().message(this, Icon::Information, QStringLiteral("Duplicate Hostname"),
                         name + QStringLiteral(" - Duplicate hostname with IP ") + taken + QStringLiteral("!"));
            SSTab1->setCurrentIndex(0);
            details->txtKodPeralatan->setFocus();
            return;
        }
    }
    if (batch_.autoSave) {
        cmdSave->setEnabled(false);
        cmdBatal->setText(kStop);
        cmdBatal->setEnabled(true);
        cmdTutup->setEnabled(false);
    } else if (ui().message(this, Icon::Question, QStringLiteral("Save Record"),
                            QStringLiteral("Save record to Zorva database ?"),
                            Button::Ok | Button::Cancel) != Button::Ok) {
        return;
    }
    if (saveRecord()) afterSave();
}

bool frmZorvaMain::saveRecord() {
    AssignRecord r;
    details->fillRecord(r);
    r.ip4 = octet4_;
    r.region = cascade_.area();
    if (!cboState->isHidden()) r.stateOwner = cboState->currentText();
    r.cityOwner = cascade_.city();
    r.inputBy = appState().gUserName;
    QString error;
    CursorGuard wait;
    switch (saveAssignment(database(&error), r, &error)) {
    case SaveOutcome::AddressTaken:
        reofferAfterConflict(r.address);
        return false;
    case SaveOutcome::Failed:
        showDbError(error);
        stopAutoSave();
        return false;
    case SaveOutcome::Saved:
        break;
    }
    session().announce(savedText(++savedInBatch_, r.address));
    lblJumlah->setText(QStringLiteral("Total Records : "));
    const AppState& s = appState();
    if (showListing({s.gOctet4Start, s.gOctet4End}, false) && gridData->rowCount() > 0)
        gridData->setCurrentCell(gridData->rowCount() - 1, 0);
    if (!appendAssignLog(assignLogEntry(details->logFields(), QDateTime::currentDateTime())))
        ui().message(this, Icon::Information, QStringLiteral("Error !!!"),
                     QStringLiteral("Error !!! No info available ... "));
    return true;
}

void frmZorvaMain::afterSave() {
    const bool dedicated = dedicatedMode();
    const int remaining = batch_.size - 1;
    auto ask = [this](const QString& title, const QString& text) {
        return ui().message(this, Icon::Question, title, text, Button::Yes | Button::No,
                            Button::Yes) == Button::Yes;
    };
    if (batch_.nextQuestion(dedicated) == AssignBatch::Question::SameDetails)
        batch_.answerSameDetails(ask(QStringLiteral("Confirmation"), AssignBatch::sameDetailsText(remaining)),
                                 details->shared());
    if (batch_.nextQuestion(dedicated) == AssignBatch::Question::AutoSave)
        batch_.answerAutoSave(ask(QStringLiteral("Auto-Save"), AssignBatch::autoSaveText(remaining)),
                              details->shared());
    if (batch_.complete(txtBilangan->text())) {
        endOfBatch();
    } else {
        lblRekodKe->show();
        lblBilangan->show();
        if (!dedicated) {
            lblBilangan->clear();
            // The next candidate from the event loop: "Stop" is seen between two saves and the
            // stack does not grow with the batch.
            chain_->post([this] { cboEquipment_Click(); });
        }
    }
    if (dedicated) {
        unlockCascade();
        details->disableDetails();
        details->resetDetails();
        cmdSave->setEnabled(false);
        cmdBatal->setEnabled(false);
        lblRekodKe->hide();
        lblBilangan->hide();
        savedInBatch_ = 0;
    }
}

void frmZorvaMain::endOfBatch() {
    unlockCascade();
    details->disableDetails();
    details->resetDetails();
    cmdSave->setEnabled(false);
    cmdBatal->setEnabled(false);
    cmdTutup->setEnabled(true);
    lblRekodKe->hide();
    lblBilangan->hide();
    batch_.counter = 0;
    savedInBatch_ = 0;
    if (cboEquipment->count() > 1 && cityRangeListed()) putCityRangeEntry();
    // A finished auto-saved batch leaves the form as after Cancel.
    if (cmdBatal->text() == kStop) cmdBatal_Click();
}

void frmZorvaMain::reofferAfterConflict(const QString& address) {
    ui().message(this, Icon::Warning, QStringLiteral("Error !!!"),
                 QStringLiteral("IP Address ") + address +
                     QStringLiteral(" has just been recorded by another user. It was not saved; "
                                    "the next free IP Address is offered."));
    keepTyped_ = details->typed(suggestedHostName_);
    if (counted_) --batch_.counter;
    counted_ = false;
    if (scanMode()) return scanSide().equipmentChosen(); // the scan goes on past it
    if (!dedicatedMode()) {
        newModeStep();
        return;
    }
    // Dedicated: another octet 4 is wanted; what was typed waits for its offer.
    cmdSave->setEnabled(false);
    unlockCascade();
    txtBilangan->setFocus();
}

void frmZorvaMain::stopAutoSave() {
    batch_.autoSave = false;
    chain_->stop();
    if (cmdBatal->text() == kStop) cmdBatal->setText(kCancel);
    cmdSave->setEnabled(true);
    cmdTutup->setEnabled(true);
}

void frmZorvaMain::showDbError(const QString& text) {
    ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), text);
}

void frmZorvaMain::cmdBatal_Click() {
    details->PicUnitDivision->hide();
    unlockCascade();
    if (cityRangeListed())
        putCityRangeEntry();
    else
        loadEquipmentList();
    details->disableDetails();
    details->resetDetails();
    cmdSave->setEnabled(false);
    lblRekodKe->hide();
    lblBilangan->hide();
    cmdBatal->setEnabled(false);
    cmdTutup->setEnabled(true);
    i = 0;
    StartRange = 999;
    batch_.cancel(txtBilangan->text());
    savedInBatch_ = 0;
    keepTyped_.reset();
    chain_->stop();
    if (cmdBatal->text() == kStop) {
        Berhenti = true;
        if (scan_) scan_->stop();
        cmdBatal->setText(kCancel);
    }
}

// ---- unit / division

UnitPlace frmZorvaMain::unitPlace() const {
    // No state in a segmented area: the units are filed without one.
    return {cascade_.area(), cboState->isHidden() ? QString() : cboState->currentText(),
            cascade_.city()};
}

void frmZorvaMain::SSTab1_Click(int tab) {
    if (!cmdSave->isEnabled()) return;
    details->PicUnitDivision->show();
    if (tab != 1) return;
    const QString remembered = details->cboUnitDivision->currentText();
    fillBox(details->cboUnitDivision, unitsOfPlace(this, unitPlace()));
    const int index = details->cboUnitDivision->findText(remembered);
    if (!remembered.isEmpty() && index >= 0)
        details->cboUnitDivision->setCurrentIndex(index);
    else
        details->clearPostal();
}

void frmZorvaMain::cboUnitDivision_Click() {
    const QString unit = details->cboUnitDivision->currentText();
    if (unit.isEmpty()) return;
    if (const auto p = unitPostal(this, unit, unitPlace())) details->showPostal(*p);
}

void frmZorvaMain::PicUnitDivision_Click() {
    if (!cmdSave->isEnabled()) return;
    frmUnitDivision directory(this);
    directory.caller.fromAssignment = true;
    directory.caller.area = cascade_.area();
    directory.caller.hasState = !cboState->isHidden();
    directory.caller.state = directory.caller.hasState ? cboState->currentText() : QString();
    directory.caller.city = cascade_.city();
    directory.caller.refresh = [this] { SSTab1_Click(1); };
    ui().showModal(directory);
}

} // namespace zorva

#pragma once
// frmZorvaMain in scan mode: the equipment step walks the range for live addresses that
// nobody recorded (ScanWalk) and offers each one for saving.
#include "assign/ScanWalk.h"

#include <QObject>

namespace zorva {

class frmZorvaMain;

class ScanSide : public QObject, public ScanHost {
    Q_OBJECT
public:
    explicit ScanSide(frmZorvaMain& form);
    ~ScanSide() override;

    // cboEquipment_Click in scan mode.
    void equipmentChosen();
    // Cancel while the button reads "Stop".
    void stop() { walk_->requestStop(); }
    ScanWalk& walk() { return *walk_; }

    // ScanHost
    void scanShowAddress(const QString& address) override;
    void scanShowProgress(const QString& text) override { showScanning(text); }
    bool scanAskProceed() override;
    void scanOffer(int octet4) override { scanStep(octet4); }
    void scanFinished(bool allRecorded) override;

private:
    void scanNetwork();
    // The live address the walk stopped at: the in-use window, then the offer.
    void scanStep(int octet4);
    void showScanning(const QString& text);
    // The arrow-with-hourglass pointer of a running scan.
    void setBusy(bool on);
    // "Stop" enabled, Save and Close disabled, the busy pointer: the walk is under way.
    void scanningButtons();
    // The scan is over: back to choosing.
    void choosingAgain();

    frmZorvaMain& f_;
    ScanWalk* walk_;
    bool busy_ = false;
    bool chosenMeanwhile_ = false; // an entry chosen while a stopped walk wound down
};

} // namespace zorva

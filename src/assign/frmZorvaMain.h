#pragma once
#include "assign/AssignBatch.h"
#include "assign/AssignDetails.h"
#include "assign/FreeAddress.h"
#include "assign/ScanWalk.h"
#include "plan/LocationCascade.h"
#include "platform/FormBase.h"
#include "records/frmIPAddGuna.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace zorva {

// The assignment form: the walk down the address plan, the free address of the chosen range,
// and saving it with its user details, in new and dedicated mode (scanFlag and dedicatedFlag,
// set by the main window before it shows or brings forward the form). The rules live in the
// plain modules beside it; the handlers read the controls, call them and write the controls.
class ScanSide;

class frmZorvaMain : public FormBase, public AddressInUseCaller, public ScanPosition {
    Q_OBJECT
public:
    explicit frmZorvaMain(QWidget* parent = nullptr);

    // The mode of the last opening or bringing forward.
    static bool scanMode();
    static bool dedicatedMode();

    // cascade
    QLabel* lblRegion;
    QComboBox* cboRegion;
    QLabel* lblState;
    QComboBox* cboState;
    QLabel* lblCity;
    QComboBox* cboCity;
    QLabel* lblWorkGroup;
    QComboBox* cboWorkGroup;
    QLineEdit* txtSegment;
    QComboBox* cboEquipment;
    QLabel* lblTotalRequired;
    QLineEdit* txtBilangan;
    QLineEdit* txtlblIPAddress;
    QLineEdit* txtlblNamingConvention;
    // tabs, list and buttons
    QTabWidget* SSTab1;
    QTableWidget* gridData;
    QLabel* lblJumlah;
    QLabel* lblRekodKe;
    QLabel* lblBilangan;
    QPushButton* cmdSave;
    QPushButton* cmdBatal;
    QPushButton* cmdTutup;
    AssignDetails* details;

    // Scan position and start (the scan-range dialog writes them), stop request: i,
    // StartRange and Berhenti of ScanPosition.
    QString namaAlat;
    QString namaAlatFirst;

    const AssignBatch& batch() const { return batch_; }
    const LocationCascade& cascade() const { return cascade_; }

    // AddressInUseCaller
    void markAddressInUse() override;
    void takeLiveInfo(const QString& lanId, const QString& remarks) override;

public slots:
    void cboRegion_Click();
    void cboState_Click();
    void cboCity_Click();
    void cboWorkGroup_Click();
    void txtSegment_Change();
    void txtBilangan_Change();
    void cboEquipment_Click();
    void cmdSave_Click();
    void cmdBatal_Click();
    void cmdTutup_Click();
    void SSTab1_Click(int tab);
    void cboUnitDivision_Click();
    void PicUnitDivision_Click();

protected:
    void Form_Load() override;

private:
    friend class ScanSide; // the scan mode, in frmZorvaMainScan.cpp
    ScanSide& scanSide();
    ScanSide* scan_ = nullptr;

    void buildUi();
    QWidget* buildCascade();
    // cascade
    void loadEquipmentList();
    void loadWorkgroupList();
    void afterCascadeStep();
    void putCityRangeEntry();
    bool cityRangeListed() const;
    void refreshPreviews();
    bool cascadeChecks();
    void lockCascade();
    void unlockCascade();
    bool segmentShown() const;
    // finding and offering
    void newModeStep();
    void dedicatedStep();
    bool prepareSearch(const QString& totalCaption);
    std::optional<QList<ListedAddress>> showListing(OctetRange range, bool withCounts);
    bool echoCheck(const QString& address);
    void offerCandidate(bool countInBatch);
    void chooseEquipment(const QString& name);
    // saving
    bool saveRecord();
    void afterSave();
    void endOfBatch();
    void reofferAfterConflict(const QString& address);
    void stopAutoSave();
    void showDbError(const QString& text);
    // The place whose units the unit list offers.
    UnitPlace unitPlace() const;

    LocationCascade cascade_;
    AssignBatch batch_;
    StepChain* chain_;
    int octet4_ = 0;
    QString sequence_ = QStringLiteral("0");
    QString suggestedHostName_;
    bool inUse_ = false;
    bool counted_ = false; // the candidate on the form took a batch position
    int savedInBatch_ = 0; // addresses saved since the batch began, for the status bar
    QString lastSegment_, lastCount_;
    std::optional<AssignDetails::Typed> keepTyped_;
};

} // namespace zorva

#pragma once
#include "plan/LocationCascade.h"
#include "platform/FormBase.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

struct LocationReportInput;

// "Zorva : Report by Location": a place of the address plan walked down to its network prefix,
// then an equipment type ("ALL" for every type) prints the addresses of that prefix with the
// columns chosen in the report format.
class frmRptByLocation : public FormBase {
    Q_OBJECT
public:
    explicit frmRptByLocation(QWidget* parent = nullptr);

    QLabel* lblRegion = nullptr;
    QComboBox* cboRegion = nullptr;
    QLabel* lblState = nullptr;
    QComboBox* cboState = nullptr;
    QLabel* lblCity = nullptr;
    QComboBox* cboCity = nullptr;
    QLabel* lblWorkGroup = nullptr;
    QComboBox* cboWorkGroup = nullptr;
    QLineEdit* txtSegment = nullptr;
    QLabel* lblEquipment = nullptr;
    QComboBox* cboEquipment = nullptr;
    QLabel* lblIPOctet = nullptr;
    QLineEdit* txtTajukLaporan = nullptr;
    QComboBox* cboLajur2 = nullptr;
    QComboBox* cboLajur4 = nullptr;
    QComboBox* cboLajur5 = nullptr;
    QPushButton* cmdButtonClose = nullptr;

    const LocationCascade& cascade() const { return cascade_; }

public slots:
    void cboRegion_Click();
    void cboState_Click();
    void cboCity_Click();
    void cboWorkGroup_Click();
    void txtSegment_Change();
    void txtSegment_Enter();
    void cboEquipment_Click();
    void cmdButtonClose_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    QWidget* buildLocationFrame();
    QWidget* buildFormatFrame();
    // The work group row as a combo ("WorkGroup :") or as the segment box (with its caption).
    void showWorkgroupBox(bool combo, const QString& caption);
    void clearEquipment();
    void fillEquipment();
    void showPrefix(int knownOctets);
    LocationReportInput reportInput() const;

    LocationCascade cascade_;
};

} // namespace zorva

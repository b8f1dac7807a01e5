#pragma once
#include "plan/LocationCascade.h"
#include "plan/SettingsTab.h"

class QComboBox;
class QToolButton;

namespace zorva {

// The City tab: cities (or buildings) of a state, or directly of a segmented area. Its layout
// follows the chosen area: non-segmented (state box, "Offset :") or segmented (no state box,
// "IP Octet3 :", own octet-4 range). lblIPOctet previews the address prefix.
class CityTab : public SettingsTab {
    Q_OBJECT
public:
    explicit CityTab(QWidget* parent = nullptr);
    void load() override { loadCityTab(); }
    bool isSegmented() const { return isSegmented_; }

    QComboBox* cboRegionCity;
    QComboBox* cboStateCity;
    QLineEdit* txtKodNegeri;
    QListWidget* lstBandarCity;
    QLineEdit* txtBandar;
    QLineEdit* txtKodBandar;
    QLineEdit* txtIPOctet2;
    QLineEdit* txtOffset;
    QLineEdit* txtStartIPRange;
    QLineEdit* txtToIPRange;
    QLabel* lblRegionCity;
    QLabel* lblStateCity;
    QLabel* lblStateCode;
    QLabel* lblCity;
    QLabel* lblCityCode;
    QLabel* lblIPOctet2;
    QLabel* lblOffset;
    QLabel* lblIPOctet3;
    QLabel* lblIPRange;
    QLabel* lblIPTo;
    QLabel* lblIPOctet;
    QToolButton* pctOctet2List;
    QToolButton* pctOffsetList;

public slots:
    void loadCityTab();
    void cboRegionCity_Click();
    void cboStateCity_Click();
    void txtIPOctet2_Change();
    void txtOffset_Change();
    void txtIPOctet2_LostFocus();
    void txtKodBandar_LostFocus();
    void pctOctet2List_Click();
    void pctOffsetList_Click();
    void lblIPOctet2_Click();
    void lblOffset_Click();
    void lblIPOctet3_Click();
    void lblIPRange_Click();

protected:
    void lockPlace(bool editing) override;

private:
    void buildUi();
    void setSegmentedLayout(bool segmented);
    void refreshPreview();
    void fillList();
    void hidePickers();
    QVariant showRow(const QString& name);
    bool check();
    bool checkOctets();
    Written write(bool isNew, const QVariant& key);
    QString area() const;

    LocationCascade cascade_{PlanQueries(this)};
    bool isSegmented_ = false;
    QString prefixOctet1, prefixOctet2, prefixOctet3;
};

} // namespace zorva

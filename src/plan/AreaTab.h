#pragma once
#include "plan/SettingsTab.h"

class QRadioButton;

namespace zorva {

// The Area tab: the Region table (area name, octet 1, segmented or not, segment code).
class AreaTab : public SettingsTab {
    Q_OBJECT
public:
    explicit AreaTab(QWidget* parent = nullptr);
    void load() override { loadAreaTab(); }

    QLineEdit* txtRegionName;
    QLineEdit* txtIPOctet1;
    QRadioButton* OptYes;
    QRadioButton* OptNo;
    QLineEdit* txtSegmentCode;
    QLabel* lblRegionName;
    QLabel* lblIPOctet1;
    QLabel* lblSegment;
    QLabel* lblSegmentCode;
    QListWidget* LstRegion;

public slots:
    void loadAreaTab();
    void OptYes_Click();
    void OptNo_Click();

private:
    void showSegmentCode(bool shown);
    void fillList();
    QVariant showRow(const QString& name);
    bool check();
    Written write(bool isNew, const QVariant& key);
};

} // namespace zorva

#pragma once
#include "plan/SettingsTab.h"

namespace zorva {

// The Work Group tab: the global list of work groups (name, one-character code, the last
// digit of octet 3).
class WorkgroupTab : public SettingsTab {
    Q_OBJECT
public:
    explicit WorkgroupTab(QWidget* parent = nullptr);
    void load() override { loadWorkgroupTab(); }

    QListWidget* lstWorkgroup;
    QLineEdit* txtWorkgroupName;
    QLineEdit* txtWorkgroupCode;
    QLineEdit* txtWGOctet3;
    QLabel* lblWorkgroupName;
    QLabel* lblWorkgroupCode;
    QLabel* lblWorkgroupOctet3;

public slots:
    void loadWorkgroupTab();

private:
    void fillList();
    QVariant showRow(const QString& name);
    bool check();
};

} // namespace zorva

#pragma once
#include "plan/SettingsTab.h"

namespace zorva {

// The Equipment tab: the global list of equipment types (name, code of at most three
// characters, the octet-4 range in which their addresses are found).
class EquipmentTab : public SettingsTab {
    Q_OBJECT
public:
    explicit EquipmentTab(QWidget* parent = nullptr);
    void load() override { loadEquipmentTab(); }

    QListWidget* lstEquipment;
    QLineEdit* txtEquipmentName;
    QLineEdit* txtEquipmentCode;
    QLineEdit* txtOctet4Start;
    QLineEdit* txtOctet4End;
    QLabel* lblEquipmentName;
    QLabel* lblEquipmentCode;
    QLabel* lblOctet4Start;
    QLabel* lblOctet4End;

public slots:
    void loadEquipmentTab();

private:
    void fillList();
    QVariant showRow(const QString& name);
    bool check();
};

} // namespace zorva

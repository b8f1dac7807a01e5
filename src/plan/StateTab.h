#pragma once
#include "plan/SettingsTab.h"

class QComboBox;

namespace zorva {

// The State tab: the states of a non-segmented area (name and one-character code).
class StateTab : public SettingsTab {
    Q_OBJECT
public:
    explicit StateTab(QWidget* parent = nullptr);
    void load() override { loadStateTab(); }

    QComboBox* cboRegionState;
    QListWidget* lstState;
    QLineEdit* txtStateName;
    QLineEdit* txtStateCode;
    QLabel* lblRegionState;
    QLabel* lblStateName;
    QLabel* lblStateCode4State;

public slots:
    void loadStateTab();
    void cboRegionState_Click();

protected:
    void lockPlace(bool editing) override;

private:
    void fillList();
    QVariant showRow(const QString& name);
    bool check();
};

} // namespace zorva

#pragma once
#include "platform/FormBase.h"

#include <QList>

class QTabWidget;

namespace zorva {

class AreaTab;
class CityTab;
class EquipmentTab;
class StateTab;
class WorkgroupTab;
class SettingsTab;

// The address-plan settings: one tab per level of the plan. An area user (group "Kawasan")
// works only on the State and City tabs, inside the own area.
class frmIPAddressSettings : public FormBase {
    Q_OBJECT
public:
    explicit frmIPAddressSettings(QWidget* parent = nullptr);

    QTabWidget* SSTabSetting;
    AreaTab* areaTab;
    StateTab* stateTab;
    CityTab* cityTab;
    WorkgroupTab* workgroupTab;
    EquipmentTab* equipmentTab;

    // The tab pages by index.
    SettingsTab* tab(int index) const { return tabs_.value(index); }

public slots:
    void SSTabSetting_Click();
    void closeSettingsForm();

protected:
    void Form_Load() override;

private:
    void addTab(SettingsTab* tab, const QString& caption);
    // Editing locks every other tab; otherwise the group rule decides.
    void lockTabs(bool editing);

    QList<SettingsTab*> tabs_;
};

} // namespace zorva

#include "plan/frmIPAddressSettings.h"
#include "plan/AreaTab.h"
#include "plan/CityTab.h"
#include "plan/EquipmentTab.h"
#include "plan/StateTab.h"
#include "plan/WorkgroupTab.h"
#include "platform/Builders.h"
#include "platform/Session.h"

#include <QGroupBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zorva {

namespace {
constexpr int kStateTab = 1;
constexpr int kCityTab = 2;
} // namespace

frmIPAddressSettings::frmIPAddressSettings(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmIPAddressSettings"));
    setWindowTitle(QStringLiteral("IP Address Settings"));
    auto* layout = new QVBoxLayout(this);
    SSTabSetting = named<QTabWidget>("SSTabSetting", this);
    layout->addWidget(SSTabSetting);
    areaTab = new AreaTab;
    addTab(areaTab, QStringLiteral("Area"));
    stateTab = new StateTab;
    addTab(stateTab, QStringLiteral("State"));
    cityTab = new CityTab;
    addTab(cityTab, QStringLiteral("City"));
    workgroupTab = new WorkgroupTab;
    addTab(workgroupTab, QStringLiteral("Work Group"));
    equipmentTab = new EquipmentTab;
    addTab(equipmentTab, QStringLiteral("Equipment"));
    connect(SSTabSetting, &QTabWidget::currentChanged, this,
            &frmIPAddressSettings::SSTabSetting_Click);
    resize(760, 440);
}

void frmIPAddressSettings::addTab(SettingsTab* tab, const QString& caption) {
    tab->lockTabs = [this](bool editing) { lockTabs(editing); };
    tab->closeForm = [this] { closeSettingsForm(); };
    tabs_ << tab;
    SSTabSetting->addTab(tab, caption);
}

void frmIPAddressSettings::lockTabs(bool editing) {
    const int current = SSTabSetting->currentIndex();
    for (int i = 0; i < SSTabSetting->count(); ++i) {
        bool enabled = !session().isAreaUser() || i == kStateTab || i == kCityTab;
        if (editing) enabled = i == current;
        SSTabSetting->setTabEnabled(i, enabled);
    }
}

void frmIPAddressSettings::Form_Load() {
    {
        const QSignalBlocker block(SSTabSetting);
        SSTabSetting->setCurrentIndex(session().isAreaUser() ? kStateTab : 0);
    }
    lockTabs(false);
    SSTabSetting_Click();
}

void frmIPAddressSettings::SSTabSetting_Click() {
    SettingsTab* t = tab(SSTabSetting->currentIndex());
    if (!t) return;
    t->listFrame()->setTitle(t->nameCaption());
    t->load();
}

void frmIPAddressSettings::closeSettingsForm() { unload(); }

} // namespace zorva

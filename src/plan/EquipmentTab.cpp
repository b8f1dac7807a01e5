#include "plan/EquipmentTab.h"
#include "plan/PlanData.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace zorva {

EquipmentTab::EquipmentTab(QWidget* parent)
    : SettingsTab(QStringLiteral("FrameEquipment"), QStringLiteral("lstEquipment"), parent) {
    lstEquipment = list_;
    addLine(QStringLiteral("lblEquipmentName"), QStringLiteral("Equipment/Range :"),
            QStringLiteral("txtEquipmentName"))
        .into(lblEquipmentName, txtEquipmentName);
    addLine(QStringLiteral("lblEquipmentCode"), QStringLiteral("Equipment Code :"),
            QStringLiteral("txtEquipmentCode"))
        .into(lblEquipmentCode, txtEquipmentCode);
    addLine(QStringLiteral("lblOctet4Start"), QStringLiteral("Octet4 Start :"),
            QStringLiteral("txtOctet4Start"))
        .into(lblOctet4Start, txtOctet4Start);
    addLine(QStringLiteral("lblOctet4End"), QStringLiteral("Octet4 End :"),
            QStringLiteral("txtOctet4End"))
        .into(lblOctet4End, txtOctet4End);
    addDescription(QStringLiteral("lblDescEquipment"));
    attachCodeFilter(txtEquipmentCode, 3, [this] { return isEditable(txtEquipmentCode); });
    attachNumericFilter(txtOctet4Start, 255, 0, [this] { return isEditable(txtOctet4Start); });
    attachNumericFilter(txtOctet4End, 255, 0, [this] { return isEditable(txtOctet4End); });
    setHelp(txtEquipmentName, QStringLiteral("Equipment Name : "),
            QStringLiteral("Set equipment name."));
    setHelp(txtEquipmentCode, QStringLiteral("Equipment Code : "),
            QStringLiteral("Set unique equipment code. Maximum three character."));
    setHelp(txtOctet4Start, QStringLiteral("IP Octet4 Start : "),
            QStringLiteral("Set IP Octet4 start range (xxx.xxx.xxx.Octet4Start) for this equipment."));
    setHelp(txtOctet4End, QStringLiteral("IP Octet4 End :"),
            QStringLiteral("Set IP Octet4 end range (xxx.xxx.xxx.Octet4End) for this equipment."));

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) {
        return writeRow(this, QStringLiteral("Equipment"),
                        {{QStringLiteral("Eqp_name"), txtEquipmentName->text()},
                         {QStringLiteral("Eqp_code"), txtEquipmentCode->text()},
                         {QStringLiteral("Octet4_start"), txtOctet4Start->text().toInt()},
                         {QStringLiteral("Octet4_end"), txtOctet4End->text().toInt()}},
                        isNew, key);
    };
    h.erase = [this](const QVariant& key) {
        return deleteRow(this, QStringLiteral("Equipment"), key);
    };
    h.fillList = [this] { fillList(); };
    makeCycle(QStringLiteral("FrameOperasiEquipment"), QStringLiteral("FrameSimpanEquipment"),
              QStringLiteral("Equipment"), lblEquipmentName,
              {txtEquipmentName, txtEquipmentCode, txtOctet4Start, txtOctet4End}, std::move(h));
}

void EquipmentTab::fillList() {
    fillListFrom(QStringLiteral("SELECT * FROM Equipment Order By Eqp_name ASC"), {},
                 QStringLiteral("Eqp_name"));
}

void EquipmentTab::loadEquipmentTab() { loadGlobalList(); }

QVariant EquipmentTab::showRow(const QString& name) {
    return showColumns(QStringLiteral("Select rowid AS rid, * From Equipment Where Eqp_name = ?"),
                       {name},
                       {{txtEquipmentName, "Eqp_name"}, {txtEquipmentCode, "Eqp_code"},
                        {txtOctet4Start, "Octet4_start"}, {txtOctet4End, "Octet4_end"}});
}

bool EquipmentTab::check() {
    if (!checkNameAndChange(txtEquipmentName, lblEquipmentName) ||
        !checkFilled(txtEquipmentCode, lblEquipmentCode->text()) ||
        !checkFilled(txtOctet4Start, QStringLiteral("Octet 4 Start ...")) ||
        !checkFilled(txtOctet4End, QStringLiteral("Octet 4 End ...")))
        return false;
    {
        CursorGuard hourglass;
        if (!checkUnique(txtEquipmentName, lblEquipmentName,
                         QStringLiteral("SELECT * FROM Equipment Where Eqp_name = ? And rowid <> ?"),
                         {txtEquipmentName->text()}) ||
            !checkUnique(txtEquipmentCode, lblEquipmentCode,
                         QStringLiteral("SELECT * FROM Equipment Where Eqp_code = ? And rowid <> ?"),
                         {txtEquipmentCode->text()}))
            return false;
    }
    if (txtOctet4End->text().toInt() < txtOctet4Start->text().toInt()) {
        ui().beep();
        return cycle_->refuse(txtOctet4Start, Icon::Warning, QStringLiteral("Error"),
                              QStringLiteral("Octet 4 End should not less than Octet 4 Start ..."));
    }
    return true;
}

} // namespace zorva

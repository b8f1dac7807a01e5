#include "plan/WorkgroupTab.h"
#include "plan/PlanData.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace zorva {

WorkgroupTab::WorkgroupTab(QWidget* parent)
    : SettingsTab(QStringLiteral("FrameWorkgroup"), QStringLiteral("lstWorkgroup"), parent) {
    lstWorkgroup = list_;
    addLine(QStringLiteral("lblWorkgroupName"), QStringLiteral("Workgroup :"),
            QStringLiteral("txtWorkgroupName"))
        .into(lblWorkgroupName, txtWorkgroupName);
    addLine(QStringLiteral("lblWorkgroupCode"), QStringLiteral("Workgroup Code :"),
            QStringLiteral("txtWorkgroupCode"))
        .into(lblWorkgroupCode, txtWorkgroupCode);
    addLine(QStringLiteral("lblWorkgroupOctet3"), QStringLiteral("Octet3 end with :"),
            QStringLiteral("txtWGOctet3"))
        .into(lblWorkgroupOctet3, txtWGOctet3);
    txtWGOctet3->setPlaceholderText(QStringLiteral("( 0 to 9 only )"));
    txtWGOctet3->setToolTip(QStringLiteral("( 0 to 9 only )"));
    addDescription(QStringLiteral("lblDescWorkGroup"));
    attachCodeFilter(txtWorkgroupCode, 1, [this] { return isEditable(txtWorkgroupCode); });
    attachNumericFilter(txtWGOctet3, 9, 0, [this] { return isEditable(txtWGOctet3); });
    setHelp(txtWorkgroupName, QStringLiteral("Work Group Name : "),
            QStringLiteral("Set Work Group/Site Name (for Regional LAN such as outlets, service "
                           "center, etc)."));
    setHelp(txtWorkgroupCode, QStringLiteral("Work Group Code : "),
            QStringLiteral("Set unique Work Group/Site Code. One character only."));
    setHelp(txtWGOctet3, QStringLiteral("IP Octet3 end with : "),
            QStringLiteral("Set the last digit of IP Octet3 (xxx.xxx.xxx?.xxx) to represent this "
                           "work group."));

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) {
        return writeRow(this, QStringLiteral("Workgroup"),
                        {{QStringLiteral("Workgroup_name"), txtWorkgroupName->text()},
                         {QStringLiteral("Workgroup_code"), txtWorkgroupCode->text()},
                         {QStringLiteral("Octet_3"), txtWGOctet3->text().toInt()}},
                        isNew, key);
    };
    h.erase = [this](const QVariant& key) {
        return deleteRow(this, QStringLiteral("Workgroup"), key);
    };
    h.fillList = [this] { fillList(); };
    makeCycle(QStringLiteral("FrameOperasiWorkgroup"), QStringLiteral("FrameSimpanWorkgroup"),
              QStringLiteral("Workgroup"), lblWorkgroupName,
              {txtWorkgroupName, txtWorkgroupCode, txtWGOctet3}, std::move(h));
}

void WorkgroupTab::fillList() {
    fillListFrom(QStringLiteral("SELECT * FROM Workgroup Order By Workgroup_name ASC"), {},
                 QStringLiteral("Workgroup_name"));
}

void WorkgroupTab::loadWorkgroupTab() { loadGlobalList(); }

QVariant WorkgroupTab::showRow(const QString& name) {
    return showColumns(
        QStringLiteral("Select rowid AS rid, * From Workgroup Where Workgroup_name = ?"), {name},
        {{txtWorkgroupName, "Workgroup_name"}, {txtWorkgroupCode, "Workgroup_code"},
         {txtWGOctet3, "Octet_3"}});
}

bool WorkgroupTab::check() {
    if (!checkNameAndChange(txtWorkgroupName, lblWorkgroupName) ||
        !checkFilled(txtWorkgroupCode, lblWorkgroupCode->text()) ||
        !checkFilled(txtWGOctet3, QStringLiteral("IP Octet 3 end with ...")))
        return false;
    CursorGuard hourglass;
    return checkUnique(txtWorkgroupName, lblWorkgroupName,
                       QStringLiteral("SELECT * FROM Workgroup Where Workgroup_name = ? And rowid <> ?"),
                       {txtWorkgroupName->text()}) &&
           checkUnique(txtWorkgroupCode, lblWorkgroupCode,
                       QStringLiteral("SELECT * FROM Workgroup Where Workgroup_code = ? And rowid <> ?"),
                       {txtWorkgroupCode->text()}) &&
           checkUnique(txtWGOctet3, lblWorkgroupOctet3,
                       QStringLiteral("SELECT * FROM Workgroup Where Octet_3 = ? And rowid <> ?"),
                       {txtWGOctet3->text().toInt()});
}

} // namespace zorva

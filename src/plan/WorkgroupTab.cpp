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
    txtWorkgroupName = addLine(QStringLiteral("lblWorkgroupName"), QStringLiteral("Workgroup :"),
                               QStringLiteral("txtWorkgroupName"));
    lblWorkgroupName = findChild<QLabel*>(QStringLiteral("lblWorkgroupName"));
    txtWorkgroupCode = addLine(QStringLiteral("lblWorkgroupCode"),
                               QStringLiteral("Workgroup Code :"), QStringLiteral("txtWorkgroupCode"));
    lblWorkgroupCode = findChild<QLabel*>(QStringLiteral("lblWorkgroupCode"));
    txtWGOctet3 = addLine(QStringLiteral("lblWorkgroupOctet3"), QStringLiteral("Octet3 end with :"),
                          QStringLiteral("txtWGOctet3"));
    lblWorkgroupOctet3 = findChild<QLabel*>(QStringLiteral("lblWorkgroupOctet3"));
    txtWGOctet3->setPlaceholderText(QStringLiteral("( 0 to 9 only )"));
    txtWGOctet3->setToolTip(QStringLiteral("( 0 to 9 only )"));
    addDescription(QStringLiteral("lblDescWorkGroup"));
    attachCodeFilter(txtWorkgroupCode, 1, [this] { return txtWorkgroupCode->isEnabled(); });
    attachNumericFilter(txtWGOctet3, 9, 0, [this] { return txtWGOctet3->isEnabled(); });
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
    lstWorkgroup->clear();
    lstWorkgroup->addItems(columnValues(
        this, QStringLiteral("SELECT * FROM Workgroup Order By Workgroup_name ASC"), {},
        QStringLiteral("Workgroup_name")));
}

void WorkgroupTab::loadWorkgroupTab() {
    cycle_->clearFields();
    description_->clear();
    fillList();
    cycle_->browse();
    cycle_->setAddEnabled(true);
    if (lockTabs) lockTabs(false);
}

QVariant WorkgroupTab::showRow(const QString& name) {
    auto row = firstRow(this,
                        QStringLiteral("Select rowid AS rid, * From Workgroup Where Workgroup_name = ?"),
                        {name});
    if (!row) return {};
    txtWorkgroupName->setText(row->value(QStringLiteral("Workgroup_name")).toString());
    txtWorkgroupCode->setText(row->value(QStringLiteral("Workgroup_code")).toString());
    txtWGOctet3->setText(row->value(QStringLiteral("Octet_3")).toString());
    return row->value(QStringLiteral("rid"));
}

bool WorkgroupTab::check() {
    if (txtWorkgroupName->text().isEmpty())
        return cycle_->refuse(txtWorkgroupName, Icon::Warning, QStringLiteral("Error !"),
                              pleaseEnter(lblWorkgroupName));
    if (cycle_->unchanged())
        return cycle_->refuse(txtWorkgroupName, Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Record not changed !"));
    if (txtWorkgroupCode->text().isEmpty())
        return cycle_->refuse(txtWorkgroupCode, Icon::Warning, QStringLiteral("Error !!!"),
                              pleaseEnter(lblWorkgroupCode));
    if (txtWGOctet3->text().isEmpty())
        return cycle_->refuse(txtWGOctet3, Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Please enter IP Octet 3 end with ... !"));
    CursorGuard hourglass;
    const QVariant self = selfKey(cycle_);
    struct Unique {
        QLineEdit* box;
        QLabel* label;
        const char* column;
        QVariant value;
    };
    const Unique uniques[] = {
        {txtWorkgroupName, lblWorkgroupName, "Workgroup_name", txtWorkgroupName->text()},
        {txtWorkgroupCode, lblWorkgroupCode, "Workgroup_code", txtWorkgroupCode->text()},
        {txtWGOctet3, lblWorkgroupOctet3, "Octet_3", txtWGOctet3->text().toInt()},
    };
    for (const Unique& u : uniques) {
        if ((cycle_->isNewRecord() || cycle_->changed(u.box)) &&
            rowExists(this,
                      QStringLiteral("SELECT * FROM Workgroup Where %1 = ? And rowid <> ?")
                          .arg(QLatin1String(u.column)),
                      {u.value, self}))
            return cycle_->refuse(u.box, Icon::Warning, QStringLiteral("Error"),
                                  alreadyExists(u.label));
    }
    return true;
}

} // namespace zorva

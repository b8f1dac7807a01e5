#include "plan/StateTab.h"
#include "plan/PlanData.h"
#include "platform/AppState.h"
#include "platform/Input.h"
#include "platform/Rows.h"
#include "platform/Shell.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace zorva {

StateTab::StateTab(QWidget* parent)
    : SettingsTab(QStringLiteral("FrameState"), QStringLiteral("lstState"), parent) {
    lstState = list_;
    cboRegionState = new QComboBox;
    lblRegionState = addField(QStringLiteral("lblRegionState"), QStringLiteral("Area :"),
                              cboRegionState, QStringLiteral("cboRegionState"), true);
    txtStateName = addLine(QStringLiteral("lblStateName"), QStringLiteral("State Name :"),
                           QStringLiteral("txtStateName"));
    lblStateName = findChild<QLabel*>(QStringLiteral("lblStateName"));
    txtStateCode = addLine(QStringLiteral("lblStateCode4State"), QStringLiteral("State Code :"),
                           QStringLiteral("txtStateCode"));
    lblStateCode4State = findChild<QLabel*>(QStringLiteral("lblStateCode4State"));
    addDescription(QStringLiteral("lblDescState"));
    attachCodeFilter(txtStateCode, 1, [this] { return txtStateCode->isEnabled(); });
    setHelp(txtStateName, QStringLiteral("State Name : "),
            QStringLiteral("Set State Name (for Regional LAN)."));
    setHelp(txtStateCode, QStringLiteral("State Code : "),
            QStringLiteral("Set State Code. One character only"));
    connect(cboRegionState, &QComboBox::currentIndexChanged, this, &StateTab::cboRegionState_Click);

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& name) { return showRow(name); };
    h.check = [this] { return check(); };
    h.write = [this](bool isNew, const QVariant& key) {
        return writeRow(this, QStringLiteral("State"),
                        {{QStringLiteral("State_name"), txtStateName->text()},
                         {QStringLiteral("Abbr_state"), txtStateCode->text()},
                         {QStringLiteral("Region"), cboRegionState->currentText()}},
                        isNew, key);
    };
    h.erase = [this](const QVariant& key) { return deleteRow(this, QStringLiteral("State"), key); };
    h.fillList = [this] { fillList(); };
    makeCycle(QStringLiteral("FrameOperasiState"), QStringLiteral("FrameSimpanState"),
              QStringLiteral("State"), lblStateName, {txtStateName, txtStateCode}, std::move(h));
}

void StateTab::loadStateTab() {
    {
        const QSignalBlocker block(cboRegionState);
        cboRegionState->clear();
    }
    lstState->clear();
    cycle_->clearFields();
    cycle_->browse();
    cycle_->setAddEnabled(false);
    if (lockTabs) lockTabs(false);
    fillAreaBox(this, cboRegionState, AreaKind::NonSegmented);
}

void StateTab::cboRegionState_Click() {
    if (!cboRegionState->currentText().isEmpty()) {
        cycle_->clearFields();
        cycle_->browse();
        fillList();
    }
    lstState->setEnabled(true);
    cycle_->setAddEnabled(true);
}

void StateTab::lockPlace(bool editing) { cboRegionState->setEnabled(!editing); }

void StateTab::fillList() {
    lstState->clear();
    lstState->addItems(columnValues(
        this, QStringLiteral("SELECT * FROM State Where Region = ? Order By State_name ASC"),
        {cboRegionState->currentText()}, QStringLiteral("State_name")));
}

QVariant StateTab::showRow(const QString& name) {
    auto row = firstRow(
        this, QStringLiteral("Select rowid AS rid, * From State Where State_name = ? And Region = ?"),
        {name, cboRegionState->currentText()});
    if (!row) return {};
    txtStateName->setText(row->value(QStringLiteral("State_name")).toString());
    txtStateCode->setText(row->value(QStringLiteral("Abbr_state")).toString());
    return row->value(QStringLiteral("rid"));
}

bool StateTab::check() {
    const QString name = txtStateName->text();
    const QString code = txtStateCode->text();
    const QString area = cboRegionState->currentText();
    if (name.isEmpty())
        return cycle_->refuse(txtStateName, Icon::Warning, QStringLiteral("Error !"),
                              pleaseEnter(lblStateName));
    if (cycle_->unchanged())
        return cycle_->refuse(txtStateName, Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Record not changed !"));
    if (code.isEmpty())
        return cycle_->refuse(txtStateCode, Icon::Warning, QStringLiteral("Error !!!"),
                              pleaseEnter(lblStateCode4State));
    CursorGuard hourglass;
    const QVariant self = selfKey(cycle_);
    if ((cycle_->isNewRecord() || cycle_->changed(txtStateCode)) &&
        rowExists(this,
                  QStringLiteral("SELECT * FROM State Where Abbr_state = ? And Region = ? "
                                 "And rowid <> ?"),
                  {code, area, self}))
        return cycle_->refuse(txtStateCode, Icon::Warning, QStringLiteral("Error"),
                              alreadyExists(lblStateCode4State));
    if ((cycle_->isNewRecord() || cycle_->changed(txtStateName)) &&
        rowExists(this,
                  QStringLiteral("SELECT * FROM State Where State_name = ? And Region = ? "
                                 "And rowid <> ?"),
                  {name, area, self}))
        return cycle_->refuse(txtStateName, Icon::Warning, QStringLiteral("Error"),
                              alreadyExists(lblStateName));
    return true;
}

} // namespace zorva

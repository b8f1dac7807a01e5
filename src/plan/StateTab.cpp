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
    roomForNames({cboRegionState});
    addLine(QStringLiteral("lblStateName"), QStringLiteral("State Name :"),
            QStringLiteral("txtStateName"))
        .into(lblStateName, txtStateName);
    addLine(QStringLiteral("lblStateCode4State"), QStringLiteral("State Code :"),
            QStringLiteral("txtStateCode"))
        .into(lblStateCode4State, txtStateCode);
    addDescription(QStringLiteral("lblDescState"));
    attachCodeFilter(txtStateCode, 1, [this] { return isEditable(txtStateCode); });
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
    browseTab(false);
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
    fillListFrom(QStringLiteral("SELECT * FROM State Where Region = ? Order By State_name ASC"),
                 {cboRegionState->currentText()}, QStringLiteral("State_name"));
}

QVariant StateTab::showRow(const QString& name) {
    return showColumns(
        QStringLiteral("Select rowid AS rid, * From State Where State_name = ? And Region = ?"),
        {name, cboRegionState->currentText()},
        {{txtStateName, "State_name"}, {txtStateCode, "Abbr_state"}});
}

bool StateTab::check() {
    const QString area = cboRegionState->currentText();
    if (!checkNameAndChange(txtStateName, lblStateName) ||
        !checkFilled(txtStateCode, lblStateCode4State->text()))
        return false;
    CursorGuard hourglass;
    return checkUnique(txtStateCode, lblStateCode4State,
                       QStringLiteral("SELECT * FROM State Where Abbr_state = ? And Region = ? "
                                      "And rowid <> ?"),
                       {txtStateCode->text(), area}) &&
           checkUnique(txtStateName, lblStateName,
                       QStringLiteral("SELECT * FROM State Where State_name = ? And Region = ? "
                                      "And rowid <> ?"),
                       {txtStateName->text(), area});
}

} // namespace zorva

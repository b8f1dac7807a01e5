#include "plan/frmUnitDivision.h"
#include "plan/PlanData.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Input.h"
#include "platform/RecordCycle.h"
#include "platform/Rows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace zorva {

frmUnitDivision::frmUnitDivision(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmUnitDivision"));
    setWindowTitle(QStringLiteral("Unit / Division Setting"));
    buildUi();
    connect(this, &FormBase::unloaded, this, &frmUnitDivision::Form_Unload);
}

void frmUnitDivision::buildUi() {
    auto* outer = new QVBoxLayout(this);
    auto* place = new QGridLayout;
    outer->addLayout(place);
    const auto combo = [&](const char* boxName, const char* labelName, const QString& caption,
                           QComboBox*& box, QLabel*& label) {
        labelledRow(place, labelName, caption, named<QComboBox>(boxName, this)).into(label, box);
    };
    combo("cboRegion", "lblRegion", QStringLiteral("Area :"), cboRegion, lblRegion);
    combo("cboState", "lblState", QStringLiteral("State :"), cboState, lblState);
    combo("cboCity", "lblCity", QStringLiteral("City :"), cboCity, lblCity);
    roomForNames({cboRegion, cboState, cboCity});

    auto* middle = new QHBoxLayout;
    outer->addLayout(middle);
    auto* frame = new QGroupBox(QStringLiteral("Unit / Division"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    lstUnitDivision = named<QListWidget>("lstUnitDivision", frame);
    frameLayout->addWidget(lstUnitDivision);
    middle->addWidget(frame, 1);

    auto* fields = new QGridLayout;
    middle->addLayout(fields, 2);
    auto line = [this](const char* name) {
        auto* b = named<QLineEdit>(name, this);
        attachFocusMoves(b);
        return b;
    };
    // One box over both columns, or two boxes side by side.
    auto addRow = [&](const char* labelName, const QString& caption, QLineEdit* a, QLineEdit* b) {
        addLabelledRow(fields, labelName, caption, a, b ? 1 : 2);
        if (b) fields->addWidget(b, fields->rowCount() - 1, 2);
    };
    txtUnitDivision = line("txtUnitDivision");
    addRow("lblUnitDivision", QStringLiteral("Unit/Division :"), txtUnitDivision, nullptr);
    txtTingkat = line("txtTingkat");
    txtBangunan = line("txtBangunan");
    addRow("lblTingkatBangunan", QStringLiteral("Floor/Building :"), txtTingkat, txtBangunan);
    txtJalan = line("txtJalan");
    addRow("lblJalan", QStringLiteral("Street :"), txtJalan, nullptr);
    txtPoskod = line("txtPoskod");
    txtBandar = line("txtBandar");
    addRow("lblPoskodBandar", QStringLiteral("Postcode/City :"), txtPoskod, txtBandar);
    txtNegeri = line("txtNegeri");
    addRow("lblNegeri", QStringLiteral("State :"), txtNegeri, nullptr);
    fields->setRowStretch(fields->rowCount(), 1);

    RecordCycle::Widgets w = buildCycleFrames(lstUnitDivision, QStringLiteral("frameOperasi"),
                                              QStringLiteral("frameSimpan"), QString());
    outer->addLayout(buttonRow({w.operations, w.saving}));

    RecordCycle::Hooks h;
    h.showRow = [this](const QString& unit) { return showRow(unit); };
    h.check = [this] {
        if (!txtUnitDivision->text().isEmpty()) return true;
        return cycle_->refuse(txtUnitDivision, Icon::Warning, QStringLiteral("Error !"),
                              QStringLiteral("Please enter Unit / Division !"));
    };
    h.write = [this](bool isNew, const QVariant& key) { return write(isNew, key); };
    h.erase = [this](const QVariant& key) {
        return deleteRow(this, QStringLiteral("UnitDivision"), key);
    };
    h.fillList = [this] { fillList(); };
    h.closeForm = [this] { unload(); };
    h.lockForm = [this](bool editing) { lockPlace(editing); };
    h.afterAdd = [this] {
        txtBandar->setText(cboCity->currentText());
        txtNegeri->setText(stateApplies() ? cboState->currentText() : QString());
    };
    cycle_ = new RecordCycle(this,
                             w,
                             {txtUnitDivision, txtTingkat, txtBangunan, txtJalan, txtPoskod,
                              txtBandar, txtNegeri},
                             std::move(h));

    connect(cboRegion, &QComboBox::currentIndexChanged, this, &frmUnitDivision::cboRegion_Click);
    connect(cboState, &QComboBox::currentIndexChanged, this, &frmUnitDivision::cboState_Click);
    connect(cboCity, &QComboBox::currentIndexChanged, this, &frmUnitDivision::cboCity_Click);
    resize(640, 420);
}

bool frmUnitDivision::stateApplies() const { return !cboState->isHidden(); }

void frmUnitDivision::Form_Load() {
    cycle_->clearFields();
    cycle_->browse();
    cycle_->setAddEnabled(false);
    if (caller.fromCaller()) {
        // The caller's place, shown as chosen without running the choice handlers.
        fillBox(cboRegion, {caller.area});
        lblState->setVisible(caller.hasState);
        cboState->setVisible(caller.hasState);
        fillBox(cboState, caller.hasState ? QStringList{caller.state} : QStringList{});
        fillBox(cboCity, {caller.city});
        {
            const QSignalBlocker a(cboRegion), s(cboState), c(cboCity);
            cboRegion->setCurrentIndex(0);
            if (caller.hasState) cboState->setCurrentIndex(0);
            cboCity->setCurrentIndex(0);
        }
        lockPlace(true);
        fillList();
        cycle_->setAddEnabled(true);
        return;
    }
    // A user bound to one area gets only it, shown as chosen.
    fillBox(cboRegion, cascade_.areaChoices(), cascade_.boundToOneArea());
}

void frmUnitDivision::cboRegion_Click() {
    fillBox(cboState, {});
    fillBox(cboCity, {});
    lstUnitDivision->clear();
    cycle_->clearFields();
    cycle_->browse();
    cycle_->setAddEnabled(false);
    const bool found = cascade_.chooseArea(cboRegion->currentText());
    if (cascade_.area().isEmpty()) {
        fillBox(cboState, cascade_.states());
        return;
    }
    const bool segmented = found && cascade_.segmented();
    lblState->setVisible(!segmented);
    cboState->setVisible(!segmented);
    if (!segmented)
        fillBox(cboState, cascade_.states(), true);
    else
        fillBox(cboCity, cascade_.cities());
}

void frmUnitDivision::cboState_Click() {
    fillBox(cboCity, {});
    lstUnitDivision->clear();
    cycle_->clearFields();
    cycle_->browse();
    cycle_->setAddEnabled(false);
    if (cboState->currentText().isEmpty()) return;
    // Only the cities of this area: another area may use the same state code.
    if (cascade_.chooseState(cboState->currentText())) fillBox(cboCity, cascade_.cities());
}

void frmUnitDivision::cboCity_Click() {
    cycle_->clearFields();
    cycle_->browse();
    fillList();
    cycle_->setAddEnabled(!cboCity->currentText().isEmpty());
}

QString frmUnitDivision::placeCondition() const {
    return stateApplies() ? QStringLiteral("RegionOwner = ? And StateOwner = ? And CityOwner = ?")
                          : QStringLiteral("RegionOwner = ? And CityOwner = ?");
}

QVariantList frmUnitDivision::placeValues() const {
    if (stateApplies())
        return {cboRegion->currentText(), cboState->currentText(), cboCity->currentText()};
    return {cboRegion->currentText(), cboCity->currentText()};
}

void frmUnitDivision::fillList() {
    lstUnitDivision->clear();
    if (cboCity->currentText().isEmpty()) return;
    lstUnitDivision->addItems(
        columnValues(this,
                     QStringLiteral("Select * From UnitDivision Where ") + placeCondition() +
                         QStringLiteral(" Order By UnitDivision ASC"),
                     placeValues(), QStringLiteral("UnitDivision")));
}

QVariant frmUnitDivision::showRow(const QString& unit) {
    // Units may share a name: the line's position among its namesakes picks the row.
    int nth = 0;
    const int row = lstUnitDivision->currentRow();
    for (int i = 0; i < row; ++i)
        if (lstUnitDivision->item(i)->text() == unit) ++nth;
    auto q = runSqlOrReport(this,
                            QStringLiteral("Select rowid AS rid, * From UnitDivision Where "
                                           "UnitDivision = ? And ") +
                                placeCondition() +
                                QStringLiteral(" Order By UnitDivision ASC, rowid LIMIT 1 OFFSET ?"),
                            QVariantList{unit} + placeValues() + QVariantList{nth});
    if (!q || !q->next()) return {};
    const std::pair<QLineEdit*, const char*> columns[] = {
        {txtUnitDivision, "UnitDivision"}, {txtTingkat, "Floor"},   {txtBangunan, "Building"},
        {txtJalan, "Roadname"},            {txtPoskod, "Postcode"}, {txtBandar, "City"},
        {txtNegeri, "State"}};
    for (const auto& [box, column] : columns) box->setText(q->value(QLatin1String(column)).toString());
    return q->value(QStringLiteral("rid"));
}

Written frmUnitDivision::write(bool isNew, const QVariant& key) {
    Columns c{{QStringLiteral("UnitDivision"), txtUnitDivision->text()},
              {QStringLiteral("Floor"), txtTingkat->text()},
              {QStringLiteral("Building"), txtBangunan->text()},
              {QStringLiteral("Roadname"), txtJalan->text()},
              {QStringLiteral("Postcode"), txtPoskod->text()},
              {QStringLiteral("City"), txtBandar->text()},
              {QStringLiteral("State"), txtNegeri->text()},
              {QStringLiteral("RegionOwner"), cboRegion->currentText()},
              {QStringLiteral("CityOwner"), cboCity->currentText()}};
    if (stateApplies()) c.emplace_back(QStringLiteral("StateOwner"), cboState->currentText());
    return writeRow(this, QStringLiteral("UnitDivision"), c, isNew, key);
}

void frmUnitDivision::lockPlace(bool editing) {
    // A caller's place stays fixed.
    const bool enabled = !editing && !caller.fromCaller();
    cboRegion->setEnabled(enabled);
    cboState->setEnabled(enabled);
    cboCity->setEnabled(enabled);
}

void frmUnitDivision::Form_Unload() {
    if (caller.fromCaller() && caller.refresh) caller.refresh();
}

} // namespace zorva

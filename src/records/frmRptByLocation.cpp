#include "records/frmRptByLocation.h"
#include "plan/PlanData.h"
#include "platform/Builders.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "records/report/ReportPreview.h"
#include "records/rptByLocation.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QString kAll = QStringLiteral("ALL");

} // namespace

frmRptByLocation::frmRptByLocation(QWidget* parent)
    : FormBase(parent), cascade_(PlanQueries(this)) {
    setObjectName(QStringLiteral("frmRptByLocation"));
    setWindowTitle(QStringLiteral("Zorva : Report by Location"));
    buildUi();
}

void frmRptByLocation::buildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildLocationFrame());
    layout->addWidget(buildFormatFrame());
    addButtonRow(layout, this, {{&cmdButtonClose, "cmdButtonClose", "Close"}});

    connect(cboRegion, &QComboBox::currentIndexChanged, this, &frmRptByLocation::cboRegion_Click);
    connect(cboState, &QComboBox::currentIndexChanged, this, &frmRptByLocation::cboState_Click);
    connect(cboCity, &QComboBox::currentIndexChanged, this, &frmRptByLocation::cboCity_Click);
    connect(cboWorkGroup, &QComboBox::currentIndexChanged, this,
            &frmRptByLocation::cboWorkGroup_Click);
    // Every choice of an equipment prints, the same one again too.
    connect(cboEquipment, &QComboBox::activated, this, &frmRptByLocation::cboEquipment_Click);
    // A segment is an octet: other text goes back to the last number, with a beep.
    attachNumericFilter(txtSegment, 255);
    connect(txtSegment, &QLineEdit::textChanged, this, &frmRptByLocation::txtSegment_Change);
    attachFocusMoves(txtSegment, FocusMove::EnterNext, [this] { txtSegment_Enter(); });
    connect(cmdButtonClose, &QPushButton::clicked, this, &frmRptByLocation::cmdButtonClose_Click);
}

QWidget* frmRptByLocation::buildLocationFrame() {
    auto* frame = new QGroupBox(this);
    auto* form = new QFormLayout(frame);
    auto combo = [frame](const char* name) { return named<QComboBox>(name, frame); };
    auto caption = [frame](const char* name, const QString& text) {
        return named<QLabel>(name, text, frame);
    };
    lblRegion = caption("lblRegion", QStringLiteral("Area :"));
    cboRegion = combo("cboRegion");
    lblState = caption("lblState", QStringLiteral("State :"));
    cboState = combo("cboState");
    lblCity = caption("lblCity", QStringLiteral("City :"));
    cboCity = combo("cboCity");
    lblWorkGroup = caption("lblWorkGroup", QStringLiteral("WorkGroup :"));
    cboWorkGroup = combo("cboWorkGroup");
    txtSegment = named<QLineEdit>("txtSegment", frame);
    lblEquipment = caption("lblEquipment", QStringLiteral("Equipment :"));
    cboEquipment = combo("cboEquipment");
    roomForNames({cboRegion, cboState, cboCity, cboWorkGroup, cboEquipment});
    lblIPOctet = caption("lblIPOctet", QStringLiteral("IP: xxx.xxx.xxx.xxx"));
    auto* workgroupRow = new QHBoxLayout;
    workgroupRow->addWidget(cboWorkGroup);
    workgroupRow->addWidget(txtSegment);
    form->addRow(lblRegion, cboRegion);
    form->addRow(lblState, cboState);
    form->addRow(lblCity, cboCity);
    form->addRow(lblWorkGroup, workgroupRow);
    form->addRow(lblEquipment, cboEquipment);
    form->addRow(lblIPOctet);
    return frame;
}

QWidget* frmRptByLocation::buildFormatFrame() {
    auto* frame = new QGroupBox(QStringLiteral("[ Report Format ]"), this);
    auto* form = new QFormLayout(frame);
    txtTajukLaporan = named<QLineEdit>("txtTajukLaporan", QStringLiteral("REPORT BY LOCATION"), frame);
    auto choices = [frame](const char* name, const QStringList& items) {
        auto* box = named<QComboBox>(name, frame);
        box->addItems(items);
        return box;
    };
    cboLajur2 = choices("cboLajur2", {QStringLiteral("Hostname"), QStringLiteral("Type/Equipment")});
    cboLajur4 = choices("cboLajur4", {QStringLiteral("Type/Equipment"), QStringLiteral("Project"),
                                      QStringLiteral("Staff No.")});
    cboLajur5 = choices("cboLajur5", {QStringLiteral("Unit/Division"), QStringLiteral("Remarks")});
    form->addRow(QStringLiteral("Report Title :"), txtTajukLaporan);
    form->addRow(QStringLiteral("Column #1 :"), new QLabel(QStringLiteral("IP Address"), frame));
    form->addRow(QStringLiteral("Column #2 :"), cboLajur2);
    form->addRow(QStringLiteral("Column #3 :"), new QLabel(QStringLiteral("User Name"), frame));
    form->addRow(QStringLiteral("Column #4 :"), cboLajur4);
    form->addRow(QStringLiteral("Column #5 :"), cboLajur5);
    return frame;
}

void frmRptByLocation::Form_Load() {
    lblState->show();
    cboState->show();
    showWorkgroupBox(true, QStringLiteral("WorkGroup :"));
    txtSegment->clear();
    for (QComboBox* box : {cboState, cboCity, cboWorkGroup}) fillBox(box, {});
    clearEquipment();
    // A user bound to one area gets only it, shown as chosen.
    fillBox(cboRegion, cascade_.areaChoices(), cascade_.boundToOneArea());
}

void frmRptByLocation::showWorkgroupBox(bool combo, const QString& caption) {
    lblWorkGroup->setText(caption);
    cboWorkGroup->setVisible(combo);
    txtSegment->setVisible(!combo);
    setEditable(txtSegment, true);
}

void frmRptByLocation::clearEquipment() { fillBox(cboEquipment, {}); }

void frmRptByLocation::fillEquipment() {
    fillBox(cboEquipment, QStringList{kAll} + cascade_.equipment());
    showPrefix(3);
}

void frmRptByLocation::showPrefix(int knownOctets) {
    auto part = [knownOctets](int index, int octet) {
        return index <= knownOctets ? QString::number(octet) : QString();
    };
    lblIPOctet->setText(QStringLiteral("IP: ") +
                        prefixPreview(part(1, cascade_.octet1()), part(2, cascade_.octet2()),
                                      part(3, cascade_.octet3())));
}

void frmRptByLocation::cboRegion_Click() {
    fillBox(cboCity, {});
    fillBox(cboWorkGroup, {});
    clearEquipment();
    lblState->show();
    cboState->show();
    const bool found = cascade_.chooseArea(cboRegion->currentText());
    showPrefix(cascade_.area().isEmpty() ? 0 : 1);
    if (cascade_.area().isEmpty()) {
        fillBox(cboState, cascade_.states());
        return;
    }
    if (found && cascade_.segmented()) {
        txtSegment->clear();
        showWorkgroupBox(false, QStringLiteral("Segment :"));
        lblState->hide();
        cboState->hide();
        fillBox(cboState, {});
        fillBox(cboCity, cascade_.cities());
        return;
    }
    showWorkgroupBox(true, QStringLiteral("WorkGroup :"));
    QStringList states = cascade_.states();
    // An area without states of its own offers every state.
    if (states.isEmpty()) states = cascade_.queries().stateNames(QString());
    fillBox(cboState, states, true);
}

void frmRptByLocation::cboState_Click() {
    fillBox(cboCity, {});
    fillBox(cboWorkGroup, {});
    clearEquipment();
    if (cboState->currentText().isEmpty()) return;
    if (cascade_.chooseState(cboState->currentText())) fillBox(cboCity, cascade_.cities());
}

void frmRptByLocation::cboCity_Click() {
    clearEquipment();
    fillBox(cboWorkGroup, cascade_.workgroups());
    if (cascade_.segmented()) {
        const QSignalBlocker quiet(txtSegment);
        txtSegment->clear();
        showWorkgroupBox(false, QStringLiteral("Segment :"));
    }
    if (!cascade_.chooseCity(cboCity->currentText())) {
        showPrefix(1);
        return;
    }
    showPrefix(2);
    if (cascade_.segmented() && cascade_.octet3Fixed()) {
        // The city owns its octet 3: shown, not typed, and the equipment can be chosen.
        showWorkgroupBox(false, QStringLiteral("IP Octet 3 :"));
        {
            const QSignalBlocker quiet(txtSegment);
            txtSegment->setText(QString::number(cascade_.octet3()));
        }
        setEditable(txtSegment, false);
        fillEquipment();
    }
}

void frmRptByLocation::cboWorkGroup_Click() {
    clearEquipment();
    if (cboWorkGroup->currentText().isEmpty()) return;
    CursorGuard hourglass;
    if (cascade_.chooseWorkgroup(cboWorkGroup->currentText())) fillEquipment();
}

void frmRptByLocation::txtSegment_Change() {
    if (!isEditable(txtSegment) || txtSegment->text().isEmpty()) return;
    clearEquipment();
    cascade_.enterSegment(txtSegment->text().toInt());
    showPrefix(3);
}

void frmRptByLocation::txtSegment_Enter() {
    if (txtSegment->text().isEmpty()) {
        ui().message(this, Icon::Warning, QStringLiteral("Segment ?"),
                     QStringLiteral("Please enter Segment ... "));
        txtSegment->setFocus();
        return;
    }
    if (cascade_.city().isEmpty()) return;
    fillEquipment();
}

LocationReportInput frmRptByLocation::reportInput() const {
    LocationReportInput in;
    in.title = txtTajukLaporan->text();
    in.area = cboRegion->currentText();
    in.state = cboState->isHidden() ? QString() : cboState->currentText();
    in.city = cboCity->currentText();
    in.workGroup = cboWorkGroup->isHidden() ? QString() : cboWorkGroup->currentText();
    in.segment = txtSegment->isHidden() ? QString() : txtSegment->text();
    in.equipment = cboEquipment->currentText();
    in.column2 = cboLajur2->currentText();
    in.column4 = cboLajur4->currentText();
    in.column5 = cboLajur5->currentText();
    return in;
}

void frmRptByLocation::cboEquipment_Click() {
    if (cboEquipment->currentText().isEmpty()) return;
    std::optional<std::vector<QStringList>> rows;
    {
        CursorGuard hourglass;
        rows = locationRecords(this, cascade_.prefix(), cboEquipment->currentText());
    }
    if (!rows) return;
    if (rows->empty()) {
        ui().message(this, Icon::Information, QStringLiteral("Not Found"),
                     QStringLiteral("Record not found ..."));
        return;
    }
    report::showReport(this, rptByLocation(reportInput(), std::move(*rows)));
}

void frmRptByLocation::cmdButtonClose_Click() { unload(); }

} // namespace zorva

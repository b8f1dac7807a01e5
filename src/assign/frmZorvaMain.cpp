#include "assign/frmZorvaMain.h"
#include "assign/AssignParts.h"
#include "plan/PlanData.h"
#include "plan/frmLocalSetting.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Events.h"
#include "platform/Input.h"
#include "platform/Ui.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zorva {

namespace {

// A choice in a list runs its handler like the list's Click: on a change of the entry (by the
// user or by code) and when the user picks the entry already shown again.
void connectChoice(QComboBox* box, frmZorvaMain* form, void (frmZorvaMain::*handler)()) {
    auto changed = std::make_shared<bool>(false);
    QObject::connect(box, &QComboBox::currentIndexChanged, form, [=] {
        *changed = true; // the activation that follows a user's change is the same choice
        QTimer::singleShot(0, box, [changed] { *changed = false; });
        (form->*handler)();
    });
    QObject::connect(box, &QComboBox::activated, form, [=] {
        if (*changed) {
            *changed = false;
            return;
        }
        (form->*handler)();
    });
}

} // namespace

frmZorvaMain::frmZorvaMain(QWidget* parent)
    : FormBase(parent), cascade_(PlanQueries(this)), chain_(new StepChain(this)) {
    setObjectName(QStringLiteral("frmZorvaMain"));
    buildUi();
}

bool frmZorvaMain::scanMode() { return appState().scanFlag; }
bool frmZorvaMain::dedicatedMode() { return appState().dedicatedFlag; }

QWidget* frmZorvaMain::buildCascade() {
    auto* top = new QWidget(this);
    auto* g = new QGridLayout(top);
    g->setContentsMargins(0, 0, 0, 0);
    auto add = [&](QLabel* label, QWidget* box, int row, int col) {
        g->addWidget(label, row, col);
        g->addWidget(box, row, col + 1);
    };
    lblRegion = named<QLabel>("lblRegion", QStringLiteral("Area :"), top);
    cboRegion = named<QComboBox>("cboRegion", top);
    lblState = named<QLabel>("lblState", QStringLiteral("State :"), top);
    cboState = named<QComboBox>("cboState", top);
    lblCity = named<QLabel>("lblCity", QStringLiteral("City :"), top);
    cboCity = named<QComboBox>("cboCity", top);
    lblWorkGroup = named<QLabel>("lblWorkGroup", QStringLiteral("WorkGroup :"), top);
    cboWorkGroup = named<QComboBox>("cboWorkGroup", top);
    txtSegment = named<QLineEdit>("txtSegment", top);
    cboEquipment = named<QComboBox>("cboEquipment", top);
    roomForNames({cboRegion, cboState, cboCity, cboWorkGroup, cboEquipment});
    lblTotalRequired = named<QLabel>("lblTotalRequired", QStringLiteral("Total Required :"), top);
    txtBilangan = named<QLineEdit>("txtBilangan", top);
    txtlblIPAddress = named<QLineEdit>("txtlblIPAddress", QStringLiteral("0.0.0.0"), top);
    txtlblNamingConvention = named<QLineEdit>("txtlblNamingConvention", top);
    setEditable({txtlblIPAddress, txtlblNamingConvention}, false);
    add(lblRegion, cboRegion, 0, 0);
    add(lblState, cboState, 1, 0);
    add(lblCity, cboCity, 2, 0);
    auto* segmentOrGroup = new QHBoxLayout;
    segmentOrGroup->addWidget(cboWorkGroup, 1);
    segmentOrGroup->addWidget(txtSegment, 1);
    g->addWidget(lblWorkGroup, 3, 0);
    g->addLayout(segmentOrGroup, 3, 1);
    add(new QLabel(QStringLiteral("Equipment/Range :"), top), cboEquipment, 0, 2);
    add(lblTotalRequired, txtBilangan, 1, 2);
    add(new QLabel(QStringLiteral("IP Address :"), top), txtlblIPAddress, 2, 2);
    add(new QLabel(QStringLiteral("Hostname :"), top), txtlblNamingConvention, 3, 2);

    // Filters first, so that a handler sees a refused keystroke as no change.
    attachNumericFilter(txtSegment, 255, 0, [this] { return isEditable(txtSegment); });
    attachNumericFilter(txtBilangan, 256, 0,
                        [this] { return isEditable(txtBilangan) && !dedicatedMode(); });
    attachNumericFilter(txtBilangan, 255, 0,
                        [this] { return isEditable(txtBilangan) && dedicatedMode(); });
    connectChoice(cboRegion, this, &frmZorvaMain::cboRegion_Click);
    connectChoice(cboState, this, &frmZorvaMain::cboState_Click);
    connectChoice(cboCity, this, &frmZorvaMain::cboCity_Click);
    connectChoice(cboWorkGroup, this, &frmZorvaMain::cboWorkGroup_Click);
    connectChoice(cboEquipment, this, &frmZorvaMain::cboEquipment_Click);
    connect(txtSegment, &QLineEdit::textChanged, this, &frmZorvaMain::txtSegment_Change);
    connect(txtBilangan, &QLineEdit::textChanged, this, &frmZorvaMain::txtBilangan_Change);
    return top;
}

void frmZorvaMain::buildUi() {
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(buildCascade());
    details = new AssignDetails(this);
    SSTab1 = named<QTabWidget>("SSTab1", this);
    SSTab1->addTab(details->equipmentPage, QStringLiteral(" Equipment "));
    SSTab1->addTab(details->userPage, QStringLiteral(" User Details "));
    gridData = named<QTableWidget>("gridData", 0, 5, this);
    gridData->setHorizontalHeaderLabels({QStringLiteral("IP Address"), QStringLiteral("Hostname"),
                                         QStringLiteral("Type"), QStringLiteral("Project"),
                                         QStringLiteral("Remarks")});
    gridData->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridData->horizontalHeader()->setStretchLastSection(true);
    SSTab1->addTab(gridData, QStringLiteral("IP Address List"));
    outer->addWidget(SSTab1, 1);

    auto* bottom = new QHBoxLayout;
    lblJumlah = named<QLabel>("lblJumlah", QStringLiteral("Total Record : "), this);
    lblRekodKe = named<QLabel>("lblRekodKe", QStringLiteral("Record No. :"), this);
    lblBilangan = named<QLabel>("lblBilangan", this);
    cmdSave = named<QPushButton>("cmdSave", QStringLiteral("Save"), this);
    cmdBatal = named<QPushButton>("cmdBatal", QStringLiteral("Cancel"), this);
    cmdTutup = named<QPushButton>("cmdTutup", QStringLiteral("Close"), this);
    // The count grows long in a batch ("Total Records : n   (Not Use : ...)"): a line of its own,
    // kept while hidden so that the tabs above do not move.
    outer->addWidget(lblJumlah);
    keepPlaceWhenHidden({lblJumlah});
    bottom->addStretch(1);
    bottom->addWidget(lblRekodKe);
    bottom->addWidget(lblBilangan);
    bottom->addWidget(cmdSave);
    bottom->addWidget(cmdBatal);
    bottom->addWidget(cmdTutup);
    outer->addLayout(bottom);

    connect(cmdSave, &QPushButton::clicked, this, &frmZorvaMain::cmdSave_Click);
    connect(cmdBatal, &QPushButton::clicked, this, &frmZorvaMain::cmdBatal_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmZorvaMain::cmdTutup_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmZorvaMain::SSTab1_Click);
    connect(details->cboUnitDivision, &QComboBox::currentIndexChanged, this,
            &frmZorvaMain::cboUnitDivision_Click);
    connect(details, &AssignDetails::remarksEntered, this, [this] { SSTab1->setCurrentIndex(1); });
    onClick(details->PicUnitDivision, [this] { PicUnitDivision_Click(); });
    resize(760, 560);
}

void frmZorvaMain::Form_Load() {
    AppState& s = appState();
    if (scanMode()) {
        setWindowTitle(QStringLiteral("Scan Network ..."));
        lblTotalRequired->setText(QStringLiteral("Total Required :"));
        setEditable(txtBilangan, false);
        i = 0;
        StartRange = 999;
    } else if (dedicatedMode()) {
        setWindowTitle(QStringLiteral("Assign Dedicated IP Address"));
        lblTotalRequired->setText(QStringLiteral("IP Octet 4 :"));
    } else {
        setWindowTitle(QStringLiteral("Assign New IP Address"));
        lblTotalRequired->setText(QStringLiteral("Total Required :"));
    }
    details->PicUnitDivision->hide();
    lblJumlah->hide();
    lblRekodKe->hide();
    lblBilangan->hide();
    s.gOwnRange = true;
    namaAlatFirst.clear();
    SSTab1->setCurrentIndex(0);
    cmdSave->setEnabled(false);
    cmdBatal->setEnabled(false);
    details->disableDetails();
    txtSegment->hide();
    cboWorkGroup->show();

    if (cascade_.queries().planNotSetUp()) {
        frmLocalSetting local(this);
        ui().showModal(local);
    }
    fillBox(cboRegion, cascade_.areaChoices());
    if (cascade_.boundToOneArea()) cboRegion->setCurrentIndex(0);
    txtlblIPAddress->setText(addressText(cascade_.octet1(), cascade_.octet2(), cascade_.octet3(), 0));
    txtlblNamingConvention->clear();
}

// ---- the cascade

bool frmZorvaMain::segmentShown() const { return !txtSegment->isHidden(); }

void frmZorvaMain::afterCascadeStep() {
    lblJumlah->hide();
    loadEquipmentList();
}

void frmZorvaMain::loadEquipmentList() {
    fillBox(cboEquipment, cascade_.equipment() << kSubnetEntry);
    octet4_ = 0;
    sequence_ = QStringLiteral("0");
    cmdSave->setEnabled(false);
    refreshPreviews();
}

void frmZorvaMain::loadWorkgroupList() {
    fillBox(cboWorkGroup, cascade_.workgroups());
    refreshPreviews();
}

void frmZorvaMain::putCityRangeEntry() {
    const auto& city = cascade_.cityRow();
    if (!cascade_.segmented() || !city || !city->hasOwnRange()) return;
    setEditable(txtSegment, false);
    fillBox(cboEquipment, {cityRangeEntry(*city->startRange, *city->endRange)});
}

// The city's own range is listed, alone or with an equipment borrowed into it through the
// full-range dialog; Cancel and the end of that offer put the single entry back.
bool frmZorvaMain::cityRangeListed() const {
    return cboEquipment->findText(QStringLiteral("IP Range "), Qt::MatchContains) >= 0;
}

void frmZorvaMain::refreshPreviews() {
    HostNameParts parts = cascade_.hostNameParts();
    // An empty segment box leaves the host name without its segment part; the address keeps
    // octet 3 at 0, so that the preview always reads as four octets.
    if (segmentShown() && cascade_.segmented() && txtSegment->text().isEmpty() &&
        !cascade_.octet3Fixed())
        parts.state.clear();
    txtlblIPAddress->setText(
        addressText(cascade_.octet1(), cascade_.octet2(), cascade_.octet3(), octet4_));
    txtlblNamingConvention->setText(parts.joined(sequence_));
}

void frmZorvaMain::cboRegion_Click() {
    const QString area = cboRegion->currentText();
    fillBox(cboCity, {});
    cascade_.chooseArea(area);
    afterCascadeStep();
    txtBilangan->clear();
    cboState->show();
    lblState->show();
    if (!cascade_.segmented() || area.isEmpty()) {
        txtSegment->hide();
        cboWorkGroup->show();
        lblWorkGroup->setText(QStringLiteral("WorkGroup :"));
        fillBox(cboState, cascade_.states(), !area.isEmpty());
    } else {
        {
            const QSignalBlocker quiet(txtSegment);
            txtSegment->clear();
            lastSegment_.clear();
        }
        cboWorkGroup->hide();
        txtSegment->show();
        lblWorkGroup->setText(QStringLiteral("Segment :"));
        cboState->hide();
        lblState->hide();
        fillBox(cboCity, cascade_.cities());
    }
    refreshPreviews();
}

void frmZorvaMain::cboState_Click() {
    afterCascadeStep();
    txtBilangan->clear();
    cascade_.chooseState(cboState->currentText());
    if (!cboState->currentText().isEmpty()) fillBox(cboCity, cascade_.cities());
    refreshPreviews();
}

void frmZorvaMain::cboCity_Click() {
    lblJumlah->hide();
    loadWorkgroupList();
    loadEquipmentList();
    txtBilangan->clear();
    if (cascade_.segmented()) {
        const QSignalBlocker quiet(txtSegment);
        txtSegment->clear();
        lastSegment_.clear();
        setEditable(txtSegment, true);
    }
    cascade_.chooseCity(cboCity->currentText());
    if (cascade_.segmented() && cascade_.octet3Fixed()) {
        lblWorkGroup->setText(QStringLiteral("IP Octet 3 :"));
        txtSegment->setText(QString::number(cascade_.octet3())); // runs the segment step
        setEditable(txtSegment, false);
        putCityRangeEntry();
    }
    refreshPreviews();
}

void frmZorvaMain::cboWorkGroup_Click() {
    afterCascadeStep();
    txtBilangan->clear();
    cascade_.chooseWorkgroup(cboWorkGroup->currentText());
    if (!dedicatedMode()) txtBilangan->setText(QStringLiteral("1"));
    refreshPreviews();
}

void frmZorvaMain::txtSegment_Change() {
    const QString text = txtSegment->text();
    if (text == lastSegment_) return; // refused by the filter, or nothing new
    lastSegment_ = text;
    afterCascadeStep();
    txtBilangan->clear();
    cascade_.enterSegment(text.toInt());
    if (!dedicatedMode()) txtBilangan->setText(QStringLiteral("1"));
    refreshPreviews();
}

void frmZorvaMain::txtBilangan_Change() {
    const QString text = txtBilangan->text();
    if (text == lastCount_) return;
    lastCount_ = text;
    afterCascadeStep();
    if (!cboCity->currentText().isEmpty()) putCityRangeEntry();
    batch_.countBoxChanged(text);
}

bool frmZorvaMain::cascadeChecks() {
    auto refuse = [this](QWidget* focus, const QString& text) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !!!"), text);
        focus->setFocus();
        return false;
    };
    if (cboState->currentIndex() < 0 && !segmentShown())
        return refuse(cboState, QStringLiteral("Please select ") + lblState->text() + QStringLiteral(" ..."));
    if (cboCity->currentIndex() < 0)
        return refuse(cboCity, QStringLiteral("Please select ") + lblCity->text() + QStringLiteral(" ..."));
    if (segmentShown() && txtSegment->text().isEmpty())
        return refuse(txtSegment, QStringLiteral("Please enter ") + lblWorkGroup->text() + QStringLiteral(" ..."));
    if (!cboWorkGroup->isHidden() && cboWorkGroup->currentIndex() < 0)
        return refuse(cboWorkGroup, QStringLiteral("Please select ") + lblWorkGroup->text() + QStringLiteral(" ..."));
    return true;
}

void frmZorvaMain::lockCascade() {
    for (QWidget* w : std::initializer_list<QWidget*>{cboRegion, cboState, cboCity, cboWorkGroup,
                                                      txtSegment, txtBilangan, cboEquipment})
        setEditable(w, false);
}

void frmZorvaMain::unlockCascade() {
    for (QWidget* w : std::initializer_list<QWidget*>{cboRegion, cboState, cboCity, cboWorkGroup,
                                                      txtSegment, txtBilangan, cboEquipment})
        setEditable(w, true);
    // What the plan fixes stays fixed: a city's own octet 3; the scan counts nothing.
    if (cascade_.octet3Fixed()) setEditable(txtSegment, false);
    if (scanMode()) setEditable(txtBilangan, false);
}

void frmZorvaMain::cmdTutup_Click() {
    chain_->stop();
    unload();
}

// ---- the in-use window's calls

void frmZorvaMain::markAddressInUse() {
    if (txtBilangan->text() != QLatin1String("1")) lblRekodKe->show();
    lblBilangan->show();
    lblBilangan->setStyleSheet(QStringLiteral("color: red"));
    lblBilangan->setText(QStringLiteral("X"));
}

void frmZorvaMain::takeLiveInfo(const QString& lanId, const QString& remarks) {
    details->txtStaffNo->setText(lanId);
    details->txtLANID->setText(lanId);
    details->txtRemarks->setText(remarks);
}

} // namespace zorva

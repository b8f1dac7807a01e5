#include "records/frmMaklumatIP.h"
#include "records/RecordHistoryTab.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Events.h"
#include "platform/Input.h"
#include "platform/Modeless.h"
#include "platform/Rows.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "records/RecordDetail.h"
#include "records/frmCarian.h"
#include "records/frmIPAddressUsed.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QStringList kStatusList{QStringLiteral("Permanent"), QStringLiteral("Temporary")};

// The text boxes and the IP_Info column each one shows.
struct Column {
    QLineEdit* frmMaklumatIP::*box;
    const char* column;
};
const Column kTextColumns[] = {
    {&frmMaklumatIP::txtIPAddress, "IP_Address"}, {&frmMaklumatIP::txtKodPeralatan, "Name"},
    {&frmMaklumatIP::txtNamaPeralatan, "Type"},   {&frmMaklumatIP::txtWorkGroup, "Workgroup"},
    {&frmMaklumatIP::txtProject, "Project"},      {&frmMaklumatIP::txtNamaPengguna, "Username"},
    {&frmMaklumatIP::txtStaffNo, "StaffNo"},      {&frmMaklumatIP::txtLANID, "LANID"},
    {&frmMaklumatIP::txtTingkat, "Floor"},        {&frmMaklumatIP::txtBangunan, "Building"},
    {&frmMaklumatIP::txtJalan, "Roadname"},       {&frmMaklumatIP::txtPoskod, "Postcode"},
    {&frmMaklumatIP::txtBandar, "City"},          {&frmMaklumatIP::txtNegeri, "State"},
    {&frmMaklumatIP::txtTelefon, "TelNo"},        {&frmMaklumatIP::txtFaksimili, "FaxNo"},
};
} // namespace

frmMaklumatIP::frmMaklumatIP(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmMaklumatIP"));
    setWindowTitle(QStringLiteral("IP Address Details ..."));
    buildUi();
    connect(this, &FormBase::unloaded, this, &frmMaklumatIP::Form_Unload);
}

void frmMaklumatIP::buildUi() {
    auto* outer = new QGridLayout(this);
    SSTab1 = named<QTabWidget>("SSTab1", this);
    outer->addWidget(SSTab1, 0, 0);
    auto* tab0 = new QWidget(SSTab1);
    auto* tab1 = new QWidget(SSTab1);
    SSTab1->addTab(tab0, QStringLiteral("Equipment"));
    SSTab1->addTab(tab1, QStringLiteral("User Details"));
    historyTab = new RecordHistoryTab(SSTab1);
    SSTab1->addTab(historyTab, QStringLiteral("History"));

    auto* grid0 = new QGridLayout(tab0);
    auto line = [tab0](const char* name) {
        auto* b = named<QLineEdit>(name, tab0);
        attachFocusMoves(b);
        return b;
    };
    txtIPAddress = line("txtIPAddress");
    txtKodPeralatan = line("txtKodPeralatan");
    txtNamaPeralatan = line("txtNamaPeralatan");
    cboStatus = named<QComboBox>("cboStatus", tab0);
    txtWorkGroup = line("txtWorkGroup");
    txtProject = line("txtProject");
    txtRemarks = named<QPlainTextEdit>("txtRemarks", tab0);
    txtRemarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRemarks->setTabChangesFocus(true);
    attachFocusMoves(txtRemarks, FocusMove::Arrows);
    txtRemarks->installEventFilter(this);
    addCaptionRows(grid0, {{QStringLiteral("IP Address :"), txtIPAddress},
                           {QStringLiteral("Hostname :"), txtKodPeralatan},
                           {QStringLiteral("Equipment :"), txtNamaPeralatan},
                           {QStringLiteral("Status :"), cboStatus},
                           {QStringLiteral("WorkGroup :"), txtWorkGroup},
                           {QStringLiteral("Project :"), txtProject},
                           {QStringLiteral("Remarks :"), txtRemarks}});

    buildUserDetails(tab1);

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = named<QPushButton>(name, caption, this);
        buttons->addWidget(b);
        return b;
    };
    cmdKemaskiniSimpan = button("cmdKemaskiniSimpan", QStringLiteral("Update"));
    cmdHapus = button("cmdHapus", QStringLiteral("Delete"));
    cmdLiveInfo = button("cmdLiveInfo", QStringLiteral("Live Info"));
    cmdTutup = button("cmdTutup", QStringLiteral("Close"));
    buttons->addStretch(1);
    outer->addLayout(buttons, 0, 1);
    lblNotaUpdate = named<QLabel>("lblNotaUpdate", this);
    outer->addWidget(lblNotaUpdate, 1, 0, 1, 2);
    lblReclaim = named<QLabel>("lblReclaim", this);
    lblReclaim->hide();
    outer->addWidget(lblReclaim, 2, 0, 1, 2);

    connect(cmdKemaskiniSimpan, &QPushButton::clicked, this, &frmMaklumatIP::cmdKemaskiniSimpan_Click);
    connect(cmdHapus, &QPushButton::clicked, this, &frmMaklumatIP::cmdHapus_Click);
    connect(cmdLiveInfo, &QPushButton::clicked, this, &frmMaklumatIP::cmdLiveInfo_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmMaklumatIP::cmdTutup_Click);
    connect(SSTab1, &QTabWidget::currentChanged, this, &frmMaklumatIP::SSTab1_Click);
    connect(cboUnitDivision, &QComboBox::activated, this, &frmMaklumatIP::cboUnitDivision_Click);
    onClick(PicUnitDivision, [this] { PicUnitDivision_Click(); });
}

QList<QWidget*> frmMaklumatIP::editableControls() const {
    return {txtKodPeralatan, txtNamaPeralatan, txtWorkGroup, txtProject, txtRemarks, cboStatus,
            txtNamaPengguna, txtStaffNo,       txtLANID,     cboUnitDivision, txtTelefon,
            txtFaksimili};
}

void frmMaklumatIP::Form_Load() {
    PicUnitDivision->hide();
    auto record = readRecord(this, detailQuery);
    if (!record) {
        ui().beep();
        ui().message(this, Icon::Warning, QStringLiteral("Error"), QStringLiteral("Record not found !"));
        clearFields();
        lockFields();
        cmdLiveInfo->setEnabled(false);
        return;
    }
    record_ = *record;
    key_ = record_.value(QStringLiteral("zorva_key"));
    cmdLiveInfo->setEnabled(false);
    const QSignalBlocker quiet(SSTab1);
    SSTab1->setCurrentIndex(0);
    clearFields();
    lockFields();
    showRecord();
    lblNotaUpdate->setText(updateNote(record_));
}

void frmMaklumatIP::showRecord() {
    for (const Column& c : kTextColumns)
        (this->*c.box)->setText(record_.value(QLatin1String(c.column)).toString());
    txtRemarks->setPlainText(record_.value(QStringLiteral("Remarks")).toString());
    const QString status = record_.value(QStringLiteral("Status")).toString();
    if (!status.isEmpty()) {
        cboStatus->clear();
        cboStatus->addItems(kStatusList);
        if (!kStatusList.contains(status)) cboStatus->addItem(status);
        cboStatus->setCurrentText(status);
    }
    unitName_ = record_.value(QStringLiteral("UnitDivision")).toString();
    const QString address = record_.value(QStringLiteral("IP_Address")).toString();
    historyTab->showAddress(address);
    lblReclaim->setText(reclaimNote(address));
    lblReclaim->setVisible(!lblReclaim->text().isEmpty());
}

void frmMaklumatIP::clearFields() {
    for (const Column& c : kTextColumns) (this->*c.box)->clear();
    txtRemarks->clear();
    cboStatus->clear();
    cboUnitDivision->clear();
}

void frmMaklumatIP::lockFields() {
    for (const Column& c : kTextColumns) setEditable(this->*c.box, false);
    for (QWidget* w : editableControls()) setEditable(w, false);
}

void frmMaklumatIP::unlockFields() {
    for (QWidget* w : editableControls()) setEditable(w, true);
    const QString status = cboStatus->currentText();
    cboStatus->clear();
    cboStatus->addItems(kStatusList);
    if (!status.isEmpty() && !kStatusList.contains(status)) cboStatus->addItem(status);
    cboStatus->setCurrentIndex(cboStatus->findText(status));
}

void frmMaklumatIP::viewMode() {
    lockFields();
    cmdKemaskiniSimpan->setText(QStringLiteral("Update"));
    cmdHapus->setText(QStringLiteral("Delete"));
    cmdLiveInfo->setEnabled(false);
    PicUnitDivision->hide();
}

void frmMaklumatIP::cmdKemaskiniSimpan_Click() {
    if (key_.isNull()) return;
    if (cmdKemaskiniSimpan->text() == QLatin1String("Update")) {
        unlockFields();
        cmdLiveInfo->setEnabled(true);
        PicUnitDivision->show();
        cmdKemaskiniSimpan->setText(QStringLiteral("Save"));
        cmdHapus->setText(QStringLiteral("Cancel"));
        (SSTab1->currentIndex() == 1 ? static_cast<QWidget*>(txtNamaPengguna) : txtKodPeralatan)->setFocus();
        return;
    }
    if (ui().message(this, Icon::Question, QStringLiteral("Save Record"),
                     QStringLiteral("Save record to Zorva database ?"), Button::Ok | Button::Cancel,
                     Button::Ok) != Button::Ok)
        return;
    CursorGuard hourglass;
    Columns c;
    for (const Column& col : kTextColumns)
        if (col.box != &frmMaklumatIP::txtIPAddress)
            c.emplace_back(QLatin1String(col.column), (this->*col.box)->text());
    c.emplace_back(QStringLiteral("Remarks"), txtRemarks->toPlainText());
    // An empty choice keeps the stored status and unit.
    if (!cboStatus->currentText().isEmpty()) c.emplace_back(QStringLiteral("Status"), cboStatus->currentText());
    if (!cboUnitDivision->currentText().isEmpty())
        c.emplace_back(QStringLiteral("UnitDivision"), cboUnitDivision->currentText());
    c.emplace_back(QStringLiteral("DateIssue"), issueDateValue(QDate::currentDate()));
    c.emplace_back(QStringLiteral("InputBy"), appState().gUserName);
    const Written written = writeRow(this, QStringLiteral("IP_Info"), c, false, key_);
    if (written.gone()) return recordGone();
    if (!written) return; // stays in edit mode
    if (auto stored = readRecord(this, key_)) record_ = *stored;
    lblNotaUpdate->setText(updateNote(record_));
    viewMode();
    if (searchForm) searchForm->refreshAfterSave();
}

void frmMaklumatIP::cmdHapus_Click() {
    if (key_.isNull()) return;
    if (cmdHapus->text() == QLatin1String("Cancel")) {
        // The stored values come back; the unit list follows when it is shown.
        viewMode();
        clearFields();
        showRecord();
        if (SSTab1->currentIndex() == 1) SSTab1_Click(1);
        return;
    }
    if (ui().message(this, Icon::Question, QStringLiteral("Delete Record"),
                     QStringLiteral("Delete record from Zorva database ?"),
                     Button::Ok | Button::Cancel, Button::Ok) != Button::Ok)
        return;
    {
        CursorGuard hourglass;
        const Written erased = deleteRow(this, QStringLiteral("IP_Info"), key_);
        if (erased.gone()) return recordGone();
        if (!erased) return;
        if (searchForm) searchForm->refreshAfterDelete();
    }
    unload();
}

void frmMaklumatIP::recordGone() {
    // Another user deleted the record meanwhile (said already): there is nothing left to show
    // or edit here; the search's list is read again.
    if (searchForm) searchForm->refreshAfterDelete();
    unload();
}

void frmMaklumatIP::cmdLiveInfo_Click() {
    if (liveInfo_) liveInfo_->unload();
    auto* w = new frmIPAddressUsed;
    w->liveInfoAddress = txtIPAddress->text();
    w->liveInfoNote = QStringLiteral("IP Address used. Click Detail Info ...");
    liveInfo_ = w;
    showModeless(w, this);
}

void frmMaklumatIP::cmdTutup_Click() { unload(); }

void frmMaklumatIP::Form_Unload() {
    if (liveInfo_) liveInfo_->unload();
}

UnitPlace frmMaklumatIP::place() const {
    return {record_.value(QStringLiteral("Region")).toString(),
            record_.value(QStringLiteral("StateOwner")).toString(),
            record_.value(QStringLiteral("CityOwner")).toString()};
}

void frmMaklumatIP::SSTab1_Click(int tab) {
    if (tab != 1 || SSTab1->currentIndex() != 1 || key_.isNull()) return;
    if (!cboUnitDivision->currentText().isEmpty()) unitName_ = cboUnitDivision->currentText();
    cboUnitDivision->clear();
    const QStringList units = unitsOfPlace(this, place());
    cboUnitDivision->addItems(units);
    const int at = unitName_.isEmpty() ? -1 : int(units.indexOf(unitName_)); // exact, case-sensitive
    cboUnitDivision->setCurrentIndex(at);
    if (at < 0) clearPostal();
}

void frmMaklumatIP::cboUnitDivision_Click() {
    const QString unit = cboUnitDivision->currentText();
    if (unit.isEmpty()) return;
    if (const auto p = unitPostal(this, unit, place())) showPostal(*p);
}

void frmMaklumatIP::PicUnitDivision_Click() {
    if (PicUnitDivision->isHidden()) return;
    if (directory_) directory_->unload();
    auto* f = new frmUnitDivision;
    const UnitPlace p = place();
    f->caller.fromRecordDetail = true;
    f->caller.area = p.area;
    f->caller.state = p.state;
    f->caller.hasState = !p.state.isEmpty();
    f->caller.city = p.city;
    f->caller.refresh = [self = QPointer<frmMaklumatIP>(this)] {
        if (self) self->SSTab1_Click(1);
    };
    directory_ = f;
    showModeless(f, this, 0.885);
}

bool frmMaklumatIP::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the remarks goes on to the user details.
    if (watched == txtRemarks && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            SSTab1->setCurrentIndex(1);
            txtNamaPengguna->setFocus();
            return true;
        }
    }
    return FormBase::eventFilter(watched, event);
}

} // namespace zorva

#include "records/frmMaklumatIP.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
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
#include <QStyle>
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
// The six postal boxes, filled from the chosen unit, and the unit's columns.
const Column kPostal[] = {
    {&frmMaklumatIP::txtTingkat, "Floor"},    {&frmMaklumatIP::txtBangunan, "Building"},
    {&frmMaklumatIP::txtJalan, "Roadname"},   {&frmMaklumatIP::txtPoskod, "Postcode"},
    {&frmMaklumatIP::txtBandar, "City"},      {&frmMaklumatIP::txtNegeri, "State"},
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
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    outer->addWidget(SSTab1, 0, 0);
    auto* tab0 = new QWidget(SSTab1);
    auto* tab1 = new QWidget(SSTab1);
    SSTab1->addTab(tab0, QStringLiteral("Equipment"));
    SSTab1->addTab(tab1, QStringLiteral("User Details"));
    auto* grid0 = new QGridLayout(tab0);
    auto* grid1 = new QGridLayout(tab1);

    auto line = [](QWidget* tab, const char* name) {
        auto* b = new QLineEdit(tab);
        b->setObjectName(QString::fromLatin1(name));
        attachFocusMoves(b);
        return b;
    };
    auto addRow = [](QGridLayout* g, QWidget* tab, const QString& caption, QWidget* a,
                     QWidget* b = nullptr) {
        const int r = g->rowCount();
        g->addWidget(new QLabel(caption, tab), r, 0);
        g->addWidget(a, r, 1, 1, b ? 1 : 2);
        if (b) g->addWidget(b, r, 2);
    };
    txtIPAddress = line(tab0, "txtIPAddress");
    txtKodPeralatan = line(tab0, "txtKodPeralatan");
    txtNamaPeralatan = line(tab0, "txtNamaPeralatan");
    cboStatus = new QComboBox(tab0);
    cboStatus->setObjectName(QStringLiteral("cboStatus"));
    txtWorkGroup = line(tab0, "txtWorkGroup");
    txtProject = line(tab0, "txtProject");
    txtRemarks = new QPlainTextEdit(tab0);
    txtRemarks->setObjectName(QStringLiteral("txtRemarks"));
    txtRemarks->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRemarks->setTabChangesFocus(true);
    attachFocusMoves(txtRemarks, FocusMove::Arrows);
    txtRemarks->installEventFilter(this);
    addRow(grid0, tab0, QStringLiteral("IP Address :"), txtIPAddress);
    addRow(grid0, tab0, QStringLiteral("Hostname :"), txtKodPeralatan);
    addRow(grid0, tab0, QStringLiteral("Equipment :"), txtNamaPeralatan);
    addRow(grid0, tab0, QStringLiteral("Status :"), cboStatus);
    addRow(grid0, tab0, QStringLiteral("WorkGroup :"), txtWorkGroup);
    addRow(grid0, tab0, QStringLiteral("Project :"), txtProject);
    addRow(grid0, tab0, QStringLiteral("Remarks :"), txtRemarks);

    txtNamaPengguna = line(tab1, "txtNamaPengguna");
    txtStaffNo = line(tab1, "txtStaffNo");
    txtLANID = line(tab1, "txtLANID");
    cboUnitDivision = new QComboBox(tab1);
    cboUnitDivision->setObjectName(QStringLiteral("cboUnitDivision"));
    PicUnitDivision = new QLabel(tab1);
    PicUnitDivision->setObjectName(QStringLiteral("PicUnitDivision"));
    PicUnitDivision->setPixmap(style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(20));
    PicUnitDivision->setToolTip(QStringLiteral("Double-Click to Set Unit/Division ..."));
    PicUnitDivision->setCursor(Qt::PointingHandCursor);
    txtTingkat = line(tab1, "txtTingkat");
    txtBangunan = line(tab1, "txtBangunan");
    txtJalan = line(tab1, "txtJalan");
    txtPoskod = line(tab1, "txtPoskod");
    txtBandar = line(tab1, "txtBandar");
    txtNegeri = line(tab1, "txtNegeri");
    txtTelefon = line(tab1, "txtTelefon");
    txtFaksimili = line(tab1, "txtFaksimili");
    addRow(grid1, tab1, QStringLiteral("User Name :"), txtNamaPengguna);
    addRow(grid1, tab1, QStringLiteral("Staff # :"), txtStaffNo);
    addRow(grid1, tab1, QStringLiteral("LAN ID :"), txtLANID);
    addRow(grid1, tab1, QStringLiteral("Unit/Division :"), cboUnitDivision, PicUnitDivision);
    addRow(grid1, tab1, QStringLiteral("Floor/Building :"), txtTingkat, txtBangunan);
    addRow(grid1, tab1, QStringLiteral("Street :"), txtJalan);
    addRow(grid1, tab1, QStringLiteral("Postcode/City :"), txtPoskod, txtBandar);
    addRow(grid1, tab1, QStringLiteral("State :"), txtNegeri);
    addRow(grid1, tab1, QStringLiteral("Telephone :"), txtTelefon);
    addRow(grid1, tab1, QStringLiteral("Fax :"), txtFaksimili);

    auto* buttons = new QVBoxLayout;
    auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    cmdKemaskiniSimpan = button("cmdKemaskiniSimpan", QStringLiteral("Update"));
    cmdHapus = button("cmdHapus", QStringLiteral("Delete"));
    cmdLiveInfo = button("cmdLiveInfo", QStringLiteral("Live Info"));
    cmdTutup = button("cmdTutup", QStringLiteral("Close"));
    buttons->addStretch(1);
    outer->addLayout(buttons, 0, 1);
    lblNotaUpdate = new QLabel(this);
    lblNotaUpdate->setObjectName(QStringLiteral("lblNotaUpdate"));
    outer->addWidget(lblNotaUpdate, 1, 0, 1, 2);

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
}

void frmMaklumatIP::clearFields() {
    for (const Column& c : kTextColumns) (this->*c.box)->clear();
    txtRemarks->clear();
    cboStatus->clear();
    cboUnitDivision->clear();
}

void frmMaklumatIP::lockFields() {
    for (const Column& c : kTextColumns) (this->*c.box)->setEnabled(false);
    for (QWidget* w : editableControls()) w->setEnabled(false);
}

void frmMaklumatIP::unlockFields() {
    for (QWidget* w : editableControls()) w->setEnabled(true);
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
    if (!writeRow(this, QStringLiteral("IP_Info"), c, false, key_)) return; // stays in edit mode
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
        if (!deleteRow(this, QStringLiteral("IP_Info"), key_)) return;
        if (searchForm) searchForm->refreshAfterDelete();
    }
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
    if (at < 0)
        for (const Column& c : kPostal) (this->*c.box)->clear();
}

void frmMaklumatIP::cboUnitDivision_Click() {
    const QString unit = cboUnitDivision->currentText();
    if (unit.isEmpty()) return;
    if (auto row = unitOfPlace(this, unit, place()))
        for (const Column& c : kPostal) (this->*c.box)->setText(row->value(QLatin1String(c.column)).toString());
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

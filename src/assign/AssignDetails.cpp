#include "assign/AssignDetails.h"
#include "platform/Builders.h"
#include "platform/Input.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QGridLayout>
#include <QLineEdit>

namespace zorva {

AssignDetails::AssignDetails(QWidget* form) : QObject(form) {
    equipmentPage = new QWidget(form);
    auto* g0 = new QGridLayout(equipmentPage);
    auto box = [this](const char* name) { return named<QLineEdit>(name, equipmentPage); };
    txtIPAddress = box("txtIPAddress");
    txtKodPeralatan = box("txtKodPeralatan");
    txtNamaPeralatan = box("txtNamaPeralatan");
    txtWorkGroup = box("txtWorkGroup");
    cboStatus = named<QComboBox>("cboStatus", equipmentPage);
    txtProject = box("txtProject");
    txtRemarks = box("txtRemarks");
    addCaptionRows(g0, {{QStringLiteral("IP Address :"), txtIPAddress},
                        {QStringLiteral("Hostname :"), txtKodPeralatan},
                        {QStringLiteral("Equipment :"), txtNamaPeralatan},
                        {QStringLiteral("WorkGroup :"), txtWorkGroup},
                        {QStringLiteral("Status :"), cboStatus},
                        {QStringLiteral("Project :"), txtProject},
                        {QStringLiteral("Remarks :"), txtRemarks}});
    g0->setRowStretch(g0->rowCount(), 1);

    userPage = new QWidget(form);
    buildUserDetails(userPage);

    attachLengthLimit(txtProject, 50);
    attachLengthLimit(txtRemarks, 150);
    attachLengthLimit(txtNamaPengguna, 50);
    attachFocusMoves({txtKodPeralatan, txtProject});
    // Enter in the remarks box turns to the user details first, then moves on into them.
    attachFocusMoves(txtRemarks, FocusMove::Arrows);
    txtRemarks->installEventFilter(this);
}

bool AssignDetails::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtRemarks || event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    emit remarksEntered();
    focusNextControl(txtRemarks);
    return true;
}

QList<QLineEdit*> AssignDetails::boxes() const {
    return QList<QLineEdit*>{txtIPAddress, txtKodPeralatan, txtNamaPeralatan, txtWorkGroup,
                             txtProject, txtRemarks} +
           userTextBoxes();
}

void AssignDetails::enableDetails() {
    for (QLineEdit* b : boxes()) setEditable(b, true);
    cboStatus->setEnabled(true);
    cboUnitDivision->setEnabled(true);
    offerStatus();
    // Filled from the unit only.
    for (QLineEdit* b : postalBoxes()) setEditable(b, false);
}

void AssignDetails::disableDetails() {
    for (QLineEdit* b : boxes()) setEditable(b, false);
    cboStatus->setEnabled(false);
    cboUnitDivision->setEnabled(false);
}

void AssignDetails::clearDetails() {
    for (QLineEdit* b : boxes()) b->clear();
}

void AssignDetails::resetDetails() {
    clearDetails();
    cboStatus->clear();
    cboUnitDivision->clear();
}

void AssignDetails::offerStatus() {
    cboStatus->clear();
    cboStatus->addItems({QStringLiteral("Permanent"), QStringLiteral("Temporary")});
    cboStatus->setCurrentIndex(0);
}

SharedDetails AssignDetails::shared() const {
    return {txtProject->text(),
            txtRemarks->text(),
            cboStatus->currentText(),
            txtNamaPengguna->text(),
            txtStaffNo->text(),
            txtLANID->text(),
            txtTelefon->text(),
            txtFaksimili->text(),
            cboUnitDivision->currentText(),
            {txtTingkat->text(), txtBangunan->text(), txtJalan->text(), txtPoskod->text(),
             txtBandar->text(), txtNegeri->text()}};
}

void AssignDetails::putShared(const SharedDetails& d) {
    txtProject->setText(d.project);
    txtRemarks->setText(d.remarks);
    const int status = cboStatus->findText(d.status);
    if (status >= 0) cboStatus->setCurrentIndex(status);
    txtNamaPengguna->setText(d.userName);
    txtStaffNo->setText(d.staffNo);
    txtLANID->setText(d.lanId);
    txtTelefon->setText(d.telNo);
    txtFaksimili->setText(d.faxNo);
    if (d.unit.isEmpty()) return;
    if (cboUnitDivision->findText(d.unit) < 0) cboUnitDivision->addItem(d.unit);
    cboUnitDivision->setCurrentText(d.unit);
    // As remembered, over whatever the choice read from the directory.
    showPostal(d.postal);
}

AssignDetails::Typed AssignDetails::typed(const QString& suggestedHostName) const {
    return {shared(), txtKodPeralatan->text(), txtKodPeralatan->text() != suggestedHostName};
}

void AssignDetails::putTyped(const Typed& t) {
    putShared(t.shared);
    if (t.hostNameEdited) txtKodPeralatan->setText(t.hostName);
}

void AssignDetails::fillRecord(AssignRecord& r) const {
    r.address = txtIPAddress->text();
    r.name = txtKodPeralatan->text();
    r.type = txtNamaPeralatan->text();
    r.workgroup = txtWorkGroup->text();
    const SharedDetails d = shared();
    r.project = d.project;
    r.remarks = d.remarks;
    r.status = d.status;
    r.userName = d.userName;
    r.staffNo = d.staffNo;
    r.lanId = d.lanId;
    r.telNo = d.telNo;
    r.faxNo = d.faxNo;
    r.unit = cboUnitDivision->currentText();
    r.floor = txtTingkat->text();
    r.building = txtBangunan->text();
    r.street = txtJalan->text();
    r.postcode = txtPoskod->text();
    r.city = txtBandar->text();
    r.state = txtNegeri->text();
}

AssignLogFields AssignDetails::logFields() const {
    return {txtIPAddress->text(), txtKodPeralatan->text(), txtNamaPeralatan->text(),
            txtNamaPengguna->text(), cboUnitDivision->currentText(), txtTingkat->text(),
            txtBangunan->text(), txtJalan->text(), txtPoskod->text(), txtBandar->text(),
            txtNegeri->text()};
}

void AssignDetails::showRecord(const AssignRecord& r) {
    txtIPAddress->setText(r.address);
    txtKodPeralatan->setText(r.name);
    txtNamaPeralatan->setText(r.type);
    txtWorkGroup->setText(r.workgroup);
    cboStatus->setCurrentText(r.status);
    if (cboStatus->currentText() != r.status && !r.status.isEmpty()) {
        cboStatus->insertItem(0, r.status);
        cboStatus->setCurrentIndex(0);
    }
    const UnitPostal postal{r.floor, r.building, r.street, r.postcode, r.city, r.state};
    putShared({r.project, r.remarks, r.status, r.userName, r.staffNo, r.lanId, r.telNo,
               r.faxNo, r.unit, postal});
    showPostal(postal); // also of a record without a unit
}

} // namespace zorva

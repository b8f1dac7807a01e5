#include "plan/UserDetailBoxes.h"
#include "platform/Builders.h"
#include "platform/Input.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QStyle>

namespace zorva {

void UserDetailBoxes::buildUserDetails(QWidget* page) {
    auto* grid = new QGridLayout(page);
    auto box = [page](const char* name) { return named<QLineEdit>(name, page); };
    txtNamaPengguna = box("txtNamaPengguna");
    txtStaffNo = box("txtStaffNo");
    txtLANID = box("txtLANID");
    cboUnitDivision = named<QComboBox>("cboUnitDivision", page);
    roomForNames({cboUnitDivision});
    PicUnitDivision = named<QLabel>("PicUnitDivision", page);
    PicUnitDivision->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(20));
    PicUnitDivision->setToolTip(QStringLiteral("Double-Click to Set Unit/Division ..."));
    PicUnitDivision->setCursor(Qt::PointingHandCursor);
    txtTingkat = box("txtTingkat");
    txtBangunan = box("txtBangunan");
    txtJalan = box("txtJalan");
    txtPoskod = box("txtPoskod");
    txtBandar = box("txtBandar");
    txtNegeri = box("txtNegeri");
    txtTelefon = box("txtTelefon");
    txtFaksimili = box("txtFaksimili");
    addCaptionRows(grid, {{QStringLiteral("User Name :"), txtNamaPengguna},
                          {QStringLiteral("Staff # :"), txtStaffNo},
                          {QStringLiteral("LAN ID :"), txtLANID},
                          {QStringLiteral("Unit/Division :"), cboUnitDivision, PicUnitDivision},
                          {QStringLiteral("Floor/Building :"), txtTingkat, txtBangunan},
                          {QStringLiteral("Street :"), txtJalan},
                          {QStringLiteral("Postcode/City :"), txtPoskod, txtBandar},
                          {QStringLiteral("State :"), txtNegeri},
                          {QStringLiteral("Telephone :"), txtTelefon},
                          {QStringLiteral("Fax :"), txtFaksimili}});
    grid->setRowStretch(grid->rowCount(), 1);
    for (QLineEdit* b : userTextBoxes()) attachFocusMoves(b);
}

QList<QLineEdit*> UserDetailBoxes::postalBoxes() const {
    return {txtTingkat, txtBangunan, txtJalan, txtPoskod, txtBandar, txtNegeri};
}

QList<QLineEdit*> UserDetailBoxes::userTextBoxes() const {
    return QList<QLineEdit*>{txtNamaPengguna, txtStaffNo, txtLANID} + postalBoxes() +
           QList<QLineEdit*>{txtTelefon, txtFaksimili};
}

void UserDetailBoxes::clearPostal() {
    for (QLineEdit* b : postalBoxes()) b->clear();
}

void UserDetailBoxes::showPostal(const UnitPostal& p) {
    txtTingkat->setText(p.floor);
    txtBangunan->setText(p.building);
    txtJalan->setText(p.street);
    txtPoskod->setText(p.postcode);
    txtBandar->setText(p.city);
    txtNegeri->setText(p.state);
}

} // namespace zorva

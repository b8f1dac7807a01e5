#pragma once
#include "plan/UnitPlace.h"

#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace zorva {

// The "User Details" page of an address record, the same in every form that fills or shows
// one: the user, the owning unit with the picture that opens the unit directory, the unit's
// postal address and the user's numbers. A form derives from it and so has the boxes as its
// own members.
class UserDetailBoxes {
public:
    QLineEdit* txtNamaPengguna = nullptr;
    QLineEdit* txtStaffNo = nullptr;
    QLineEdit* txtLANID = nullptr;
    QComboBox* cboUnitDivision = nullptr;
    QLabel* PicUnitDivision = nullptr;
    QLineEdit* txtTingkat = nullptr;
    QLineEdit* txtBangunan = nullptr;
    QLineEdit* txtJalan = nullptr;
    QLineEdit* txtPoskod = nullptr;
    QLineEdit* txtBandar = nullptr;
    QLineEdit* txtNegeri = nullptr;
    QLineEdit* txtTelefon = nullptr;
    QLineEdit* txtFaksimili = nullptr;

    // Builds the boxes and their captioned rows on a grid of `page`. Up, Down and Enter move
    // between the boxes.
    void buildUserDetails(QWidget* page);

    // The six boxes of the unit's postal address, which only the unit fills.
    QList<QLineEdit*> postalBoxes() const;
    // Every text box of the page.
    QList<QLineEdit*> userTextBoxes() const;
    void clearPostal();
    void showPostal(const UnitPostal& p);
};

} // namespace zorva

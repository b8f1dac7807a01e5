#pragma once
#include "platform/FormBase.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace zorva {

// "IP Address Full ...": the range of gEqpName is used up; the user may borrow the octet-4
// range of another equipment type. OK closes with Accepted and leaves the borrowed range in
// gEqpName, gOctet4Start, gOctet4End with gOwnRange false; the assignment form then offers from
// it. Cancel (or the close box) closes with Rejected; the form then runs its Cancel.
class frmIPRangePenuh : public FormBase {
    Q_OBJECT
public:
    explicit frmIPRangePenuh(QWidget* parent = nullptr);

    QLabel* lblPeralatanPenuh = nullptr;
    QComboBox* cboEquipment = nullptr;
    QLabel* lblOctetMulaTamat = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdKeluar = nullptr;

public slots:
    void cboEquipment_Click();
    void cmdOK_Click();
    void cmdKeluar_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
};

} // namespace zorva

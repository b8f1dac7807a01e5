#pragma once
#include "platform/FormBase.h"

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zorva {

// "Subnet Calculator": an address and a mask, four octet boxes each, give the network ID with
// its prefix length, the class, the address type, the number of hosts and the list of subnets
// that the mask cuts from the surrounding block. Touches no file and no database.
class frmSubnetCal : public FormBase {
    Q_OBJECT
public:
    explicit frmSubnetCal(QWidget* parent = nullptr);

    std::array<QLineEdit*, 4> txtip{};
    std::array<QLineEdit*, 4> txtsm{};
    QLabel* picIP = nullptr;
    QLabel* picSM = nullptr;
    QPushButton* cmdCalculate = nullptr;
    QPushButton* cmdTutup = nullptr;
    QLabel* lblNetID = nullptr;
    QLabel* lblclass = nullptr;
    QLabel* lbltype = nullptr;
    QLabel* lblnumhosts = nullptr;
    QListWidget* lstNetIDs = nullptr;

public slots:
    void cmdCalculate_Click();
    void cmdTutup_Click();
    void txtip_Change(int index);
    void txtsm_Change(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    // "." or Enter in an address box; ".", Enter or Tab in a mask box.
    void txtip_Advance(int index);
    void txtsm_Leave(int index);
    void focusBox(QLineEdit* box);
    void SelectSubnet(const QString& netId);

    // The box that three typed digits just moved the focus to, until its next key.
    QObject* autoAdvancedTo_ = nullptr;
};

} // namespace zorva

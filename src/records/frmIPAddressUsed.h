#pragma once
#include "records/AddressInfoWindow.h"

class QLineEdit;

namespace zorva {

// "Information": what is at the address of a stored record (its "Live Info" button).
class frmIPAddressUsed : public AddressInfoWindow {
    Q_OBJECT
public:
    explicit frmIPAddressUsed(QWidget* parent = nullptr);

    QLineEdit* txtlblIPAddress = nullptr;
    QLineEdit* txtlblNamaPeralatan = nullptr;
    QLineEdit* txtlblWorkGroup = nullptr;
    QLineEdit* txtlblLANID = nullptr;
    QLineEdit* txtlblMACAddress = nullptr;

protected:
    void Form_Load() override;
    bool afterHostLookup() override;
    void showUnreadableTable() override;
    void closeWindow() override;

private:
    void buildUi();
};

} // namespace zorva

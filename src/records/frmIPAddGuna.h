#pragma once
#include "records/AddressInfoWindow.h"

namespace zorva {

// The form that opens frmIPAddGuna (the assignment form) and receives what it finds.
class AddressInUseCaller {
public:
    virtual ~AddressInUseCaller() = default;
    // The address about to be assigned answers: show lblRekodKe when txtBilangan does not read
    // "1", and show lblBilangan in red with the caption "X".
    virtual void markAddressInUse() = 0;
    // On closing after a lookup that found the host: txtStaffNo and txtLANID take the LAN ID,
    // txtRemarks the remarks ("Hostname = ...; MAC Address = ...").
    virtual void takeLiveInfo(const QString& lanId, const QString& remarks) = 0;
    // The window is closing: bring the caller up to date on screen.
    virtual void refreshAfterLiveInfo() {}
};

// "Information ...": what is at an address the assignment form was about to hand out.
class frmIPAddGuna : public AddressInfoWindow {
    Q_OBJECT
public:
    explicit frmIPAddGuna(QWidget* parent = nullptr);

    static const QString usedNote; // "IP Address used ..."

    AddressInUseCaller* caller = nullptr;

    QLabel* lblIPAddress = nullptr;
    QLabel* lblNamaPeralatan = nullptr;
    QLabel* lblWorkGroup = nullptr;
    QLabel* lblLANID = nullptr;
    QLabel* lblMACAddress = nullptr;

protected:
    void Form_Load() override;
    bool afterHostLookup() override;
    void showUnreadableTable() override;
    void closeWindow() override;

private:
    void buildUi();
};

} // namespace zorva

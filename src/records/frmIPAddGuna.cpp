#include "records/frmIPAddGuna.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Ui.h"

#include <QLabel>

namespace zorva {

const QString frmIPAddGuna::usedNote = QStringLiteral("IP Address used ...");

frmIPAddGuna::frmIPAddGuna(QWidget* parent) : AddressInfoWindow(parent) {
    setObjectName(QStringLiteral("frmIPAddGuna"));
    setWindowTitle(QStringLiteral("Information ..."));
    buildUi();
}

void frmIPAddGuna::buildUi() {
    auto label = [this](const char* name) {
        auto* l = named<QLabel>(name, this);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    lblIPAddress = label("lblIPAddress");
    lblNamaPeralatan = label("lblNamaPeralatan");
    lblWorkGroup = label("lblWorkGroup");
    lblLANID = label("lblLANID");
    lblMACAddress = label("lblMACAddress");
    buildCommonUi({lblIPAddress, lblNamaPeralatan, lblWorkGroup, lblLANID, lblMACAddress},
                  usedNote);
    resize(420, 300);
}

void frmIPAddGuna::Form_Load() { loadCommon(true); }

bool frmIPAddGuna::afterHostLookup() {
    if (liveInfoNote == usedNote) {
        if (caller) caller->markAddressInUse();
        return true;
    }
    return !appState().gHostNotFound;
}

void frmIPAddGuna::showUnreadableTable() {
    ui().message(this, Icon::None, QStringLiteral("Error !!!"),
                 QStringLiteral("Error !!! No info available ... "));
}

void frmIPAddGuna::closeWindow() {
    if (caller) {
        caller->refreshAfterLiveInfo();
        if (liveInfoNote == usedNote && !appState().gHostNotFound)
            caller->takeLiveInfo(lblLANID->text(),
                                 QStringLiteral("Hostname = ") + hostName() +
                                     QStringLiteral("; MAC Address = ") + lblMACAddress->text());
    }
    unload();
}

} // namespace zorva

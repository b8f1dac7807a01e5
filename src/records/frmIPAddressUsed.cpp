#include "records/frmIPAddressUsed.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Ui.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace zorva {

frmIPAddressUsed::frmIPAddressUsed(QWidget* parent) : AddressInfoWindow(parent) {
    setObjectName(QStringLiteral("frmIPAddressUsed"));
    setWindowTitle(QStringLiteral("Information"));
    buildUi();
}

void frmIPAddressUsed::buildUi() {
    auto box = [this](const char* name, const QString& text = {}) {
        auto* b = named<QLineEdit>(name, text, this);
        setEditable(b, false);
        return b;
    };
    txtlblIPAddress = box("txtlblIPAddress", QStringLiteral("0.0.0.0"));
    txtlblNamaPeralatan = box("txtlblNamaPeralatan");
    txtlblWorkGroup = box("txtlblWorkGroup");
    txtlblLANID = box("txtlblLANID");
    txtlblMACAddress = box("txtlblMACAddress");
    buildCommonUi({txtlblIPAddress, txtlblNamaPeralatan, txtlblWorkGroup, txtlblLANID,
                   txtlblMACAddress},
                  QStringLiteral("Click Detail Info button to get current information ..."));
    txtResult->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    resize(460, 340);
}

void frmIPAddressUsed::Form_Load() {
    if (!liveInfoAddress.isEmpty()) loadCommon(true);
}

bool frmIPAddressUsed::afterHostLookup() { return !appState().gHostNotFound; }

void frmIPAddressUsed::showUnreadableTable() {
    ui().message(this, Icon::Information, QStringLiteral("Pemberitahuan"),
                 QStringLiteral("Ralat !!! Kesilapan teknikal pada sistem... sila Cari sekali lagi..."));
}

void frmIPAddressUsed::closeWindow() { unload(); }

} // namespace zorva

#include "records/HostName.h"
#include "net/HostLookup.h"
#include "platform/AppState.h"
#include "platform/Ui.h"

namespace zorva {

QString hostNameFromAddress(const QString& dotted, QWidget* parent) {
    const QString title = QStringLiteral("Zorva"); // the application title
    appState().gHostNotFound = false;
    const ReverseLookup found = reverseLookup(dotted);
    switch (found.outcome) {
    case ReverseLookup::Outcome::InvalidAddress:
        ui().message(parent, Icon::None, title, QStringLiteral("String passed is an invalid IP."));
        break;
    case ReverseLookup::Outcome::NoName:
        ui().message(parent, Icon::None, title, QStringLiteral("Host Name not Found."));
        appState().gHostNotFound = true;
        break;
    case ReverseLookup::Outcome::Name:
        break;
    }
    return found.name;
}

} // namespace zorva

#include "platform/AppState.h"

namespace zorva {

static AppState& instance() {
    static AppState s;
    return s;
}

AppState& appState() { return instance(); }

void resetAppState() { instance() = AppState{}; }

QString versionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(ZORVA_VERSION_MAJOR)
        .arg(ZORVA_VERSION_MINOR, 2, 10, QLatin1Char('0'))
        .arg(ZORVA_VERSION_PATCH, 4, 10, QLatin1Char('0'));
}

} // namespace zorva

#include "app/AppInit.h"
#include "platform/Icons.h"
#include "platform/AppState.h"

#include <QApplication>

namespace zorva {

void initApplication(const QStringList& arguments) {
    QApplication::setApplicationName(QStringLiteral("Zorva"));
    QApplication::setOrganizationName(QStringLiteral("Zorva"));
    QApplication::setWindowIcon(appIcon());
    appState().appFolder = QCoreApplication::applicationDirPath();
    if (arguments.size() > 1) appState().gCommandLineFile = arguments.at(1);
}

} // namespace zorva

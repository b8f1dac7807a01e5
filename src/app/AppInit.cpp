#include "app/AppInit.h"
#include "platform/Icons.h"
#include "platform/AppFolder.h"
#include "platform/AppState.h"

#include <QApplication>

namespace zorva {

void initApplication(const QStringList& arguments) {
    QApplication::setApplicationName(QStringLiteral("Zorva"));
    QApplication::setOrganizationName(QStringLiteral("Zorva"));
    QApplication::setWindowIcon(appIcon());
    // Ties the windows to the package's desktop entry (its icon and name under Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zorva.Zorva"));
    appState().programFolder = QCoreApplication::applicationDirPath();
    appState().appFolder = applicationFolderOfProgram();
    if (arguments.size() > 1) appState().gCommandLineFile = arguments.at(1);
}

} // namespace zorva

#include "app/Icons.h"
#include "app/frmSplash.h"
#include "platform/AppState.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva"));
    QApplication::setOrganizationName(QStringLiteral("Zorva"));
    QApplication::setWindowIcon(zorva::appIcon());
    zorva::appState().appFolder = QCoreApplication::applicationDirPath();
    if (argc > 1) zorva::appState().gCommandLineFile = QString::fromLocal8Bit(argv[1]);
    auto* splash = new zorva::frmSplash;
    splash->show();
    return app.exec();
}

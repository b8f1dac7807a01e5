#include "app/AppInit.h"
#include "app/frmSplash.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zorva::initApplication(QApplication::arguments());
    auto* splash = new zorva::frmSplash;
    splash->show();
    return app.exec();
}

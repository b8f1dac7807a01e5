#include "monitor/MonitorStart.h"
#include "monitor/MonitorWindow.h"
#include "platform/Session.h"
#include "platform/Ui.h"
#include "users/frmLogin.h"

#include <QCheckBox>

namespace zorva {

MonitorWindow* openMonitorWindow() {
    frmLogin login;
    // The version check belongs to the main program.
    login.chkLiveUpdate->setChecked(false);
    login.chkLiveUpdate->hide();
    login.updateCheck = nullptr;
    if (ui().showModal(login) != QDialog::Accepted || !session().isLoggedIn()) return nullptr;
    auto* window = new MonitorWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->runLoad();
    if (window->isUnloaded()) {
        delete window;
        return nullptr;
    }
    window->show();
    return window;
}

} // namespace zorva

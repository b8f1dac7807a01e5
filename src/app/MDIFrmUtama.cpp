#include "app/MDIFrmUtama.h"
#include "app/Icons.h"
#include "platform/AppState.h"

#include <QMdiArea>
#include <QStatusBar>

namespace zorva {

namespace {
MDIFrmUtama* g_main = nullptr;
}

MDIFrmUtama::MDIFrmUtama(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIFrmUtama"));
    g_main = this;
    buildUi();
}

MDIFrmUtama::~MDIFrmUtama() {
    if (g_main == this) g_main = nullptr;
}

MDIFrmUtama* MDIFrmUtama::instance() { return g_main; }

QString MDIFrmUtama::loadCaption() {
    return QStringLiteral("Zorva : Manage Your IP Address Standard & Inventory System");
}

void MDIFrmUtama::buildUi() {
    setWindowIcon(appIcon());
    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea);
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    resize(1024, 720);
}

void MDIFrmUtama::Form_Load() {
    setWindowTitle(loadCaption());
    AppState& s = appState();
    const int slash = s.gDbPath.lastIndexOf(QLatin1Char('/'));
    s.gDbFolder = slash >= 0 ? s.gDbPath.left(slash) : QString();
    showDatabaseFolder();
}

void MDIFrmUtama::showDatabaseFolder() {
    const AppState& s = appState();
    if (s.gDbFolder.isEmpty() || s.gDbFolder == s.appFolder) {
        statusBar()->clearMessage();
        return;
    }
    QString text = QStringLiteral("Database dir = ") + s.gDbFolder;
    if (!text.endsWith(QLatin1Char('/'))) text += QLatin1Char('/');
    statusBar()->showMessage(text);
}

void MDIFrmUtama::applyUserRights() {}

void MDIFrmUtama::requireLogin() {}

} // namespace zorva

#include "app/MDIFrmUtama.h"
#include "app/Compaction.h"
#include "app/LiveUpdate.h"
#include "app/frmAbout.h"
#include "app/frmCariDB.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/DatabaseServer.h"
#include "platform/Help.h"
#include "platform/FormBase.h"
#include "platform/Icons.h"
#include "platform/Ini.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "users/frmLogin.h"
#include "utilities/frmChangeFolder.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace zorva {

namespace {

MDIFrmUtama* g_main = nullptr;

struct ToolButtonDef {
    const char* key; // nullptr: separator
    const char* tip;
    const char* menu;
    int image;
};

// Toolbar1 in collection order; position n is entry n - 1.
const ToolButtonDef kButtons[] = {
    {nullptr, nullptr, nullptr, 0},
    {"mAssignNewIP", "Assign new IP Address", "mnuInputRekod", 1},
    {"mAssignDedicatedIP", "Assign dedicated IP", "mnuDedicatedIP", 2},
    {"mSearchRecord", "Search record", "mnuCarianRekod", 3},
    {"mScanNetwork", "Scan network", "mnuScanNetwork", 4},
    {nullptr, nullptr, nullptr, 0},
    {"mIPsettings", "IP Address settings", "mnuIPAddressSetting", 5},
    {"mUnitDivSettings", "Unit / Division settings", "mnuUnitDivision", 6},
    {nullptr, nullptr, nullptr, 0},
    {"mReportByLocation", "Report by location", "mnuRptLocation", 7},
    {"mReportByDate", "Report by date", "mnuRptByDate", 8},
    {nullptr, nullptr, nullptr, 0},
    {"mUserID", "Zorva User ID", "mnuMaklumatPengguna", 10},
    {"mAssignLog", "Assign Log", "mnuAssignLog", 11},
    {"mLiveUpdate", "Live Update", "mnuLiveUpdate", 12},
    {"mIPMonitor", "Monitor IP Address", "mnuIPMonitor", 14},
    {nullptr, nullptr, nullptr, 0},
    {"mBackupRestore", "Backup and Restore database", "mnuBackupRestore", 15},
    {"mChangeDirectory", "Change database directory", "mnuChangeDBDir", 16},
    {"mCompactDB", "Compact database", "mnuCompactDB", 17},
    {nullptr, nullptr, nullptr, 0},
    {"mHelp", "Help", "mnuHelp", 18},
};

const char* kImageProperty = "zorvaImage";
const char* kMenuProperty = "zorvaMenu";

} // namespace

MDIFrmUtama::MDIFrmUtama(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MDIFrmUtama"));
    g_main = this;
    for (const auto& [name, opener] : formOpeners())
        if (opener) openers_.insert(name, opener);
    buildUi();
    listenToSession();
}

void MDIFrmUtama::listenToSession() {
    const Session* s = &session();
    connect(s, &Session::userNameChanged, this,
            [this](const QString& name) { setWindowTitle(userCaption(name)); });
    connect(s, &Session::loggedIn, this, &MDIFrmUtama::applyUserRights);
    connect(s, &Session::groupChanged, this, [this](const QString& group) {
        if (!Session::keepsUserAdministration(group)) setUserAdministration(false);
    });
    connect(s, &Session::liveUpdateOffered, this,
            [this](bool offered) { offered ? enableLiveUpdate() : disableLiveUpdate(); });
    connect(s, &Session::updateCheckRequested, this, &checkForUpdatesAtLogin);
    connect(s, &Session::loginRequired, this, &MDIFrmUtama::requireLogin);
    connect(s, &Session::databaseChanged, this, [this] {
        showDatabaseFolder();
        applyUserRights();
    });
    // Over the database folder for a few seconds; the folder comes back by itself.
    connect(s, &Session::announced, this,
            [this](const QString& text) { statusBar()->showMessage(text, kAnnouncementMs); });
}

MDIFrmUtama::~MDIFrmUtama() {
    if (g_main == this) g_main = nullptr;
}

MDIFrmUtama* MDIFrmUtama::instance() { return g_main; }

QString MDIFrmUtama::loadCaption() {
    return QStringLiteral("Zorva : Manage Your IP Address Standard & Inventory System");
}

QString MDIFrmUtama::userCaption(const QString& userName) {
    return QStringLiteral("Zorva - [User : ") + userName + QStringLiteral("]");
}

void MDIFrmUtama::buildUi() {
    setWindowIcon(appIcon());
    setWindowTitle(loadCaption());
    mdiArea = named<QMdiArea>("mdiArea", this);
    setCentralWidget(mdiArea);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    StatusBar1 = named<QLabel>("StatusBar1", this);
    statusBar()->addWidget(StatusBar1, 1);
    buildMenus();
    buildToolbar();
    refreshAvailability();
    resize(1024, 720);
}


void MDIFrmUtama::buildToolbar() {
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));
    for (const ToolButtonDef& b : kButtons) {
        if (!b.key) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* a = Toolbar1->addAction(toolImage(b.image), QString::fromLatin1(b.tip));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setData(QString::fromLatin1(b.key));
        a->setToolTip(QString::fromLatin1(b.tip));
        a->setProperty(kImageProperty, b.image);
        a->setProperty(kMenuProperty, QString::fromLatin1(b.menu));
    }
    connect(Toolbar1, &QToolBar::actionTriggered, this, &MDIFrmUtama::Toolbar1_ButtonClick);
    // Shown only when the login-time check finds an update.
    toolButton(kLiveUpdateButton)->setVisible(false);
    tidySeparators();
    mnuLiveUpdate->setEnabled(false);
}

QAction* MDIFrmUtama::menuEntry(const QString& name) const {
    return findChild<QAction*>(name);
}

void MDIFrmUtama::refreshAvailability() {
    for (const auto& [name, opener] : formOpeners()) {
        const bool available = hasOpener(name);
        if (QAction* entry = menuEntry(name)) entry->setEnabled(available);
        for (QAction* b : Toolbar1->actions())
            if (b->property(kMenuProperty).toString() == name) b->setVisible(available);
    }
    applyUserRights();
}

void MDIFrmUtama::setOpener(const QString& menuName, Opener opener) {
    if (opener)
        openers_.insert(menuName, std::move(opener));
    else
        openers_.remove(menuName);
    refreshAvailability();
}

bool MDIFrmUtama::hasOpener(const QString& menuName) const {
    return openers_.contains(menuName);
}

void MDIFrmUtama::runMenu(const QString& menuName) {
    if (auto h = handlers_.find(menuName); h != handlers_.end()) {
        (*h)();
        return;
    }
    openForm(menuName);
}

void MDIFrmUtama::openForm(const QString& menuName) {
    if (auto o = openers_.find(menuName); o != openers_.end()) (*o)(*this);
}

QAction* MDIFrmUtama::toolButton(int position) const {
    const QList<QAction*> all = Toolbar1->actions();
    return position >= 1 && position <= all.size() ? all.at(position - 1) : nullptr;
}

QAction* MDIFrmUtama::toolButton(const QString& key) const {
    for (QAction* a : Toolbar1->actions())
        if (a->data().toString() == key) return a;
    return nullptr;
}

int MDIFrmUtama::buttonImage(int position) const {
    const QAction* a = toolButton(position);
    return a ? a->property(kImageProperty).toInt() : 0;
}

void MDIFrmUtama::setButtonImage(int position, int image) {
    QAction* a = toolButton(position);
    if (!a) return;
    a->setProperty(kImageProperty, image);
    a->setIcon(toolImage(image));
}

void MDIFrmUtama::Toolbar1_ButtonClick(QAction* button) {
    if (!button) return;
    const QString key = button->data().toString();
    for (const ToolButtonDef& b : kButtons)
        if (b.key && key == QLatin1String(b.key)) {
            runMenu(QString::fromLatin1(b.menu));
            return;
        }
}

// ---- load, status bar, rights

void MDIFrmUtama::Form_Load() {
    AppState& s = appState();
    // Moving the database into a shared folder is for the file; a server is shared already.
    if (!serverInUse() && ReadIni(QStringLiteral("Database"), QStringLiteral("DatabaseLocation")).isEmpty()) {
        frmChangeFolder move(this);
        ui().showModal(move);
        if (!s.gDbFolder.isEmpty()) showDatabaseFolder();
    }
    {
        CursorGuard hourglass;
        show();
        setWindowTitle(loadCaption());
        const int slash = s.gDbPath.lastIndexOf(QLatin1Char('/'));
        s.gDbFolder = slash >= 0 ? s.gDbPath.left(slash) : QString();
        showDatabaseFolder();
    }
    s.gUserRegion.clear();
    s.gReLogin = false;
    if (!requireLogin()) return; // the login applied the rights of the user's group
    mnuLamanWeb->setEnabled(!ReadIni(QStringLiteral("Web"), QStringLiteral("IntraURL")).isEmpty());
    WriteIni(QStringLiteral("Version"), QStringLiteral("Version"), versionText());
}

void MDIFrmUtama::showDatabaseFolder() {
    const AppState& s = appState();
    if (serverInUse()) {
        StatusBar1->setText(QStringLiteral("Database = ") + serverInUse()->description());
        return;
    }
    if (s.gDbFolder.isEmpty() || s.gDbFolder == s.appFolder) {
        StatusBar1->clear();
        return;
    }
    QString text = QStringLiteral("Database dir = ") + s.gDbFolder;
    if (!text.endsWith(QLatin1Char('/'))) text += QLatin1Char('/');
    StatusBar1->setText(text);
}

QString MDIFrmUtama::statusText() const { return StatusBar1->text(); }

void MDIFrmUtama::applyUserRights() { setUserAdministration(session().isSistem()); }

void MDIFrmUtama::setUserAdministration(bool allowed) {
    const bool available = allowed && hasOpener(QStringLiteral("mnuMaklumatPengguna"));
    mnuMaklumatPengguna->setEnabled(available);
    setButtonImage(kUserButton, allowed ? 9 : 10);
    toolButton(kUserButton)->setVisible(available);
    tidySeparators();
}

void MDIFrmUtama::tidySeparators() {
    // A separator shows only when a visible button stands between it and the one before.
    QAction* pending = nullptr;
    for (QAction* a : Toolbar1->actions()) {
        if (a->isSeparator()) {
            a->setVisible(false);
            pending = a;
        } else if (a->isVisible() && pending) {
            pending->setVisible(true);
            pending = nullptr;
        }
    }
}

bool MDIFrmUtama::requireLogin() {
    frmLogin login(this);
    ui().showModal(login);
    return !appState().gUserID.isEmpty();
}

void MDIFrmUtama::disableLiveUpdate() {
    mnuLiveUpdate->setEnabled(false);
    setButtonImage(kLiveUpdateButton, 13);
    toolButton(kLiveUpdateButton)->setVisible(false);
    tidySeparators();
}

void MDIFrmUtama::enableLiveUpdate() {
    mnuLiveUpdate->setEnabled(true);
    setButtonImage(kLiveUpdateButton, 13);
    toolButton(kLiveUpdateButton)->setVisible(true);
    tidySeparators();
}

// ---- child forms

FormBase* MDIFrmUtama::openChildOf(const QMetaObject& type) const {
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        auto* form = qobject_cast<FormBase*>(w->widget());
        if (form && !form->isUnloaded() && form->metaObject()->inherits(&type)) return form;
    }
    return nullptr;
}

FormBase* MDIFrmUtama::showChild(FormBase* form) {
    if (!form) return nullptr;
    for (QMdiSubWindow* w : mdiArea->subWindowList()) {
        auto* open = qobject_cast<FormBase*>(w->widget());
        if (!open || open->isUnloaded() || open->objectName() != form->objectName()) continue;
        if (open != form) form->deleteLater();
        placeChild(w);
        w->showNormal();
        mdiArea->setActiveSubWindow(w);
        w->raise();
        return open;
    }
    QMdiSubWindow* child = mdiArea->addSubWindow(form);
    child->setAttribute(Qt::WA_DeleteOnClose);
    child->setWindowIcon(form->windowIcon().isNull() ? appIcon() : form->windowIcon());
    // A form that unloads itself takes its frame with it.
    connect(form, &FormBase::unloaded, child, &QMdiSubWindow::close, Qt::QueuedConnection);
    form->runLoad();
    if (form->isUnloaded()) return form;
    child->adjustSize();
    placeChild(child);
    child->show();
    mdiArea->setActiveSubWindow(child);
    return form;
}

void MDIFrmUtama::placeChild(QMdiSubWindow* child) {
    const int left = (width() - child->width()) / 2;
    const int top = int((height() * 0.825 - child->height()) / 2);
    child->move(qMax(0, left), qMax(0, top));
}

// ---- menu handlers

void MDIFrmUtama::mnuInputRekod_Click() {
    appState().scanFlag = false;
    appState().dedicatedFlag = false;
    openForm(QStringLiteral("mnuInputRekod"));
}

void MDIFrmUtama::mnuDedicatedIP_Click() {
    appState().scanFlag = false;
    appState().dedicatedFlag = true;
    openForm(QStringLiteral("mnuDedicatedIP"));
}

void MDIFrmUtama::mnuScanNetwork_Click() {
    appState().scanFlag = true;
    appState().dedicatedFlag = false;
    openForm(QStringLiteral("mnuScanNetwork"));
}

void MDIFrmUtama::mnuTukarLogin_Click() {
    appState().gReLogin = true;
    requireLogin(); // a new login applies the rights of its group
}

void MDIFrmUtama::mnuKeluar_Click() { EndProgram(); }

void MDIFrmUtama::closeEvent(QCloseEvent* event) {
    // Open child forms are not asked: the program ends at once.
    event->accept();
    EndProgram();
}

void MDIFrmUtama::mnuLiveUpdate_Click() {
    const Button answer =
        ui().message(this, Icon::Question, QStringLiteral("Live Update ..."),
                     QStringLiteral("You will need to close Zorva Application to start using "
                                    "Live Update.\r\n\r\nDo you want to close Zorva ?"),
                     Button::Yes | Button::No, Button::Yes);
    if (answer != Button::Yes) return;
    ShellOpen(QStringLiteral("open"), inProgramFolder(QStringLiteral("ZorvaUpd")));
    EndProgram();
}

void MDIFrmUtama::mnuIPMonitor_Click() {
    ShellOpen(QStringLiteral("open"), inProgramFolder(QStringLiteral("ZorvaMon")));
}

void MDIFrmUtama::mnuChangeDBDir_Click() {
    if (refusedOnServer(this, QStringLiteral("Change Directory"), QStringLiteral("Choosing the database folder"),
                        QStringLiteral("The server is chosen by the [Database] keys of Zorva.ini "
                                       "(Driver, Host, Port, Name, User, Password, Schema).")))
        return;
    frmCariDB locate(this);
    ui().showModal(locate);
}

void MDIFrmUtama::mnuCompactDB_Click() {
    if (refusedOnServer(this, QStringLiteral("Compact Database"), QStringLiteral("Compaction"),
                        QStringLiteral("The server reclaims free space itself (autovacuum): "
                                       "there is nothing to compact.")))
        return;
    const Button answer = ui().message(
        this, Icon::Question, QStringLiteral("Compact Database"),
        QStringLiteral("Do you want to compact Zorva database ?"), Button::Yes | Button::No,
        Button::Yes);
    if (answer == Button::Yes) CompressDatabase(QStringLiteral("Zorvadb.mdb"));
}

// The manual, at the page of the form in front when there is one (F1 is this entry's key).
void MDIFrmUtama::mnuHelp_Click() {
    const QMdiSubWindow* front = mdiArea->activeSubWindow();
    showHelp(this, front ? helpPageOf(front->widget()) : QStringLiteral("index"));
}

void MDIFrmUtama::mnuLamanWeb_Click() {
    ShellOpen(QStringLiteral("open"), ReadIni(QStringLiteral("Web"), QStringLiteral("IntraURL")));
}

void MDIFrmUtama::mnuWebPage_Click() {
    ShellOpen(QStringLiteral("open"), ReadIni(QStringLiteral("Web"), QStringLiteral("MainURL")));
}

void MDIFrmUtama::mnuPerihal_Click() {
    frmAbout about(this);
    ui().showModal(about);
}

// ---- compaction

QString MDIFrmUtama::formatSize(qint64 bytes) { return fileSizeText(bytes); }

QString MDIFrmUtama::FormatFileSize(const QString& path) {
    return fileSizeText(QFileInfo(path).size());
}

bool MDIFrmUtama::CompressDatabase(const QString& fileName) {
    const QString location = ReadIni(QStringLiteral("Database"), QStringLiteral("DatabaseLocation"));
    const QString folder = location.isEmpty() ? appState().appFolder : location;
    const QString source = folder + QLatin1Char('/') + fileName;
    const QString temporary = folder + QStringLiteral("/backup.mdb");
    CompactResult result;
    QString sizeBefore;
    QString sizeAfter;
    {
        CursorGuard hourglass;
        sizeBefore = FormatFileSize(source);
        result = compactDatabaseFile(source, temporary);
        sizeAfter = FormatFileSize(source);
    }
    if (result != CompactResult::Done) {
        ui().message(this, Icon::Critical, QStringLiteral("Database in use ..."),
                     QStringLiteral("Not Allowed : Zorva database was in use ... "));
        return false;
    }
    ui().message(this, Icon::Information, QStringLiteral("Compact Successful"),
                 QStringLiteral("Zorva database compacted successfully.\r\n\r\n"
                                "Size before compacting:\t") +
                     sizeBefore + QStringLiteral("\r\nSize after compacting:\t") + sizeAfter);
    return true;
}

} // namespace zorva

#pragma once
#include <QMainWindow>
#include <QHash>
#include <QMetaObject>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace zorva {

class FormBase;

// The multiple-document main window: menus, toolbar, status bar. It finishes the start-up
// (database folder, login, rights) and opens, places and reuses the child forms.
class MDIFrmUtama : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrmUtama(QWidget* parent = nullptr);
    ~MDIFrmUtama() override;

    // The open main window, or nullptr.
    static MDIFrmUtama* instance();

    QMdiArea* mdiArea = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QLabel* StatusBar1 = nullptr; // the status bar's one text

    // Menus and their entries (objectName = member name).
    QMenu* mnuOperasi = nullptr;
    QAction* mnuInputRekod = nullptr;
    QAction* mnuDedicatedIP = nullptr;
    QAction* mnuCarianRekod = nullptr;
    QAction* mnuScanNetwork = nullptr;
    QAction* mnuTukarPassword = nullptr;
    QAction* mnuTukarLogin = nullptr;
    QAction* mnuKeluar = nullptr;
    QMenu* mnuSetting = nullptr;
    QAction* mnuIPAddressSetting = nullptr;
    QAction* mnuUnitDivision = nullptr;
    QMenu* mnuReport = nullptr;
    QAction* mnuRptLocation = nullptr;
    QAction* mnuRptByDate = nullptr;
    QAction* mnuRecordHistory = nullptr;
    QMenu* mnuUtiliti = nullptr;
    QAction* mnuMaklumatPengguna = nullptr;
    QAction* mnuBackupRestore = nullptr;
    QAction* mnuAssignLog = nullptr;
    QAction* mnuImportRecords = nullptr;
    QAction* mnuExportRecords = nullptr;
    QAction* mnuLiveUpdate = nullptr;
    QAction* mnuIPMonitor = nullptr;
    QAction* mnuSubnetCalculator = nullptr;
    QMenu* mnuDatabase = nullptr;
    QAction* mnuChangeDBDir = nullptr;
    QAction* mnuCompactDB = nullptr;
    QMenu* mnuBantuan = nullptr;
    QAction* mnuHelp = nullptr;
    QAction* mnuLamanWeb = nullptr;
    QAction* mnuWebPage = nullptr;
    QAction* mnuPerihal = nullptr;

    // The load steps, run once right after the window is first shown: database folder form,
    // status bar, login, rights, intranet entry, version in the settings file.
    void Form_Load();
    // Status bar: "Database dir = " + folder when the database is outside the application
    // folder, empty otherwise.
    void showDatabaseFolder();
    QString statusText() const;
    // Enables the user-administration entry and shows button 13 for the group "Sistem" only.
    void applyUserRights();
    // The user-administration entry and button 13 (image 9 when allowed, else 10).
    void setUserAdministration(bool allowed);
    // Shows the login form modally with gReLogin as the caller set it. True when a user is
    // logged in afterwards (at start-up the login's "Exit" ends the program instead).
    bool requireLogin();

    static QString loadCaption();
    static QString userCaption(const QString& userName);

    // ---- Child forms
    // Shows a form as a child of the main window, placed by the centring rule, without
    // waiting. When a form of the same objectName is open already, that one is placed and
    // brought forward and `form` is deleted. Returns the form shown.
    FormBase* showChild(FormBase* form);
    // The open child form of that class, or nullptr.
    FormBase* openChildOf(const QMetaObject& type) const;
    // Opens the child form of class Form, or brings the open one forward.
    template <class Form>
    Form* openChild() {
        if (auto* open = qobject_cast<Form*>(openChildOf(Form::staticMetaObject))) {
            showChild(open);
            return open;
        }
        return static_cast<Form*>(showChild(new Form));
    }
    // Places a child by the centring rule (left = (width - form width) / 2,
    // top = (height x 0.825 - form height) / 2).
    void placeChild(QMdiSubWindow* child);

    // ---- Dispatch
    // Code that opens the form of a menu entry. Entries without one are disabled and their
    // toolbar buttons hidden; the table of openers is at the top of MDIFrmUtama.cpp.
    using Opener = std::function<void(MDIFrmUtama&)>;
    void setOpener(const QString& menuName, Opener opener);
    bool hasOpener(const QString& menuName) const;
    // Runs the action of a menu entry by its control name (the toolbar does not consult the
    // entry's enabled state).
    void runMenu(const QString& menuName);

    // ---- Toolbar
    // The button at a position counted from 1 (separators included), or by its key.
    QAction* toolButton(int position) const;
    QAction* toolButton(const QString& key) const;
    int buttonImage(int position) const;
    void setButtonImage(int position, int image);
    static constexpr int kUserButton = 13;
    static constexpr int kLiveUpdateButton = 15;
    // How long the status bar shows what a piece of work did.
    static constexpr int kAnnouncementMs = 6000;

    // ---- Live update
    // Called by the login's load: "Live Update" disabled, button 15 image 13 and hidden.
    void disableLiveUpdate();
    // Called when the login-time check finds an update: "Live Update" enabled, button 15 shown.
    void enableLiveUpdate();

    // ---- Compaction
    // Compacts the database file of that name in the database folder. False (after the
    // message) when it could not: another running copy uses it, or the engine failed.
    bool CompressDatabase(const QString& fileName);
    // "1023 bytes", "1.00 KB", "1.00 MB", "1.00 GB".
    static QString FormatFileSize(const QString& path);
    static QString formatSize(qint64 bytes);

public slots:
    void Toolbar1_ButtonClick(QAction* button);
    void mnuInputRekod_Click();
    void mnuDedicatedIP_Click();
    void mnuScanNetwork_Click();
    void mnuTukarLogin_Click();
    void mnuKeluar_Click();
    void mnuLiveUpdate_Click();
    void mnuIPMonitor_Click();
    void mnuChangeDBDir_Click();
    void mnuCompactDB_Click();
    void mnuHelp_Click();
    void mnuLamanWeb_Click();
    void mnuWebPage_Click();
    void mnuPerihal_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    void listenToSession();
    void buildMenus();
    // Each menu entry's opener; an empty one leaves the entry disabled (MDIFrmUtamaMenus.cpp).
    static const QList<std::pair<QString, Opener>>& formOpeners();
    void buildToolbar();
    void refreshAvailability();
    void tidySeparators();
    QAction* menuEntry(const QString& name) const;
    void openForm(const QString& menuName);

    QHash<QString, Opener> openers_;
    QHash<QString, std::function<void()>> handlers_;
    bool userRights_ = false;
};

} // namespace zorva

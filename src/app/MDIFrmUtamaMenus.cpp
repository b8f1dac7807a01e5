#include "app/MDIFrmUtama.h"
#include "platform/Ui.h"

// Forms opened by the menus.
#include "plan/frmIPAddressSettings.h"
#include "plan/frmUnitDivision.h"
#include "records/frmCarian.h"
#include "records/frmRptByDate.h"
#include "import/ImportForm.h"
#include "records/RecordHistoryForm.h"
#include "records/frmRptByLocation.h"
#include "assign/frmAssignLog.h"
#include "assign/frmZorvaMain.h"
#include "users/frmTukarPassword.h"
#include "users/frmUser.h"
#include "utilities/frmBackupDB.h"
#include "utilities/frmSubnetCal.h"

#include <QKeySequence>
#include <QMenuBar>

// The menus of the main window and the forms their entries open.

namespace zorva {

namespace {

using Opener = MDIFrmUtama::Opener;

struct MenuItem {
    QAction* MDIFrmUtama::*member; // nullptr: separator
    const char* name;
    const char* caption;
};

} // namespace

// The code that opens the form of each menu entry. An entry whose opener is empty stays
// disabled and its toolbar button hidden. Centred child form:
//     [](MDIFrmUtama& m) { m.openChild<frmX>(); }
// modal form:
//     [](MDIFrmUtama& m) { frmX f(&m); ui().showModal(f); }
// The three assignment entries set scanFlag and dedicatedFlag before their opener runs.
const QList<std::pair<QString, MDIFrmUtama::Opener>>& MDIFrmUtama::formOpeners() {
    static const QList<std::pair<QString, Opener>> table = {
        // -- assignment
        // One assignment form: an open one comes forward and acts by the new flags.
        {QStringLiteral("mnuInputRekod"), [](MDIFrmUtama& m) { m.openChild<frmZorvaMain>(); }},
        {QStringLiteral("mnuDedicatedIP"), [](MDIFrmUtama& m) { m.openChild<frmZorvaMain>(); }},
        {QStringLiteral("mnuScanNetwork"), [](MDIFrmUtama& m) { m.openChild<frmZorvaMain>(); }},
        {QStringLiteral("mnuAssignLog"), [](MDIFrmUtama& m) { m.openChild<frmAssignLog>(); }},

        // -- records
        {QStringLiteral("mnuCarianRekod"), [](MDIFrmUtama& m) { m.openChild<frmCarian>(); }},
        {QStringLiteral("mnuRptLocation"),
         [](MDIFrmUtama& m) { m.openChild<frmRptByLocation>(); }},
        {QStringLiteral("mnuRptByDate"), [](MDIFrmUtama& m) { m.openChild<frmRptByDate>(); }},
        {QStringLiteral("mnuRecordHistory"), [](MDIFrmUtama& m) { m.openChild<RecordHistoryForm>(); }},
        {QStringLiteral("mnuImportRecords"), [](MDIFrmUtama& m) { m.openChild<ImportForm>(); }},
        {QStringLiteral("mnuExportRecords"), [](MDIFrmUtama& m) { exportAllRecordsAsked(&m); }},

        // -- address plan
        {QStringLiteral("mnuIPAddressSetting"),
         [](MDIFrmUtama& m) { m.openChild<frmIPAddressSettings>(); }},

        // Opened from the menu: both caller marks cleared, the place chosen on the form.
        {QStringLiteral("mnuUnitDivision"),
         [](MDIFrmUtama& m) {
             frmUnitDivision f(&m);
             f.caller = UnitDivisionCaller{};
             ui().showModal(f);
         }},

        // -- users
        {QStringLiteral("mnuTukarPassword"),
         [](MDIFrmUtama& m) {
             frmTukarPassword f(&m);
             ui().showModal(f);
         }},

        {QStringLiteral("mnuMaklumatPengguna"), [](MDIFrmUtama& m) { m.openChild<frmUser>(); }},

        // -- utilities
        {QStringLiteral("mnuBackupRestore"), [](MDIFrmUtama& m) { m.openChild<frmBackupDB>(); }},

        {QStringLiteral("mnuSubnetCalculator"),
         [](MDIFrmUtama& m) {
             frmSubnetCal f(&m);
             ui().showModal(f);
         }},
    };
    return table;
}

void MDIFrmUtama::buildMenus() {
    const auto addMenu = [this](QMenu*& menu, const char* name, const QString& caption,
                                std::initializer_list<MenuItem> items, QMenu* parentMenu) {
        menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        for (const MenuItem& item : items) {
            if (!item.member) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(QString::fromLatin1(item.caption));
            const QString control = QString::fromLatin1(item.name);
            a->setObjectName(control);
            this->*(item.member) = a;
            connect(a, &QAction::triggered, this, [this, control] { runMenu(control); });
        }
    };
    using M = MDIFrmUtama;
    addMenu(mnuOperasi, "mnuOperasi", QStringLiteral("&File"),
            {{&M::mnuInputRekod, "mnuInputRekod", "&Assign New IP Address"},
             {&M::mnuDedicatedIP, "mnuDedicatedIP", "Assign &Dedicated IP"},
             {&M::mnuCarianRekod, "mnuCarianRekod", "&Search Record"},
             {&M::mnuScanNetwork, "mnuScanNetwork", "Sca&n Network"},
             {nullptr, nullptr, nullptr},
             {&M::mnuTukarPassword, "mnuTukarPassword", "Change &Password"},
             {&M::mnuTukarLogin, "mnuTukarLogin", "Change &Login"},
             {nullptr, nullptr, nullptr},
             {&M::mnuKeluar, "mnuKeluar", "E&xit"}},
            nullptr);
    addMenu(mnuSetting, "mnuSetting", QStringLiteral("&Settings"),
            {{&M::mnuIPAddressSetting, "mnuIPAddressSetting", "&IP Address Settings"},
             {&M::mnuUnitDivision, "mnuUnitDivision", "&Unit / Division Settings"}},
            nullptr);
    addMenu(mnuReport, "mnuReport", QStringLiteral("&Report"),
            {{&M::mnuRptLocation, "mnuRptLocation", "Report by &Location"},
             {&M::mnuRptByDate, "mnuRptByDate", "Report by &Date"},
             {&M::mnuRecordHistory, "mnuRecordHistory", "Record &History"}},
            nullptr);
    addMenu(mnuUtiliti, "mnuUtiliti", QStringLiteral("&Utility"),
            {{&M::mnuMaklumatPengguna, "mnuMaklumatPengguna", "Zorva &User ID"},
             {&M::mnuBackupRestore, "mnuBackupRestore", "&Backup/Restore"},
             {&M::mnuAssignLog, "mnuAssignLog", "View Assign L&og"},
             {&M::mnuImportRecords, "mnuImportRecords", "&Import Records..."},
             {&M::mnuExportRecords, "mnuExportRecords", "&Export All Records..."},
             {nullptr, nullptr, nullptr},
             {&M::mnuLiveUpdate, "mnuLiveUpdate", "&Live Update"},
             {&M::mnuIPMonitor, "mnuIPMonitor", "IP &Monitor"},
             {&M::mnuSubnetCalculator, "mnuSubnetCalculator", "Subnet &Calculator"},
             {nullptr, nullptr, nullptr}},
            nullptr);
    addMenu(mnuDatabase, "mnuDatabase", QStringLiteral("&Database"),
            {{&M::mnuChangeDBDir, "mnuChangeDBDir", "Change &Directory"},
             {&M::mnuCompactDB, "mnuCompactDB", "&Compact Database"}},
            mnuUtiliti);
    addMenu(mnuBantuan, "mnuBantuan", QStringLiteral("&Help"),
            {{&M::mnuHelp, "mnuHelp", "&Help"},
             {&M::mnuLamanWeb, "mnuLamanWeb", "Zorva &Intranet Web"},
             {nullptr, nullptr, nullptr},
             {&M::mnuWebPage, "mnuWebPage", "Zorva on the &Web"},
             {nullptr, nullptr, nullptr},
             {&M::mnuPerihal, "mnuPerihal", "&About Zorva"}},
            nullptr);

    // The usual keys, beside the mnemonics of the captions.
    // (Written out: the standard keys come from the desktop's theme, which may name none.)
    mnuInputRekod->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    mnuCarianRekod->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuHelp->setShortcut(QKeySequence(Qt::Key_F1));
    mnuKeluar->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    handlers_ = {
        {QStringLiteral("mnuInputRekod"), [this] { mnuInputRekod_Click(); }},
        {QStringLiteral("mnuDedicatedIP"), [this] { mnuDedicatedIP_Click(); }},
        {QStringLiteral("mnuScanNetwork"), [this] { mnuScanNetwork_Click(); }},
        {QStringLiteral("mnuTukarLogin"), [this] { mnuTukarLogin_Click(); }},
        {QStringLiteral("mnuKeluar"), [this] { mnuKeluar_Click(); }},
        {QStringLiteral("mnuLiveUpdate"), [this] { mnuLiveUpdate_Click(); }},
        {QStringLiteral("mnuIPMonitor"), [this] { mnuIPMonitor_Click(); }},
        {QStringLiteral("mnuChangeDBDir"), [this] { mnuChangeDBDir_Click(); }},
        {QStringLiteral("mnuCompactDB"), [this] { mnuCompactDB_Click(); }},
        {QStringLiteral("mnuHelp"), [this] { mnuHelp_Click(); }},
        {QStringLiteral("mnuLamanWeb"), [this] { mnuLamanWeb_Click(); }},
        {QStringLiteral("mnuWebPage"), [this] { mnuWebPage_Click(); }},
        {QStringLiteral("mnuPerihal"), [this] { mnuPerihal_Click(); }},
    };
}

} // namespace zorva

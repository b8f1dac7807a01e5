// The forms of the layout check and the data they show.
#include "app/MDIFrmUtama.h"
#include "app/frmAbout.h"
#include "app/frmCariDB.h"
#include "app/frmSplash.h"
#include "assign/AssignLog.h"
#include "assign/ScanWalk.h"
#include "assign/frmAssignLog.h"
#include "assign/frmIPRangePenuh.h"
#include "assign/frmNetScanRange.h"
#include "assign/frmZorvaMain.h"
#include "monitor/AddWatchDialog.h"
#include "monitor/MonitorWindow.h"
#include "plan/frmIPAddressSettings.h"
#include "plan/frmLocalSetting.h"
#include "plan/frmOctet2List.h"
#include "plan/frmOffsetList.h"
#include "plan/frmUnitDivision.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Ini.h"
#include "records/RecordSearch.h"
#include "records/frmCarian.h"
#include "records/frmIPAddGuna.h"
#include "records/frmIPAddressUsed.h"
#include "records/frmMaklumatIP.h"
#include "records/frmRptByDate.h"
#include "records/RecordHistoryForm.h"
#include "import/ImportForm.h"
#include "records/frmRptByLocation.h"
#include "records/report/ReportPreview.h"
#include "records/rptByDate.h"
#include "support/AssignPlan.h"
#include "support/PlanTest.h"
#include "tst_layout_forms.h"

#include <QFile>
#include "users/frmLogin.h"
#include "users/frmLoginSilap.h"
#include "users/frmSMTPSetup.h"
#include "users/frmTukarPassword.h"
#include "users/frmUser.h"
#include "utilities/frmBackupDB.h"
#include "utilities/frmChangeFolder.h"
#include "utilities/frmSplitterSplash.h"
#include "utilities/frmSubnetCal.h"

#include <QComboBox>
#include <QDate>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>

namespace zorva::test {

namespace {

using Opened = std::unique_ptr<QWidget>;

constexpr bool kChild = true;   // in the main window's area
constexpr bool kWindow = false; // a window of its own (modal)

// A form built and loaded as the program loads it before showing it.
template <class Form, class... Args> Opened loaded(Args&&... args) {
    auto f = std::make_unique<Form>(std::forward<Args>(args)...);
    f->runLoad();
    return f;
}

template <class Form> Opened plain(ScriptedUi&) { return loaded<Form>(); }

// Picks an entry of the named combo box as a user would.
void pick(QWidget* form, const char* box, const QString& text) {
    choose(child<QComboBox>(form, box), text);
}

// The settings tab `index`, its list's longest line shown (after the place is chosen).
LayoutCase settingsTab(const char* name, int index, const char* list, const QString& row,
                       std::function<void(QWidget*)> place = {}) {
    return {name, kChild, plain<frmIPAddressSettings>,
            [index, list, row, place](QWidget* form, ScriptedUi&) {
                static_cast<frmIPAddressSettings*>(form)->SSTabSetting->setCurrentIndex(index);
                if (place) place(form);
                QVERIFY(clickRow(child<QListWidget>(form, list), row));
            }};
}

ScanPosition scanPosition;

} // namespace

void addLayoutData(AppFixture& app) {
    addAssignPlan(app);
    const char* const statements[] = {
        "INSERT INTO Region VALUES ('Northern Region', 172, 0, '')",
        "INSERT INTO State VALUES ('Negeri Sembilan', 'N', 'Northern Region')",
        "INSERT INTO City VALUES ('Kuala Pilah Selatan', 'KPS', 20, 10, 0, 0, 'N', 'Northern Region')",
        "INSERT INTO Workgroup VALUES ('Finance Department', 'D', 5)",
        "INSERT INTO Equipment VALUES ('Network Printer', 'NP', 60, 80)",
        "INSERT INTO UnitDivision VALUES ('Finance Department', 'Level 12', 'Menara Utama', "
        "'Jalan Sultan Ismail', '50250', 'Kuala Lumpur', 'Wilayah Persekutuan', 'Northern', "
        "'Perak', 'Ipoh')",
    };
    for (const char* sql : statements) app.exec(QString::fromLatin1(sql));
    app.addUser("KAWAS1", "secret", "Kawasan Administrator", "Kawasan", "Northern Region",
                "kawasan@example.com");
    app.addUser("HQ1", "secret", "Hana binti Abdullah", "HQ");
    recordAddresses(app, "198.51.100.", {1, 2, 3});
    app.exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], [Type], Region, StateOwner, "
             "CityOwner, Workgroup, Status, Project, Remarks, Username, StaffNo, LANID, "
             "UnitDivision, Floor, Building, Roadname, Postcode, City, State, TelNo, FaxNo, "
             "DateIssue, InputBy) VALUES ('198.51.100.250', 250, 'PIHGNP250', 'Network Printer', "
             "'Northern', 'Perak', 'Ipoh', 'General', 'Permanent', 'Finance Upgrade 2026', "
             "'Second floor, beside the lift', 'Nur Aisyah binti Abdullah', 'S1234567', "
             "'naisyah', 'Finance Department', 'Level 12', 'Menara Utama', "
             "'Jalan Sultan Ismail', '50250', 'Kuala Lumpur', 'Wilayah Persekutuan', "
             "'03-2123 4567', '03-2123 4568', ?, 'Administrator')",
             {QDate::currentDate().toString(Qt::ISODate)});
    AssignLogFields entry{"198.51.100.250", "PIHGNP250", "Network Printer",
                          "Nur Aisyah binti Abdullah", "Finance Department", "Level 12",
                          "Menara Utama", "Jalan Sultan Ismail", "50250", "Kuala Lumpur",
                          "Wilayah Persekutuan"};
    appendAssignLog(assignLogEntry(entry, QDateTime::currentDateTime()));
    WriteIni("Network", "SMTP", "mail.example.com");
    WriteIni("Network", "Port", "25");
    WriteIni("Backup", "BackupLocation", app.folder());
    WriteIni("Database", "DatabaseLocation", app.folder());
    AppState& s = appState();
    s.gPickRegion = "Northern";
    s.gPickStateCode = "P";
    s.gEqpName = "Lab";
    s.gOctet4Start = 1;
    s.gOctet4End = 50;
}

LayoutSetting::LayoutSetting(AppFixture& app) {
    app.loginAs();
    addLayoutData(app);
}

const QList<LayoutCase>& layoutCases() {
    static const QList<LayoutCase> cases = {
        {"MDIFrmUtama", kWindow, [](ScriptedUi&) -> Opened { return std::make_unique<MDIFrmUtama>(); }},
        {"frmAbout", kWindow, plain<frmAbout>},
        {"frmSplash", kWindow, plain<frmSplash>,
         [](QWidget* f, ScriptedUi&) { child<QTimer>(f, "tim_delay")->stop(); }},
        {"frmCariDB", kWindow,
         [](ScriptedUi& ui) {
             ui.answerFile({}); // the file dialog cancelled: the configured folder stays
             return loaded<frmCariDB>();
         }},
        {"frmLogin", kWindow, plain<frmLogin>},
        {"frmLoginSilap", kWindow, plain<frmLoginSilap>},
        {"frmTukarPassword", kWindow, plain<frmTukarPassword>},
        {"frmSMTPSetup", kWindow, plain<frmSMTPSetup>},
        {"frmUser", kChild, plain<frmUser>,
         [](QWidget* f, ScriptedUi&) {
             QVERIFY(clickRow(child<QListWidget>(f, "lstUserName"), "Kawasan Administrator"));
         }},
        settingsTab("frmIPAddressSettings Area", 0, "LstRegion", "Northern Region"),
        settingsTab("frmIPAddressSettings State", 1, "lstState", "Negeri Sembilan",
                    [](QWidget* f) { pick(f, "cboRegionState", "Northern Region"); }),
        settingsTab("frmIPAddressSettings City", 2, "lstBandarCity", "Kuala Pilah Selatan",
                    [](QWidget* f) {
                        pick(f, "cboRegionCity", "Northern Region");
                        pick(f, "cboStateCity", "Negeri Sembilan");
                    }),
        settingsTab("frmIPAddressSettings WorkGroup", 3, "lstWorkgroup", "Finance Department"),
        settingsTab("frmIPAddressSettings Equipment", 4, "lstEquipment", "Network Printer"),
        {"frmLocalSetting", kWindow, plain<frmLocalSetting>},
        {"frmOctet2List", kWindow, plain<frmOctet2List>},
        {"frmOffsetList", kWindow, plain<frmOffsetList>},
        {"frmUnitDivision", kWindow, plain<frmUnitDivision>,
         [](QWidget* f, ScriptedUi&) {
             pick(f, "cboRegion", "Northern");
             pick(f, "cboState", "Perak");
             pick(f, "cboCity", "Ipoh");
             QVERIFY(clickRow(child<QListWidget>(f, "lstUnitDivision"), "Finance Department"));
         }},
        {"frmZorvaMain", kChild,
         [](ScriptedUi&) -> Opened { return openAssignForm(); },
         [](QWidget* f, ScriptedUi&) {
             auto* form = static_cast<frmZorvaMain*>(f);
             walkToIpoh(*form);
             choose(form->cboEquipment, "Lab");
         }},
        {"frmIPRangePenuh", kWindow, plain<frmIPRangePenuh>},
        {"frmNetScanRange", kWindow, [](ScriptedUi&) { return loaded<frmNetScanRange>(scanPosition); }},
        {"frmAssignLog", kChild, plain<frmAssignLog>},
        {"frmCarian", kChild, plain<frmCarian>,
         [](QWidget* f, ScriptedUi&) {
             auto* form = static_cast<frmCarian*>(f);
             form->OptCarian2->click();
             typeInto(form->txtCarian, "198.51.100.");
             form->cmdCari->click();
         }},
        {"frmMaklumatIP", kChild,
         [](ScriptedUi&) -> Opened {
             auto f = std::make_unique<frmMaklumatIP>();
             f->detailQuery = addressQuery("198.51.100.250");
             f->runLoad();
             return f;
         }},
        {"frmIPAddressUsed", kChild,
         [](ScriptedUi&) -> Opened {
             auto f = std::make_unique<frmIPAddressUsed>();
             f->liveInfoAddress = "198.51.100.250";
             f->runLoad();
             return f;
         }},
        {"frmIPAddGuna", kWindow,
         [](ScriptedUi&) -> Opened {
             auto f = std::make_unique<frmIPAddGuna>();
             f->liveInfoAddress = "198.51.100.250";
             f->liveInfoNote = frmIPAddGuna::usedNote;
             f->runLoad();
             return f;
         }},
        {"frmRptByDate", kChild, plain<frmRptByDate>,
         [](QWidget* f, ScriptedUi&) { click(f, "cmdOK"); }},
        {"RecordHistoryForm", kChild, plain<RecordHistoryForm>,
         [](QWidget* f, ScriptedUi&) {
             auto* form = static_cast<RecordHistoryForm*>(f);
             typeInto(form->txtAddress, "198.51.100.250");
             form->cmdFind->click();
         }},
        {"ImportForm", kChild, plain<ImportForm>,
         [](QWidget* f, ScriptedUi&) {
             auto* form = static_cast<ImportForm*>(f);
             const QString path = appState().gDbFolder + QStringLiteral("/layout.csv");
             QFile file(path);
             if (file.open(QIODevice::WriteOnly))
                 file.write("IP Address,Host name,User,Staff No,Notes,Extra\n10.1.1.1,PC-1,Ali,S1,,x\n"
                            "010.1.1.2,PC-2,Abu,S2,a long note on this row,y\n");
             file.close();
             form->openFile(path);
             form->cmdCheck->click();
         }},
        {"frmRptByLocation", kChild, plain<frmRptByLocation>,
         [](QWidget* f, ScriptedUi&) {
             pick(f, "cboRegion", "Northern");
             pick(f, "cboState", "Perak");
             pick(f, "cboCity", "Ipoh");
         }},
        {"MonitorWindow", kWindow,
         [](ScriptedUi&) -> Opened {
             Watch w;
             w.name = "Finance floor printers and phones";
             w.scope = "198.51.100.0/24, 198.51.101.10-200";
             w.windowFrom = "22:00";
             w.windowTo = "06:00";
             MonitorStore(database()).addWatch(w);
             runSql("INSERT INTO Monitor_Seen (IP_Address, IP_Num, FirstSeen, LastSeen, LastChecked, DnsName, "
                    "MacAddress, State) VALUES ('198.51.100.250', ?, '2026-12-01 08:00:00', '2026-12-09 08:00:00', "
                    "'2026-12-09 08:00:00', 'printer-finance-level12.example.org', 'AA:BB:CC:DD:EE:FF', 'down')",
                    {qint64(0xC6336400 + 250)});
             auto f = std::make_unique<MonitorWindow>();
             f->schedulePeriodMs = 0;
             f->runLoad();
             return f;
         },
         [](QWidget* f, ScriptedUi&) {
             auto* w = static_cast<MonitorWindow*>(f);
             w->grdWatches->selectRow(0);
             w->tabViews->setCurrentIndex(2);
         }},
        {"AddWatchDialog", kWindow, [](ScriptedUi&) -> Opened { return loaded<AddWatchDialog>(); }},
        {"ReportPreview", kWindow,
         [](ScriptedUi&) -> Opened {
             const QString today = QDate::currentDate().toString("dd/MM/yyyy");
             auto rows = dateRecords(nullptr, QDate::currentDate(), QDate::currentDate());
             return std::make_unique<report::ReportPreview>(
                 rptByDate(today, today, rows ? std::move(*rows) : std::vector<QStringList>{}));
         }},
        {"frmSubnetCal", kWindow, plain<frmSubnetCal>,
         [](QWidget* f, ScriptedUi&) {
             auto* form = static_cast<frmSubnetCal*>(f);
             const QStringList address{"192", "168", "7", "9"}, mask{"255", "255", "255", "192"};
             for (int i = 0; i < 4; ++i) {
                 form->txtip[i]->setText(address[i]);
                 form->txtsm[i]->setText(mask[i]);
             }
             form->cmdCalculate->click();
         }},
        {"frmBackupDB", kChild, plain<frmBackupDB>},
        {"frmChangeFolder", kWindow, plain<frmChangeFolder>},
        {"frmSplitterSplash", kWindow, plain<frmSplitterSplash>,
         [](QWidget* f, ScriptedUi&) {
             // As the split shows it: sized to its message.
             static_cast<frmSplitterSplash*>(f)->ShowMessage(
                 QStringLiteral("Copying Zorvadb.mdb.001 to /media/backup/Zorva ..."));
         }},
    };
    return cases;
}

} // namespace zorva::test

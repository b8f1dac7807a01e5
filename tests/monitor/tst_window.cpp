// The monitor's window driven as a user would, no window on screen: adding watches (good and
// bad input), Sweep now with the fake pinger filling the views, Cancel, the failures told,
// the timer's one-at-a-time sweeps, an area user kept to his area, reclaim marks seen in the
// record detail, the export.
#include "MonitorTest.h"
#include "monitor/AddWatchDialog.h"
#include "monitor/MonitorGrid.h"
#include "monitor/MonitorStart.h"
#include "monitor/MonitorWindow.h"
#include "platform/Builders.h"
#include "platform/FormBase.h"
#include "records/RecordSearch.h"
#include "records/frmMaklumatIP.h"
#include "platform/AppState.h"
#include "users/frmLogin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimeEdit>

using namespace zorva;
using namespace zorva::test;

namespace {

QStringList column(const MonitorGrid* grid, int c = 0) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r) out << grid->shownRow(r).value(c);
    return out;
}

QStringList listed(const MonitorWindow& w) {
    QStringList out;
    for (int r = 0; r < w.grdWatches->rowCount(); ++r) out << w.grdWatches->item(r, 0)->text();
    return out;
}

void choose(MonitorWindow& w, const QString& watch) {
    const int row = int(listed(w).indexOf(watch));
    QVERIFY2(row >= 0, qPrintable(watch));
    w.grdWatches->selectRow(row);
}

void waitForSweep(MonitorWindow& w) { QTRY_VERIFY_WITH_TIMEOUT(!w.scheduler->isRunning(), 20000); }

} // namespace

class TestWindow : public ZorvaTest {
    Q_OBJECT
    std::unique_ptr<SwitchPinger> pinger_;
    std::unique_ptr<NameTable> names_;

    std::unique_ptr<MonitorWindow> open() {
        auto w = std::make_unique<MonitorWindow>();
        w->schedulePeriodMs = 0;
        SweepOptions o;
        o.timeoutMs = 200;
        o.attempts = 1;
        o.lookupBudgetMs = 2000;
        w->scheduler->options = o;
        w->runLoad();
        return w;
    }

    // Runs the add-watch dialog with `fill`; returns whether it closed by adding.
    bool addThroughDialog(MonitorWindow& w, std::function<void(AddWatchDialog&)> fill, bool* stayedOpen = nullptr) {
        bool added = false;
        sui().onModal("AddWatchDialog", [&](QDialog& d) {
            auto& dialog = static_cast<AddWatchDialog&>(d);
            fill(dialog);
            dialog.cmdAdd->click();
            added = dialog.isUnloaded() && dialog.result() == QDialog::Accepted;
            if (stayedOpen) *stayedOpen = !dialog.isUnloaded();
            if (!dialog.isUnloaded()) dialog.cmdCancel->click();
        });
        w.cmdAddWatch->click();
        return added;
    }

protected:
    void setUp() override {
        pinger_ = std::make_unique<SwitchPinger>();
        names_ = std::make_unique<NameTable>();
        addPlan(app());
        addRecord(app(), "10.1.0.1", "pc01", "North");
        addRecord(app(), "10.1.0.2", "pc02", "North");
        addRecord(app(), "20.5.7.101", "gw", "South");
        app().loginAs("ADMIN");
    }
    void tearDown() override {
        names_.reset();
        pinger_.reset();
    }

private slots:
    // ZorvaMon without a command: the program's login, then the window with the user's rules.
    void loginOpensTheWindow_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("area");
        QTest::newRow("area user") << "KAW1" << "North";
        QTest::newRow("headquarters") << "HQ1" << "";
    }
    void loginOpensTheWindow() {
        QFETCH(QString, user);
        QFETCH(QString, area);
        app().addUser("KAW1", "pw", "Area Admin", "Kawasan", "North");
        app().addUser("HQ1", "pw", "Head Office", "HQ");
        appState().gUserID.clear();
        appState().gUserGroup.clear();
        sui().onModal("frmLogin", [user](QDialog& d) {
            auto& login = static_cast<frmLogin&>(d);
            QVERIFY(login.chkLiveUpdate->isHidden()); // the version check is the main program's
            QTest::keyClicks(login.txtUserID, user);
            QTest::keyClicks(login.txtPassword, "pw");
            login.CmdTeruskan->click();
        });
        std::unique_ptr<MonitorWindow> w(openMonitorWindow());
        QVERIFY(w);
        QCOMPARE(w->area(), area);
        QCOMPARE(w->windowTitle().contains("North"), !area.isEmpty());
        QCOMPARE(appState().gUserID, user);
    }
    // A Kawasan user whose area is not set would see every address: he gets no window.
    void areaUserWithoutArea() {
        app().addUser("KAW2", "pw", "No Area", "Kawasan");
        app().loginAs("KAW2");
        addWatch("lab", "10.1.0.0/29");
        MonitorWindow w;
        w.schedulePeriodMs = 0;
        w.runLoad();
        QVERIFY(w.isUnloaded());
        QVERIFY(sui().take().text.contains("no area"));
        QCOMPARE(w.grdWatches->rowCount(), 0);
    }
    void loginGivenUp() {
        appState().gUserID.clear();
        sui().onModal("frmLogin", [](QDialog& d) { static_cast<frmLogin&>(d).cmdExit->click(); });
        QVERIFY(!openMonitorWindow());
        QCOMPARE(sui().endRequests, 1);
    }

    void addWatchInDialog_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ranges");
        QTest::addColumn<int>("confirm"); // 0 no question, else the answer (Yes/No)
        QTest::addColumn<QString>("message");
        QTest::newRow("prefix") << "lab" << "10.1.2.0/24" << 0 << "";
        QTest::newRow("short range") << "lab" << "10.1.2.10-200" << 0 << "";
        QTest::newRow("several") << "lab" << "10.1.2.7, 10.1.3.0/30" << 0 << "";
        QTest::newRow("octet above 255") << "lab" << "10.1.2.300" << 0 << "10.1.2.300";
        QTest::newRow("prefix above 32") << "lab" << "10.1.2.0/33" << 0 << "10.1.2.0/33";
        QTest::newRow("nothing typed") << "lab" << "" << 0 << "Type the addresses to watch";
        QTest::newRow("no name") << " " << "10.1.2.0/24" << 0 << "Give the watch a name.";
        QTest::newRow("above a /16, confirmed") << "big" << "10.0.0.0/15" << int(Button::Yes) << "";
        QTest::newRow("above a /16, declined") << "big" << "10.0.0.0/15" << int(Button::No) << "";
    }
    void addWatchInDialog() {
        QFETCH(QString, name);
        QFETCH(QString, ranges);
        QFETCH(int, confirm);
        QFETCH(QString, message);
        auto w = open();
        if (confirm) sui().answerNext(Button(confirm));
        bool stayedOpen = false;
        QString kept;
        const bool added = addThroughDialog(*w, [&](AddWatchDialog& d) {
            QTest::keyClicks(d.txtName, name);
            QTest::keyClicks(d.txtRanges, ranges);
            QCOMPARE(d.spnInterval->value(), 15);
            QCOMPARE(d.spnRate->value(), 500);
        }, &stayedOpen);
        const bool good = message.isEmpty() && confirm != int(Button::No);
        QCOMPARE(added, good);
        QCOMPARE(stayedOpen, !good);
        if (confirm) {
            const RecordedMessage q = sui().take();
            QVERIFY2(q.text.contains("131,072 addresses") && q.buttons == (Button::Yes | Button::No), qPrintable(q.text));
        }
        if (!message.isEmpty()) {
            const RecordedMessage m = sui().take();
            QVERIFY2(m.text.contains(message), qPrintable(m.text));
            QCOMPARE(m.icon, Icon::Warning);
        }
        QCOMPARE(app().count("Monitor_Watch"), good ? 1 : 0);
        QCOMPARE(listed(*w), good ? QStringList{name} : QStringList{});
        if (good) {
            const auto stored = MonitorStore(database()).watch(name);
            QVERIFY(stored);
            QCOMPARE(stored->scope, ranges);
            QCOMPARE(stored->intervalMinutes, 15);
            QCOMPARE(stored->rateLimit, 500);
            QVERIFY(stored->windowFrom.isEmpty());
        }
    }

    void addPlanWatchWithWindow() {
        auto w = open();
        QVERIFY(addThroughDialog(*w, [](AddWatchDialog& d) {
            QTest::keyClicks(d.txtName, "printers");
            d.optPlan->click();
            QVERIFY(!isEditable(d.txtRanges) && isEditable(d.cboArea));
            d.cboArea->setCurrentText("North");
            d.cboCity->setCurrentText("Alpha");
            d.cboEquipment->setCurrentText("Lab Printer");
            d.spnInterval->setValue(60);
            d.spnRate->setValue(50);
            d.chkWindow->click();
            d.tmFrom->setTime(QTime(22, 0));
            d.tmTo->setTime(QTime(6, 0));
        }));
        const auto stored = MonitorStore(database()).watch("printers");
        QVERIFY(stored);
        QCOMPARE(stored->kind, WatchKind::Equipment);
        QCOMPARE(stored->scope, QString("North/Alpha/Lab Printer"));
        QCOMPARE(stored->windowFrom + "-" + stored->windowTo, QString("22:00-06:00"));
        QCOMPARE(w->grdWatches->item(0, 5)->text(), QString("22:00-06:00"));
        QCOMPARE(w->grdWatches->item(0, 3)->text(), QString("60 min"));
        // A second watch of the same name is refused by the store, the dialog keeps the input.
        bool stayedOpen = false;
        QVERIFY(!addThroughDialog(*w, [](AddWatchDialog& d) {
            QTest::keyClicks(d.txtName, "printers");
            QTest::keyClicks(d.txtRanges, "10.1.2.0/24");
        }, &stayedOpen));
        QVERIFY(stayedOpen);
        QCOMPARE(sui().take().title, QString("Error !!!"));
        QCOMPARE(app().count("Monitor_Watch"), 1);
    }

    void sweepNowFillsTheViews() {
        addWatch("lab", "10.1.0.0/29");
        pinger_->live = {"10.1.0.1", "10.1.0.5"};
        names_->names = {{"10.1.0.1", "other.example.org"}};
        auto w = open();
        QVERIFY(!w->cmdSweepNow->isEnabled()); // nothing chosen
        choose(*w, "lab");
        w->cmdSweepNow->click();
        QVERIFY(w->cmdCancel->isEnabled() && !w->cmdSweepNow->isEnabled() && !w->cmdRemoveWatch->isEnabled());
        waitForSweep(*w);
        QVERIFY2(w->lblStatus->text().contains("lab: 8 addresses, 2 live"), qPrintable(w->lblStatus->text()));
        QVERIFY(!w->cmdCancel->isEnabled() && w->cmdSweepNow->isEnabled());
        QCOMPARE(column(w->gridUnrecorded), QStringList{"10.1.0.5"});
        QCOMPARE(column(w->gridNeverSeen), QStringList{"10.1.0.2"});
        QCOMPARE(column(w->gridNames), QStringList{"10.1.0.1"});
        QCOMPARE(column(w->gridNames, 2), QStringList{"other.example.org"});
        QVERIFY(column(w->gridChanges, 2).contains(monitor::kNew));
        QVERIFY(w->grdWatches->item(0, 6)->text() != "-"); // last sweep
        QCOMPARE(app().count("Monitor_Seen"), 8);
    }

    void cancelRecordsNothing() {
        addWatch("lab", "10.1.0.0/24");
        pinger_->live = {"10.1.0.1"};
        auto w = open();
        choose(*w, "lab");
        w->cmdSweepNow->click();
        w->cmdCancel->click();
        waitForSweep(*w);
        QVERIFY(sui().take().text.contains("cancelled; nothing was recorded"));
        QCOMPARE(app().count("Monitor_Seen"), 0);
        QVERIFY(!MonitorStore(database()).watch("lab")->lastSweep.isValid());
    }

    // What stops a sweep is told in a message box, and nothing of it is kept.
    void failuresTold_data() {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QStringList>("said");
        QTest::newRow("no ICMP socket") << 0 << QStringList{"No echo could be sent", "ping_group_range", "setcap cap_net_raw+ep"};
        QTest::newRow("another monitor") << 1 << QStringList{"being swept by another monitor"};
        QTest::newRow("database gone mid-sweep") << 2 << QStringList{"The sweep of \"lab\" failed", "nothing of it was recorded"};
    }
    void failuresTold() {
        QFETCH(int, fault);
        QFETCH(QStringList, said);
        addWatch("lab", "10.1.0.0/29");
        pinger_->live = {"10.1.0.1"};
        pinger_->noSocket = fault == 0;
        if (fault == 1)
            app().exec("UPDATE Monitor_Watch SET LeaseHolder = 'other:1', LeaseUntil = ?",
                       {monitor::storedTime(QDateTime::currentDateTimeUtc().addSecs(3600))});
        auto w = open();
        choose(*w, "lab");
        w->cmdSweepNow->click();
        // The table of what was seen goes away while the echoes are out.
        if (fault == 2) app().exec("ALTER TABLE Monitor_Seen RENAME TO Monitor_Seen_Gone");
        waitForSweep(*w);
        const RecordedMessage m = sui().take();
        for (const QString& s : said) QVERIFY2(m.text.contains(s, Qt::CaseInsensitive), qPrintable(m.text));
        QVERIFY(!MonitorStore(database()).watch("lab")->lastSweep.isValid());
        if (fault == 2) app().exec("ALTER TABLE Monitor_Seen_Gone RENAME TO Monitor_Seen");
        QCOMPARE(app().count("Monitor_Seen"), 0);
        QCOMPARE(app().count("Monitor_Change"), 0);
    }

    // The timer's turn: one sweep at a time, each due watch in turn, then none.
    void dueWatchesOneAtATime() {
        addWatch("one", "10.1.0.0/30");
        addWatch("two", "10.1.0.4/30");
        auto w = open();
        QVERIFY(w->scheduler->sweepDue());
        QVERIFY(!w->scheduler->sweepDue());      // never two at once
        QVERIFY(!w->scheduler->sweepNow("two")); // nor when asked
        waitForSweep(*w);
        QVERIFY(w->scheduler->sweepDue());
        waitForSweep(*w);
        QVERIFY(!w->scheduler->sweepDue()); // both swept, none due until their interval ends
        const auto watches = MonitorStore(database()).watches();
        for (const Watch& x : *watches) QVERIFY2(x.lastSweep.isValid() && x.nextDue > x.lastSweep, qPrintable(x.name));
        QCOMPARE(app().count("Monitor_Seen"), 8);
    }

    // The timer's sweeps do not pile up messages: a failure is told once until a sweep works,
    // a watch another monitor holds is left to it without a word.
    void timerTellsAFailureOnce() {
        addWatch("lab", "10.1.0.0/30");
        addWatch("held", "10.1.0.4/30");
        app().exec("UPDATE Monitor_Watch SET LeaseHolder = 'other:1', LeaseUntil = ? WHERE [Name] = 'held'",
                   {monitor::storedTime(QDateTime::currentDateTimeUtc().addSecs(3600))});
        pinger_->noSocket = true;
        auto w = open();
        for (int round = 0; round < 2; ++round) {
            QVERIFY(w->scheduler->sweepDue()); // "lab" stays due after a sweep that saw nothing
            waitForSweep(*w);
        }
        const RecordedMessage m = sui().take();
        QVERIFY2(m.text.contains("ping_group_range"), qPrintable(m.text));
        QCOMPARE(sui().pendingMessages(), 0);
        pinger_->noSocket = false;
        QVERIFY(w->scheduler->sweepDue());
        waitForSweep(*w);
        QVERIFY(MonitorStore(database()).watch("lab")->lastSweep.isValid());
        QVERIFY(!w->scheduler->sweepDue()); // only the held one is due
        QCOMPARE(sui().pendingMessages(), 0);
        QVERIFY(!MonitorStore(database()).watch("held")->lastSweep.isValid());
    }

    void areaUserKeepsToHisArea() {
        app().addUser("KAW1", "pw", "Area Admin", "Kawasan", "North");
        app().loginAs("KAW1");
        addWatch("north", "10.1.0.0/29");
        addWatch("south", "20.5.7.96/28");
        addWatch("south plan", "area:South");
        pinger_->live = {"10.1.0.3", "20.5.7.120"};
        auto w = open();
        QCOMPARE(listed(*w), QStringList{"north"});
        // The timer sweeps his watches only, though all are due.
        QVERIFY(w->scheduler->sweepDue());
        waitForSweep(*w);
        QVERIFY(!w->scheduler->sweepDue());
        QVERIFY(!MonitorStore(database()).watch("south")->lastSweep.isValid());
        QCOMPARE(column(w->gridUnrecorded), QStringList{"10.1.0.3"});
        // The dialog offers his area only and refuses a range outside it.
        bool stayedOpen = false;
        QVERIFY(!addThroughDialog(*w, [](AddWatchDialog& d) {
            QCOMPARE(d.cboArea->count(), 1);
            QCOMPARE(d.cboArea->currentText(), QString("North"));
            QTest::keyClicks(d.txtName, "mine?");
            QTest::keyClicks(d.txtRanges, "10.1.0.0/24, 20.5.7.0/24");
        }, &stayedOpen));
        QVERIFY(stayedOpen);
        QVERIFY(sui().take().text.contains("outside the area North"));
        QVERIFY(addThroughDialog(*w, [](AddWatchDialog& d) {
            QTest::keyClicks(d.txtName, "beta");
            d.optPlan->click();
            d.cboCity->setCurrentText("Beta");
        }));
        QCOMPARE(listed(*w), (QStringList{"beta", "north"}));
    }

    void reclaimMarksShowInTheRecordDetail() {
        addWatch("lab", "10.1.0.0/29");
        pinger_->live = {"10.1.0.1"};
        auto w = open();
        QVERIFY(w->scheduler->sweepNow("lab"));
        waitForSweep(*w);
        QCOMPARE(column(w->gridNeverSeen), QStringList{"10.1.0.2"});
        const int history = app().count("IP_History", "IP_Address = ?", {"10.1.0.2"});
        w->cmdMark->click(); // nothing chosen
        QVERIFY(sui().take().text.contains("Choose the addresses"));
        w->gridNeverSeen->grid->selectRow(0);
        w->cmdMark->click();
        QCOMPARE(w->lblStatus->text(), QString("1 marked for reclaim."));
        QVERIFY(!column(w->gridNeverSeen, 6).value(0).isEmpty()); // the mark's time in the list
        const auto detail = [] {
            auto d = std::make_unique<frmMaklumatIP>();
            d->detailQuery = addressQuery("10.1.0.2");
            d->runLoad();
            return d;
        };
        {
            auto d = detail();
            QCOMPARE(d->lblReclaim->text(),
                     "Marked for reclaim by ADMIN on " + QDate::currentDate().toString(Qt::ISODate));
            QVERIFY(!d->lblReclaim->isHidden());
        }
        w->gridNeverSeen->grid->selectRow(0);
        w->cmdMark->click(); // marked already: told, nothing doubled
        QVERIFY(sui().take().text.contains("marked for reclaim already"));
        QCOMPARE(app().count("Monitor_Reclaim"), 1);
        w->gridNeverSeen->grid->selectRow(0);
        w->cmdUnmark->click();
        QCOMPARE(app().count("Monitor_Reclaim"), 0);
        QCOMPARE(app().count("IP_History", "IP_Address = ?", {"10.1.0.2"}), history + 2); // the mark and its end
        auto d = detail();
        QVERIFY(d->lblReclaim->text().isEmpty() && d->lblReclaim->isHidden());
        QCOMPARE(app().count("IP_Info"), 3); // nothing deleted
    }

    void removeWatchKeepsWhatItSaw() {
        addWatch("lab", "10.1.0.0/29");
        pinger_->live = {"10.1.0.1"};
        auto w = open();
        QVERIFY(w->scheduler->sweepNow("lab"));
        waitForSweep(*w);
        choose(*w, "lab");
        sui().answerNext(Button::No);
        w->cmdRemoveWatch->click();
        QVERIFY(sui().take().text.contains("Remove the watch \"lab\""));
        QCOMPARE(app().count("Monitor_Watch"), 1);
        sui().answerNext(Button::Yes);
        w->cmdRemoveWatch->click();
        sui().take();
        QCOMPARE(app().count("Monitor_Watch"), 0);
        QCOMPARE(listed(*w), QStringList{});
        QCOMPARE(app().count("Monitor_Seen"), 8);
        QCOMPARE(app().count("Monitor_Sweep"), 1);
        QCOMPARE(app().count("IP_Info"), 3);
    }

    void exportCsvAndPdf() {
        addWatch("lab", "10.1.0.0/28");
        pinger_->live = {"10.1.0.9", "10.1.0.10", "10.1.0.5"};
        auto w = open();
        QVERIFY(w->scheduler->sweepNow("lab"));
        waitForSweep(*w);
        // Sorted as addresses, not as texts.
        w->gridUnrecorded->grid->sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(column(w->gridUnrecorded), (QStringList{"10.1.0.10", "10.1.0.9", "10.1.0.5"}));
        const QString csv = app().path("unrecorded.csv"), pdf = app().path("unrecorded.pdf");
        sui().answerFile(csv);
        w->gridUnrecorded->cmdCsv->click();
        QFile f(csv);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        QCOMPARE(lines.value(0), QByteArray("Address,First seen,Last seen,Reply (ms),DNS name,Hardware address\r"));
        QCOMPARE(lines.size(), 5); // heading, three rows, the end of the last line
        QVERIFY(lines.value(1).startsWith("10.1.0.5,"));
        sui().answerFile(pdf);
        w->gridUnrecorded->cmdPdf->click();
        QFile p(pdf);
        QVERIFY(p.open(QIODevice::ReadOnly));
        QVERIFY(p.read(5) == "%PDF-");
        sui().answerFile(QString()); // cancelled: nothing written, nothing said
        w->gridNames->cmdCsv->click();
        QVERIFY(!QFile::exists(app().path("Names.csv")));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"

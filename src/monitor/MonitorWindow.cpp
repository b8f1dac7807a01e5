#include "monitor/MonitorWindow.h"
#include "monitor/AddWatchDialog.h"
#include "monitor/MonitorGrid.h"
#include "monitor/MonitorRules.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Session.h"

#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorva {

namespace {
const QString kTitle = QStringLiteral("IP Monitor");
} // namespace

MonitorWindow::MonitorWindow(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("MonitorWindow"));
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Window);
    scheduler = new MonitorScheduler(database(), this);
    buildUi();
    connect(scheduler, &MonitorScheduler::started, this, &MonitorWindow::sweepStarted);
    connect(scheduler, &MonitorScheduler::progress, this, &MonitorWindow::sweepProgress);
    connect(scheduler, &MonitorScheduler::ended, this, &MonitorWindow::sweepEnded);
    connect(scheduler, &MonitorScheduler::failed, this, [this](const QString& e) { lblStatus->setText(e); });
}

void MonitorWindow::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    grdWatches = named<QTableWidget>("grdWatches", 0, int(watchColumns().size()), this);
    grdWatches->setHorizontalHeaderLabels(watchColumns());
    grdWatches->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdWatches->setSelectionMode(QAbstractItemView::SingleSelection);
    grdWatches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdWatches->verticalHeader()->hide();
    grdWatches->horizontalHeader()->setStretchLastSection(true);
    top->addWidget(grdWatches, 1);
    auto* buttons = new QVBoxLayout;
    cmdAddWatch = plainButton("cmdAddWatch", QStringLiteral("Add Watch..."), this);
    cmdRemoveWatch = plainButton("cmdRemoveWatch", QStringLiteral("Remove Watch"), this);
    cmdSweepNow = plainButton("cmdSweepNow", QStringLiteral("Sweep Now"), this);
    cmdCancel = plainButton("cmdCancel", QStringLiteral("Cancel Sweep"), this);
    cmdClose = plainButton("cmdClose", QStringLiteral("Close"), this);
    for (QPushButton* b : {cmdAddWatch, cmdRemoveWatch, cmdSweepNow, cmdCancel}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    top->addLayout(buttons);
    auto* watches = new QWidget(this);
    watches->setLayout(top);
    top->setContentsMargins(0, 0, 0, 0);

    prgSweep = named<QProgressBar>("prgSweep", this);
    lblStatus = named<QLabel>("lblStatus", this);
    lblStatus->setWordWrap(true);
    auto* status = new QHBoxLayout;
    status->addWidget(prgSweep, 1);
    status->addWidget(lblStatus, 2);

    tabViews = named<QTabWidget>("tabViews", this);
    gridUnrecorded = new MonitorGrid(QStringLiteral("Unrecorded"), QStringLiteral("Answering, not recorded"), tabViews);
    gridNames = new MonitorGrid(QStringLiteral("Names"), QStringLiteral("DNS name differs from the host name"), tabViews);
    gridHardware = new MonitorGrid(QStringLiteral("Hardware"), QStringLiteral("Hardware address anomalies"), tabViews);
    gridChanges = new MonitorGrid(QStringLiteral("Changes"), QStringLiteral("Changes of the last sweep"), tabViews);
    tabViews->addTab(gridUnrecorded, QStringLiteral("Not Recorded"));
    tabViews->addTab(notSeenPage(), QStringLiteral("Not Seen"));
    tabViews->addTab(gridNames, QStringLiteral("Names Differ"));
    tabViews->addTab(gridHardware, QStringLiteral("Hardware"));
    tabViews->addTab(gridChanges, QStringLiteral("Last Sweep"));

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(watches);
    split->addWidget(tabViews);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);
    layout->addLayout(status);

    connect(cmdAddWatch, &QPushButton::clicked, this, &MonitorWindow::cmdAddWatch_Click);
    connect(cmdRemoveWatch, &QPushButton::clicked, this, &MonitorWindow::cmdRemoveWatch_Click);
    connect(cmdSweepNow, &QPushButton::clicked, this, &MonitorWindow::cmdSweepNow_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &MonitorWindow::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, [this] { unload(); });
    connect(grdWatches, &QTableWidget::itemSelectionChanged, this, [this] {
        followState();
        showChanges(); // the last sweep's changes follow the chosen watch
    });
}

QWidget* MonitorWindow::notSeenPage() {
    auto* page = new QWidget(tabViews);
    auto* layout = new QVBoxLayout(page);
    spnDays = named<QSpinBox>("spnDays", page);
    spnDays->setRange(1, 3650);
    spnDays->setValue(30);
    spnDays->setSuffix(QStringLiteral(" days"));
    cmdMark = plainButton("cmdMark", QStringLiteral("Mark for Reclaim"), page);
    cmdUnmark = plainButton("cmdUnmark", QStringLiteral("Unmark"), page);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Recorded, not seen for"), page));
    head->addWidget(spnDays);
    head->addStretch(1);
    head->addWidget(cmdMark);
    head->addWidget(cmdUnmark);
    layout->addLayout(head);
    gridNotSeen = new MonitorGrid(QStringLiteral("NotSeen"), QStringLiteral("Not seen"), page);
    gridNeverSeen = new MonitorGrid(QStringLiteral("NeverSeen"), QStringLiteral("Never seen"), page);
    layout->addWidget(gridNotSeen, 1);
    layout->addWidget(gridNeverSeen, 1);
    connect(spnDays, &QSpinBox::valueChanged, this, &MonitorWindow::showNotSeen);
    connect(cmdMark, &QPushButton::clicked, this, &MonitorWindow::cmdMark_Click);
    connect(cmdUnmark, &QPushButton::clicked, this, &MonitorWindow::cmdUnmark_Click);
    return page;
}

void MonitorWindow::Form_Load() {
    if (session().isAreaUser()) {
        area_ = session().userArea();
        // An empty area would mean every address.
        if (area_.isEmpty()) {
            ui().message(this, Icon::Warning, kTitle,
                         QStringLiteral("Your user belongs to the group Kawasan but to no area, and the monitor "
                                        "shows an area's addresses only. Ask the system administrator to set your area."));
            unload();
            return;
        }
        setWindowTitle(QStringLiteral("%1 - %2").arg(kTitle, area_));
    }
    const QString area = area_;
    scheduler->mine = [area](const Watch& w) { return watchInArea(database(), w, area); };
    showWatches();
    showViews();
    followState();
    scheduler->setPeriod(schedulePeriodMs);
}

bool MonitorWindow::failed(const QString& error) {
    ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
    return false;
}

QString MonitorWindow::chosenWatch() const {
    const auto rows = grdWatches->selectionModel()->selectedRows();
    return rows.isEmpty() ? QString() : grdWatches->item(rows.first().row(), 0)->text();
}

void MonitorWindow::showWatches() {
    const QString chosen = chosenWatch();
    QString error;
    const auto watches = MonitorStore(database()).watches(&error);
    if (!watches) return (void)failed(error);
    const QSignalBlocker quiet(grdWatches);
    grdWatches->setRowCount(0);
    for (const Watch& w : *watches) {
        if (!watchInArea(database(), w, area_)) continue;
        const int row = grdWatches->rowCount();
        grdWatches->insertRow(row);
        const QStringList cells = watchRow(w);
        for (int c = 0; c < cells.size(); ++c) grdWatches->setItem(row, c, new QTableWidgetItem(cells[c]));
        if (w.name == chosen) grdWatches->selectRow(row);
    }
    grdWatches->resizeColumnsToContents();
    followState();
}

QString MonitorWindow::scopeText() const {
    return area_.isEmpty() ? QStringLiteral("all areas") : QStringLiteral("area ") + area_;
}

// Each view in its grid; false (the failure shown) when one cannot be read.
bool MonitorWindow::showView(MonitorGrid* grid, const std::optional<MonitorTable>& table, const QString& error,
                         const QString& scope) {
    if (!table) return failed(error);
    grid->setTable(*table, scope);
    return true;
}

void MonitorWindow::showViews() {
    const QSqlDatabase db = database();
    QString error;
    (void)(showView(gridUnrecorded, liveUnrecorded(db, area_, &error), error, scopeText()) &&
           showView(gridNeverSeen, recordedNeverSeen(db, area_, &error), error, scopeText()) &&
           showView(gridNames, nameMismatches(db, area_, &error), error, scopeText()) &&
           showView(gridHardware, hardwareAnomalies(db, area_, &error), error, scopeText()) && showNotSeen() &&
           showChanges());
}

bool MonitorWindow::showChanges() {
    const QString watch = chosenWatch();
    QString error;
    return showView(gridChanges, lastSweepChanges(database(), watch, area_, &error), error,
                watch.isEmpty() ? scopeText() : QStringLiteral("%1, watch %2").arg(scopeText(), watch));
}

bool MonitorWindow::showNotSeen() {
    QString error;
    return showView(gridNotSeen, recordedNotSeen(database(), spnDays->value(), area_, &error), error,
                QStringLiteral("%1, not seen for %2 days").arg(scopeText()).arg(spnDays->value()));
}

void MonitorWindow::followState() {
    const bool running = scheduler->isRunning();
    const bool chosen = !chosenWatch().isEmpty();
    cmdSweepNow->setEnabled(chosen && !running);
    cmdRemoveWatch->setEnabled(chosen && !running);
    cmdCancel->setEnabled(running);
    if (!running) prgSweep->reset();
}

void MonitorWindow::cmdAddWatch_Click() {
    AddWatchDialog dialog(area_, this);
    if (ui().showModal(dialog) != QDialog::Accepted) return;
    showWatches();
    lblStatus->setText(QStringLiteral("Watch \"%1\" added.").arg(dialog.added()));
}

void MonitorWindow::cmdRemoveWatch_Click() {
    const QString watch = chosenWatch();
    if (watch.isEmpty()) return;
    if (ui().message(this, Icon::Question, kTitle,
                     QStringLiteral("Remove the watch \"%1\" ? What its sweeps saw and the records stay.").arg(watch),
                     Button::Yes | Button::No, Button::No) != Button::Yes)
        return;
    QString error;
    if (!MonitorStore(database()).removeWatch(watch, &error)) return (void)failed(error);
    showWatches();
    lblStatus->setText(QStringLiteral("Watch \"%1\" removed.").arg(watch));
}

void MonitorWindow::cmdSweepNow_Click() {
    const QString watch = chosenWatch();
    if (watch.isEmpty()) return;
    if (!scheduler->sweepNow(watch))
        ui().message(this, Icon::Information, kTitle,
                     QStringLiteral("The watch \"%1\" is being swept now; wait for its end or cancel it.").arg(scheduler->current()));
}

void MonitorWindow::cmdCancel_Click() { scheduler->cancel(); }

void MonitorWindow::sweepStarted(const QString& watch) {
    prgSweep->setRange(0, 0);
    lblStatus->setText(QStringLiteral("Sweeping \"%1\"...").arg(watch));
    followState();
}

void MonitorWindow::sweepProgress(qint64 done, qint64 total) {
    // The bar counts in thousandths, whatever the size of the range.
    prgSweep->setRange(0, 1000);
    prgSweep->setValue(total > 0 ? int(done * 1000 / total) : 0);
    lblStatus->setText(QStringLiteral("Sweeping \"%1\": %2 of %3 addresses").arg(scheduler->current()).arg(done).arg(total));
}

void MonitorWindow::sweepEnded(const QString& watch, MonitorSweep::Outcome outcome, const QString& message,
                               const SweepCounts& counts, double seconds, bool asked) {
    const SweepNews news = sweepNews(outcome, watch, message, counts, seconds);
    lblStatus->setText(news.text.section(QLatin1Char('\n'), 0, 0));
    followState();
    if (outcome == MonitorSweep::Outcome::Done) {
        failureTold_.clear();
        showWatches();
        showViews();
        return;
    }
    // The timer's sweeps tell a failure once, not at every try.
    if (news.icon == Icon::None || (!asked && (news.icon != Icon::Critical || failureTold_ == news.text))) return;
    if (!asked) failureTold_ = news.text;
    ui().message(this, news.icon, kTitle, news.text);
}

void MonitorWindow::changeMarks(bool mark) {
    const QStringList chosen = gridNotSeen->chosenAddresses() + gridNeverSeen->chosenAddresses();
    if (chosen.isEmpty()) {
        ui().message(this, Icon::Information, kTitle, QStringLiteral("Choose the addresses in the lists first."));
        return;
    }
    MonitorStore store(database());
    QStringList refused;
    for (const QString& a : chosen) {
        QString error;
        if (!(mark ? store.markReclaim(a, &error) : store.unmarkReclaim(a, &error))) refused << error;
    }
    showViews();
    const qsizetype changed = chosen.size() - refused.size();
    lblStatus->setText(QStringLiteral("%1 %2.").arg(changed).arg(mark ? QStringLiteral("marked for reclaim") : QStringLiteral("unmarked")));
    if (!refused.isEmpty()) ui().message(this, Icon::Warning, kTitle, refused.join(QLatin1Char('\n')));
}

void MonitorWindow::cmdMark_Click() { changeMarks(true); }
void MonitorWindow::cmdUnmark_Click() { changeMarks(false); }

} // namespace zorva

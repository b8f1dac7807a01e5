#pragma once
// "IP Monitor": the watches and their sweeps (now, or when due by the window's own timer; one
// at a time; progress and Cancel), and the five views of what the sweeps saw, each exportable.
// An area user ("Kawasan") sees, adds and sweeps the watches of his area only, and the views
// keep to it.
#include "monitor/MonitorScheduler.h"
#include "monitor/MonitorViews.h"
#include "platform/FormBase.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace zorva {

class MonitorGrid;

class MonitorWindow : public FormBase {
    Q_OBJECT
public:
    explicit MonitorWindow(QWidget* parent = nullptr);

    // How often the timer looks for due watches; set before the load (0: never, for tests).
    int schedulePeriodMs = 30000;
    MonitorScheduler* scheduler = nullptr;

    QTableWidget* grdWatches = nullptr;
    QPushButton* cmdAddWatch = nullptr;
    QPushButton* cmdRemoveWatch = nullptr;
    QPushButton* cmdSweepNow = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdClose = nullptr;
    QProgressBar* prgSweep = nullptr;
    QLabel* lblStatus = nullptr;
    QTabWidget* tabViews = nullptr;
    MonitorGrid* gridUnrecorded = nullptr;
    QSpinBox* spnDays = nullptr;
    QPushButton* cmdMark = nullptr;
    QPushButton* cmdUnmark = nullptr;
    MonitorGrid* gridNotSeen = nullptr;
    MonitorGrid* gridNeverSeen = nullptr;
    MonitorGrid* gridNames = nullptr;
    MonitorGrid* gridHardware = nullptr;
    MonitorGrid* gridChanges = nullptr;

    // Room for the watches' columns and a view's grid, within a screen of 1024 by 768.
    QSize sizeHint() const override { return {1000, 700}; }

    // The area this window keeps to; empty for every address.
    const QString& area() const { return area_; }
    // The watch chosen in the list, or empty.
    QString chosenWatch() const;

public slots:
    void cmdAddWatch_Click();
    void cmdRemoveWatch_Click();
    void cmdSweepNow_Click();
    void cmdCancel_Click();
    void cmdMark_Click();
    void cmdUnmark_Click();
    void showWatches();
    void showViews();
    bool showNotSeen();
    bool showChanges();

protected:
    void Form_Load() override;

private:
    void buildUi();
    QWidget* notSeenPage();
    void sweepStarted(const QString& watch);
    void sweepProgress(qint64 done, qint64 total);
    void sweepEnded(const QString& watch, MonitorSweep::Outcome outcome, const QString& message,
                    const SweepCounts& counts, double seconds, bool asked);
    void changeMarks(bool mark);
    void followState();
    bool failed(const QString& error);
    QString scopeText() const;
    bool showView(MonitorGrid* grid, const std::optional<MonitorTable>& table, const QString& error, const QString& scope);

    QString area_;
    QString failureTold_; // a failure of the timer's sweeps already shown, until one succeeds
};

} // namespace zorva

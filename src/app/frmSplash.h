#pragma once
#include "platform/FormBase.h"

#include <QElapsedTimer>

class QLabel;
class QProgressBar;
class QTimer;

namespace zorva {

// The first window: picture, title line, version, and a timed progress bar after which the
// start-up routine runs.
class frmSplash : public FormBase {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    QLabel* lbl_version = nullptr;
    QProgressBar* pro_delay = nullptr;
    QTimer* tim_delay = nullptr;
    // What a long start is doing ("Preparing the database for searching: 45 %").
    QLabel* lblStatus = nullptr;

    static constexpr int kTicks = 75;
    static constexpr int kIntervalMs = 50;
    // An upgrade shorter than this shows no progress.
    static constexpr int kQuietMs = 300;

    // The start-up's progress: the splash comes back while a long upgrade runs and keeps
    // painting; an empty text hides it again.
    void showProgress(const QString& what, int percent);

public slots:
    void tim_delay_Timer();

protected:
    void Form_Load() override;

private:
    void buildUi();
    int counter_ = 0;
    QElapsedTimer startedWork_;
};

} // namespace zorva

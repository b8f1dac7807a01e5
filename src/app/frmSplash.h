#pragma once
#include "platform/FormBase.h"

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

    static constexpr int kTicks = 75;
    static constexpr int kIntervalMs = 50;

public slots:
    void tim_delay_Timer();

protected:
    void Form_Load() override;

private:
    void buildUi();
    int counter_ = 0;
};

} // namespace zorva

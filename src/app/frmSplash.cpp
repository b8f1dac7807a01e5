#include "app/frmSplash.h"
#include "app/StartUp.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Icons.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/Ui.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace zorva {

frmSplash::frmSplash(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    buildUi();
}

void frmSplash::buildUi() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 16);
    auto* picture = named<QLabel>("pctLogo", this);
    picture->setPixmap(appLogo(96));
    picture->setAlignment(Qt::AlignCenter);
    auto* title = named<QLabel>(
        "lblTitle", QStringLiteral("Manage Your IP Address Standard and Inventory System"), this);
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    f.setBold(true);
    title->setFont(f);
    title->setAlignment(Qt::AlignCenter);
    lbl_version = named<QLabel>("lbl_version", this);
    lbl_version->setAlignment(Qt::AlignCenter);
    pro_delay = named<QProgressBar>("pro_delay", this);
    pro_delay->setTextVisible(false);
    tim_delay = named<QTimer>("tim_delay", this);
    connect(tim_delay, &QTimer::timeout, this, &frmSplash::tim_delay_Timer);
    layout->addWidget(picture);
    layout->addWidget(title);
    layout->addWidget(lbl_version);
    layout->addSpacing(12);
    layout->addWidget(pro_delay);
    lblStatus = named<QLabel>("lblStatus", this);
    lblStatus->setAlignment(Qt::AlignCenter);
    layout->addWidget(lblStatus);
}

void frmSplash::Form_Load() {
    if (!claimSingleInstance()) {
        ui().message(this, Icon::Information, QStringLiteral("Error"),
                     QStringLiteral("Zorva software is already open !"));
        EndProgram();
        unload();
        return;
    }
    lbl_version->setText(QStringLiteral("Zorva : Version ") + versionText());
    tim_delay->setInterval(kIntervalMs);
    pro_delay->setRange(0, kTicks);
    pro_delay->setValue(0);
    tim_delay->start();
}

void frmSplash::tim_delay_Timer() {
    counter_ = counter_ < kTicks ? counter_ + 1 : 0;
    if (counter_ != 0) {
        pro_delay->setValue(counter_);
        return;
    }
    tim_delay->stop();
    hide();
    StartUp([this](const QString& what, int percent) { showProgress(what, percent); });
    unload();
    deleteLater();
}

void frmSplash::showProgress(const QString& what, int percent) {
    if (what.isEmpty()) {
        hide();
        return;
    }
    // A quick upgrade passes without the splash flashing back.
    if (!startedWork_.isValid()) startedWork_.start();
    if (!isVisible() && startedWork_.elapsed() < kQuietMs) return;
    if (!isVisible()) show();
    tim_delay->stop(); // the wait is over: the bar tells the work now
    lblStatus->setText(QStringLiteral("%1: %2 %").arg(what).arg(percent));
    pro_delay->setRange(0, 100);
    pro_delay->setValue(percent);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace zorva

#include "app/frmSplash.h"
#include "app/StartUp.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Icons.h"
#include "platform/Shell.h"
#include "platform/SingleInstance.h"
#include "platform/Ui.h"

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
    unload();
    deleteLater();
    StartUp();
}

} // namespace zorva

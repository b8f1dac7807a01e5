#include "assign/frmNetScanRange.h"
#include "assign/ScanWalk.h"
#include "platform/AppState.h"
#include "platform/Builders.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmNetScanRange::frmNetScanRange(ScanPosition& target, QWidget* parent)
    : FormBase(parent), target_(target) {
    setObjectName(QStringLiteral("frmNetScanRange"));
    setWindowTitle(QStringLiteral("Network Scan range ..."));
    buildUi();
}

void frmNetScanRange::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Start Range :"), this));
    cboStartRange = named<QComboBox>("cboStartRange", this);
    row->addWidget(cboStartRange, 1);
    layout->addLayout(row);
    layout->addWidget(new QLabel(QStringLiteral("Please select your Network Scan start range ..."), this));
    cmdStart = named<QPushButton>("cmdStart", QStringLiteral("Start"), this);
    layout->addLayout(buttonRow({cmdStart}));
    connect(cmdStart, &QPushButton::clicked, this, &frmNetScanRange::cmdStart_Click);
}

void frmNetScanRange::Form_Load() {
    const AppState& s = appState();
    cboStartRange->clear();
    for (int v : scanStartChoices(s.gOctet4Start, s.gOctet4End))
        cboStartRange->addItem(QString::number(v), v);
    if (cboStartRange->count() > 0) cboStartRange->setCurrentIndex(0);
}

void frmNetScanRange::cmdStart_Click() {
    if (cboStartRange->currentIndex() >= 0) {
        const int start = qint16(cboStartRange->currentData().toInt());
        target_.i = start;
        target_.StartRange = start;
    }
    unload(QDialog::Accepted);
    if (parentWidget()) parentWidget()->repaint();
}

} // namespace zorva

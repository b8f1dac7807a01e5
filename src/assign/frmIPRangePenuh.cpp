#include "assign/frmIPRangePenuh.h"
#include "plan/PlanData.h"
#include "plan/PlanQueries.h"
#include "platform/AppState.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorva {

frmIPRangePenuh::frmIPRangePenuh(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmIPRangePenuh"));
    setWindowTitle(QStringLiteral("IP Address Full ..."));
    buildUi();
}

void frmIPRangePenuh::buildUi() {
    auto* outer = new QVBoxLayout(this);
    lblPeralatanPenuh =
        new QLabel(QStringLiteral("IP Address allocation for equipment is FULL !"), this);
    lblPeralatanPenuh->setObjectName(QStringLiteral("lblPeralatanPenuh"));
    outer->addWidget(lblPeralatanPenuh);
    auto* note = new QLabel(QStringLiteral("Please choose other Equipment allocation if IP "
                                           "Address in the same segment is needed ..."),
                            this);
    note->setWordWrap(true);
    outer->addWidget(note);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Equipment :"), this), 0, 0);
    cboEquipment = new QComboBox(this);
    cboEquipment->setObjectName(QStringLiteral("cboEquipment"));
    grid->addWidget(cboEquipment, 0, 1);
    lblOctetMulaTamat = new QLabel(QStringLiteral("Octet 4 Start :    End : "), this);
    lblOctetMulaTamat->setObjectName(QStringLiteral("lblOctetMulaTamat"));
    grid->addWidget(lblOctetMulaTamat, 1, 1);
    outer->addLayout(grid);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdKeluar = new QPushButton(QStringLiteral("Cancel"), this);
    cmdKeluar->setObjectName(QStringLiteral("cmdKeluar"));
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdKeluar);
    outer->addLayout(buttons);
    connect(cboEquipment, &QComboBox::currentIndexChanged, this,
            &frmIPRangePenuh::cboEquipment_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmIPRangePenuh::cmdOK_Click);
    connect(cmdKeluar, &QPushButton::clicked, this, &frmIPRangePenuh::cmdKeluar_Click);
}

void frmIPRangePenuh::Form_Load() {
    const QString full = appState().gEqpName;
    lblPeralatanPenuh->setText(QStringLiteral("IP Address allocation for ") + full +
                               QStringLiteral(" is FULL !"));
    lblOctetMulaTamat->clear();
    cmdOK->setEnabled(false);
    QStringList others = PlanQueries(this).equipmentNames();
    others.removeAll(full);
    fillBox(cboEquipment, others);
}

void frmIPRangePenuh::cboEquipment_Click() {
    const QString entry = cboEquipment->currentText();
    if (entry.isEmpty()) return;
    const auto row = PlanQueries(this).equipment(entry);
    if (!row) return;
    lblOctetMulaTamat->setText(QStringLiteral("Octet 4 Start : %1  End : %2")
                                   .arg(row->octet4Start)
                                   .arg(row->octet4End));
    cmdOK->setEnabled(true);
    AppState& s = appState();
    s.gOwnRange = false;
    s.gEqpName = row->name;
    s.gOctet4Start = row->octet4Start;
    s.gOctet4End = row->octet4End;
}

void frmIPRangePenuh::cmdOK_Click() { unload(QDialog::Accepted); }

void frmIPRangePenuh::cmdKeluar_Click() { unload(QDialog::Rejected); }

} // namespace zorva

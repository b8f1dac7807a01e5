#include "assign/frmIPRangePenuh.h"
#include "plan/PlanData.h"
#include "plan/PlanQueries.h"
#include "platform/AppState.h"
#include "platform/Builders.h"

#include <QComboBox>
#include <QGridLayout>
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
    lblPeralatanPenuh = named<QLabel>(
        "lblPeralatanPenuh", QStringLiteral("IP Address allocation for equipment is FULL !"), this);
    outer->addWidget(lblPeralatanPenuh);
    auto* note = new QLabel(QStringLiteral("Please choose other Equipment allocation if IP "
                                           "Address in the same segment is needed ..."),
                            this);
    note->setWordWrap(true);
    outer->addWidget(note);
    auto* grid = new QGridLayout;
    cboEquipment = named<QComboBox>("cboEquipment", this);
    lblOctetMulaTamat =
        named<QLabel>("lblOctetMulaTamat", QStringLiteral("Octet 4 Start :    End : "), this);
    outer->addLayout(grid);
    addLabelledRow(grid, {}, QStringLiteral("Equipment :"), cboEquipment);
    grid->addWidget(lblOctetMulaTamat, grid->rowCount(), 1);
    cmdOK = named<QPushButton>("cmdOK", QStringLiteral("OK"), this);
    cmdKeluar = named<QPushButton>("cmdKeluar", QStringLiteral("Cancel"), this);
    outer->addLayout(buttonRow({cmdOK, cmdKeluar}));
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

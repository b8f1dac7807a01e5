#include "monitor/AddWatchDialog.h"
#include "plan/PlanQueries.h"
#include "platform/Builders.h"
#include "platform/Database.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace zorva {

namespace {
const QString kTitle = QStringLiteral("Add Watch");
const QString kWhole = QString(); // the first entry of the city and equipment lists: all of it
} // namespace

AddWatchDialog::AddWatchDialog(const QString& area, QWidget* parent) : FormBase(parent), area_(area) {
    setObjectName(QStringLiteral("AddWatchDialog"));
    setWindowTitle(kTitle);
    buildUi();
}

void AddWatchDialog::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    txtName = named<QLineEdit>("txtName", this);
    optTyped = named<QRadioButton>("optTyped", QStringLiteral("Addresses :"), this);
    txtRanges = named<QLineEdit>("txtRanges", this);
    txtRanges->setPlaceholderText(QStringLiteral("10.1.2.0/24, 10.1.2.10-200"));
    optPlan = named<QRadioButton>("optPlan", QStringLiteral("Part of the plan :"), this);
    auto* choice = new QButtonGroup(this);
    choice->addButton(optTyped);
    choice->addButton(optPlan);
    optTyped->setChecked(true);
    cboArea = named<QComboBox>("cboArea", this);
    cboCity = named<QComboBox>("cboCity", this);
    cboEquipment = named<QComboBox>("cboEquipment", this);
    roomForNames({cboArea, cboCity, cboEquipment});
    spnInterval = named<QSpinBox>("spnInterval", this);
    spnInterval->setRange(1, 7 * 24 * 60);
    spnInterval->setValue(15);
    spnInterval->setSuffix(QStringLiteral(" min"));
    spnRate = named<QSpinBox>("spnRate", this);
    spnRate->setRange(1, 100000);
    spnRate->setValue(500);
    spnRate->setSuffix(QStringLiteral(" echoes/s"));
    chkWindow = named<QCheckBox>("chkWindow", QStringLiteral("Only between"), this);
    tmFrom = named<QTimeEdit>("tmFrom", QTime(22, 0), this);
    tmTo = named<QTimeEdit>("tmTo", QTime(6, 0), this);
    for (QTimeEdit* t : {tmFrom, tmTo}) t->setDisplayFormat(QStringLiteral("HH:mm"));

    grid->addWidget(new QLabel(QStringLiteral("Name :"), this), 0, 0);
    grid->addWidget(txtName, 0, 1, 1, 3);
    grid->addWidget(optTyped, 1, 0);
    grid->addWidget(txtRanges, 1, 1, 1, 3);
    grid->addWidget(optPlan, 2, 0);
    grid->addWidget(cboArea, 2, 1);
    grid->addWidget(cboCity, 2, 2);
    grid->addWidget(cboEquipment, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Every :"), this), 3, 0);
    grid->addWidget(spnInterval, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Rate :"), this), 4, 0);
    grid->addWidget(spnRate, 4, 1);
    grid->addWidget(chkWindow, 5, 0);
    grid->addWidget(inRow({tmFrom, new QLabel(QStringLiteral("and"), this), tmTo}), 5, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    addButtonRow(layout, this, {{&cmdAdd, "cmdAdd", "Add"}, {&cmdCancel, "cmdCancel", "Cancel"}});

    connect(cmdAdd, &QPushButton::clicked, this, &AddWatchDialog::cmdAdd_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { unload(); });
    connect(cboArea, &QComboBox::currentIndexChanged, this, &AddWatchDialog::cboArea_Click);
    connect(optPlan, &QRadioButton::toggled, this, &AddWatchDialog::followChoice);
}

void AddWatchDialog::Form_Load() {
    const PlanQueries plan(this);
    cboArea->addItems(area_.isEmpty() ? plan.areaNames() : QStringList{area_});
    cboEquipment->addItem(kWhole);
    cboEquipment->addItems(plan.equipmentNames());
    cboArea_Click();
    followChoice();
    txtName->setFocus();
}

void AddWatchDialog::cboArea_Click() {
    cboCity->clear();
    cboCity->addItem(kWhole);
    if (cboArea->currentText().isEmpty()) return;
    auto q = runSqlOrReport(this, QStringLiteral("SELECT DISTINCT City_name FROM City WHERE Region = ? ORDER BY City_name"),
                            {cboArea->currentText()});
    while (q && q->next()) cboCity->addItem(q->value(0).toString());
}

void AddWatchDialog::followChoice() {
    const bool plan = optPlan->isChecked();
    setEditable(txtRanges, !plan);
    setEditable({cboArea, cboCity, cboEquipment}, plan);
}

WatchInput AddWatchDialog::input() const {
    WatchInput in;
    in.name = txtName->text();
    in.fromPlan = optPlan->isChecked();
    in.ranges = txtRanges->text();
    in.area = cboArea->currentText();
    in.city = cboCity->currentText();
    in.equipment = cboEquipment->currentText();
    in.intervalMinutes = spnInterval->value();
    in.rateLimit = spnRate->value();
    in.daily = chkWindow->isChecked();
    in.from = tmFrom->time();
    in.to = tmTo->time();
    return in;
}

void AddWatchDialog::cmdAdd_Click() {
    QString error;
    const auto checked = checkWatchInput(input(), &error);
    if (checked) error = outsideArea(database(), checked->watch, checked->range, area_);
    if (!error.isEmpty()) {
        ui().message(this, Icon::Warning, kTitle, error);
        return;
    }
    if (checked->range.needsConfirmation() &&
        ui().message(this, Icon::Question, kTitle,
                     QStringLiteral("The watch \"%1\" covers %2 addresses, more than a /16 (%3). Each sweep sends "
                                    "an echo to every one of them. Watch them all ?")
                         .arg(checked->watch.name, QLocale(QLocale::English).toString(qulonglong(checked->range.count())),
                              QLocale(QLocale::English).toString(qulonglong(kConfirmAbove))),
                     Button::Yes | Button::No, Button::No) != Button::Yes)
        return;
    if (!MonitorStore(database()).addWatch(checked->watch, &error)) {
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
        return;
    }
    added_ = checked->watch.name;
    unload(QDialog::Accepted);
}

} // namespace zorva

#include "records/frmRptByDate.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "records/ReportCommon.h"
#include "records/report/ReportPreview.h"
#include "records/rptByDate.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace zorva {

namespace {
const QString kOK = QStringLiteral("OK");
const QString kDisplay = QStringLiteral("Display");
const QString kDateFormat = QStringLiteral("dd/MM/yyyy");
} // namespace

frmRptByDate::frmRptByDate(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmRptByDate"));
    setWindowTitle(QStringLiteral("Zorva : Report by Date"));
    buildUi();
}

void frmRptByDate::buildUi() {
    auto picker = [this](const char* name) {
        auto* p = named<QDateEdit>(name, QDate::currentDate(), this);
        p->setCalendarPopup(true);
        p->setDisplayFormat(kDateFormat);
        return p;
    };
    DTPickerStart = picker("DTPickerStart");
    DTPickerEnd = picker("DTPickerEnd");
    lblTotalZorvaRecords = named<QLabel>("lblTotalZorvaRecords", this);
    lblTotalAssignment = named<QLabel>("lblTotalAssignment", QStringLiteral("Total"), this);
    cmdOK = named<QPushButton>("cmdOK", kOK, this);
    cmdOK->setDefault(true);
    cmdClose = named<QPushButton>("cmdClose", QStringLiteral("Close"), this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Please select your date ..."), this), 0, 0, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("From"), this), 1, 0);
    grid->addWidget(DTPickerStart, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("To"), this), 1, 2);
    grid->addWidget(DTPickerEnd, 1, 3);
    grid->addWidget(lblTotalZorvaRecords, 2, 0, 1, 3);
    grid->addWidget(lblTotalAssignment, 2, 3);
    grid->addWidget(cmdOK, 3, 2);
    grid->addWidget(cmdClose, 3, 3);
    // OK hides when the range holds nothing, the count shows after OK: the dates stay put.
    keepPlaceWhenHidden({cmdOK, lblTotalAssignment});

    connect(cmdOK, &QPushButton::clicked, this, &frmRptByDate::cmdOK_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmRptByDate::cmdClose_Click);
    connect(DTPickerStart, &QDateEdit::dateChanged, this, &frmRptByDate::DTPickerStart_Change);
    connect(DTPickerEnd, &QDateEdit::dateChanged, this, &frmRptByDate::DTPickerEnd_Change);
}

void frmRptByDate::Form_Load() {
    lblTotalAssignment->hide();
    cmdOK->setText(kOK);
    qint64 count = 0;
    if (auto q = runSqlOrReport(this, QStringLiteral("SELECT COUNT(*) FROM IP_Info"));
        q && q->next())
        count = q->value(0).toLongLong();
    lblTotalZorvaRecords->setText(QStringLiteral("Total Zorva records : ") + formatCount(count));
}

void frmRptByDate::cmdOK_Click() {
    if (cmdOK->text() == kDisplay)
        displayRange();
    else
        countRange();
}

void frmRptByDate::countRange() {
    CursorGuard hourglass;
    const auto count = countDateRecords(this, DTPickerStart->date(), DTPickerEnd->date());
    if (!count) return;
    lblTotalAssignment->setText(formatCount(*count));
    lblTotalAssignment->show();
    if (*count > 0)
        cmdOK->setText(kDisplay);
    else
        cmdOK->hide();
}

void frmRptByDate::displayRange() {
    std::optional<std::vector<QStringList>> rows;
    {
        CursorGuard hourglass;
        rows = dateRecords(this, DTPickerStart->date(), DTPickerEnd->date());
    }
    if (!rows) return;
    if (rows->empty()) {
        ui().message(this, Icon::Information, QStringLiteral("Not Found"),
                     QStringLiteral("Record not found ..."));
        return;
    }
    report::showReport(this, rptByDate(DTPickerStart->text(), DTPickerEnd->text(),
                                       std::move(*rows)));
}

void frmRptByDate::DTPickerStart_Change() {
    lblTotalAssignment->hide();
    cmdOK->show();
    cmdOK->setText(kOK);
}

void frmRptByDate::DTPickerEnd_Change() { DTPickerStart_Change(); }

void frmRptByDate::cmdClose_Click() { unload(); }

} // namespace zorva

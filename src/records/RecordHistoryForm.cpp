#include "records/RecordHistoryForm.h"
#include "platform/Builders.h"
#include "platform/Shell.h"
#include "platform/Database.h"
#include "platform/Session.h"
#include "platform/Ui.h"
#include "records/RecordHistory.h"
#include "records/RecordHistoryTab.h"
#include "records/report/ReportPreview.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QString kTitle = QStringLiteral("Record History");

// A local day's start in UTC, as the entries are kept.
QDateTime dayStart(const QDate& d) { return QDateTime(d, QTime(0, 0)).toUTC(); }

} // namespace

RecordHistoryForm::RecordHistoryForm(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("RecordHistoryForm"));
    setWindowTitle(kTitle);
    buildUi();
}

void RecordHistoryForm::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* find = new QGroupBox(QStringLiteral("Find"), this);
    auto* grid = new QGridLayout(find);
    optByAddress = named<QRadioButton>("optByAddress", QStringLiteral("By IP address :"), find);
    optByUser = named<QRadioButton>("optByUser", QStringLiteral("By user :"), find);
    optByAction = named<QRadioButton>("optByAction", QStringLiteral("By action :"), find);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* o : {optByAddress, optByUser, optByAction}) group->addButton(o);
    txtAddress = named<QLineEdit>("txtAddress", find);
    chkHeldOn = named<QCheckBox>("chkHeldOn", QStringLiteral("Held on :"), find);
    dtpHeldOn = named<QDateTimeEdit>("dtpHeldOn", QDateTime::currentDateTime(), find);
    dtpHeldOn->setCalendarPopup(true);
    dtpHeldOn->setDisplayFormat(QStringLiteral("dd/MM/yyyy HH:mm"));
    cboUser = named<QComboBox>("cboUser", find);
    cboUser->setEditable(true);
    cboAction = named<QComboBox>("cboAction", find);
    for (const QString& a : {history::kDeleted, history::kChanged, history::kAdded, history::kRestored,
                             history::kPurged})
        cboAction->addItem(actionText(a), a);
    dtpFrom = named<QDateEdit>("dtpFrom", QDate::currentDate().addMonths(-1), find);
    dtpTo = named<QDateEdit>("dtpTo", QDate::currentDate(), find);
    for (QDateEdit* d : {dtpFrom, dtpTo}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    }
    cmdFind = plainButton("cmdFind", QStringLiteral("Find"), find);
    cmdFind->setDefault(true);
    grid->addWidget(optByAddress, 0, 0);
    grid->addWidget(txtAddress, 0, 1);
    grid->addWidget(chkHeldOn, 0, 2);
    grid->addWidget(dtpHeldOn, 0, 3);
    grid->addWidget(optByUser, 1, 0);
    grid->addWidget(cboUser, 1, 1);
    grid->addWidget(optByAction, 2, 0);
    grid->addWidget(cboAction, 2, 1);
    grid->addWidget(named<QLabel>("lblPeriod", QStringLiteral("From :"), find), 1, 2);
    grid->addWidget(dtpFrom, 1, 3);
    grid->addWidget(named<QLabel>("lblTo", QStringLiteral("To :"), find), 2, 2);
    grid->addWidget(dtpTo, 2, 3);
    grid->addWidget(cmdFind, 2, 4);
    grid->setColumnStretch(1, 1);
    layout->addWidget(find);

    gridHistory = named<QTableView>("gridHistory", this);
    model_ = new HistoryGridModel(this);
    gridHistory->setModel(model_);
    gridHistory->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridHistory->setSelectionMode(QAbstractItemView::SingleSelection);
    gridHistory->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridHistory->verticalHeader()->hide();
    fitHistoryColumns(gridHistory);
    // Room for every column and a change of some length, and for a screenful of entries.
    int columns = 0;
    for (int c = 0; c < HistoryGridModel::Changes; ++c) columns += gridHistory->horizontalHeader()->sectionSize(c);
    gridHistory->setMinimumSize(
        columns + gridHistory->fontMetrics().horizontalAdvance(QStringLiteral("Username: Someone -> Someone else")),
        gridHistory->verticalHeader()->defaultSectionSize() * 12);
    layout->addWidget(gridHistory, 1);
    lblCount = named<QLabel>("lblCount", this);
    lblCount->setWordWrap(true);
    layout->addWidget(lblCount);

    auto* buttons = new QHBoxLayout;
    cmdRestore = plainButton("cmdRestore", QStringLiteral("Restore"), this);
    cmdRestore->setToolTip(QStringLiteral("Put the chosen deleted record back as it was."));
    cmdPrint = plainButton("cmdPrint", QStringLiteral("Print..."), this);
    spnYears = named<QSpinBox>("spnYears", this);
    spnYears->setRange(1, 50);
    spnYears->setValue(5);
    spnYears->setSuffix(QStringLiteral(" years"));
    cmdPurge = plainButton("cmdPurge", QStringLiteral("Purge Older Than"), this);
    cmdClose = plainButton("cmdClose", QStringLiteral("Close"), this);
    for (QWidget* w : std::initializer_list<QWidget*>{cmdRestore, cmdPrint})
        buttons->addWidget(w);
    buttons->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{cmdPurge, spnYears, cmdClose})
        buttons->addWidget(w);
    layout->addLayout(buttons);
    resize(860, 520);

    connect(group, &QButtonGroup::buttonClicked, this, [this] { modeChanged(); });
    connect(cmdFind, &QPushButton::clicked, this, &RecordHistoryForm::cmdFind_Click);
    connect(txtAddress, &QLineEdit::returnPressed, this, &RecordHistoryForm::cmdFind_Click);
    connect(cmdRestore, &QPushButton::clicked, this, &RecordHistoryForm::cmdRestore_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &RecordHistoryForm::cmdPrint_Click);
    connect(cmdPurge, &QPushButton::clicked, this, &RecordHistoryForm::cmdPurge_Click);
    connect(cmdClose, &QPushButton::clicked, this, &RecordHistoryForm::cmdClose_Click);
    // Every box stays usable (a disabled box would hide what it holds); using one chooses its
    // way of searching.
    connect(txtAddress, &QLineEdit::textEdited, optByAddress, [this] { optByAddress->setChecked(true); });
    connect(chkHeldOn, &QCheckBox::toggled, optByAddress, [this] { optByAddress->setChecked(true); });
    connect(dtpHeldOn, &QDateTimeEdit::dateTimeChanged, chkHeldOn, [this] { chkHeldOn->setChecked(true); });
    connect(cboUser, &QComboBox::currentTextChanged, optByUser, [this](const QString& t) {
        if (!t.isEmpty()) optByUser->setChecked(true);
    });
    connect(cboAction, &QComboBox::activated, optByAction, [this] { optByAction->setChecked(true); });
}

void RecordHistoryForm::Form_Load() {
    cboUser->clear();
    if (auto q = runSqlOrReport(this, QStringLiteral("SELECT UserID FROM UserID ORDER BY UserID")))
        while (q->next()) cboUser->addItem(q->value(0).toString());
    cboUser->setCurrentText(QString());
    optByAddress->setChecked(true);
    // The purge is the "Sistem" group's alone.
    cmdPurge->setVisible(session().isSistem());
    spnYears->setVisible(session().isSistem());
    modeChanged();
}

void RecordHistoryForm::modeChanged() {
    // The period belongs to the searches by user and by action: it reads as unused otherwise.
    const bool byAddress = optByAddress->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{dtpFrom, dtpTo})
        w->setToolTip(byAddress ? QStringLiteral("Used by the searches by user and by action.") : QString());
}

QString RecordHistoryForm::searchedText() const {
    const QString period = QStringLiteral("from %1 to %2")
                               .arg(dtpFrom->date().toString(QStringLiteral("dd/MM/yyyy")),
                                    dtpTo->date().toString(QStringLiteral("dd/MM/yyyy")));
    if (optByUser->isChecked()) return QStringLiteral("changes by %1 %2").arg(cboUser->currentText(), period);
    if (optByAction->isChecked())
        return QStringLiteral("records %1 %2").arg(cboAction->currentData().toString(), period);
    if (chkHeldOn->isChecked())
        return QStringLiteral("who held %1 on %2")
            .arg(txtAddress->text().trimmed(), dtpHeldOn->dateTime().toString(QStringLiteral("dd/MM/yyyy HH:mm")));
    return QStringLiteral("the history of %1").arg(txtAddress->text().trimmed());
}

void RecordHistoryForm::cmdFind_Click() {
    const auto missing = [this](QWidget* box, const QString& what) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !"), QStringLiteral("Please enter ") + what + QStringLiteral(" !"));
        box->setFocus();
    };
    const QDateTime from = dayStart(dtpFrom->date()), to = dayStart(dtpTo->date().addDays(1));
    if (!optByAddress->isChecked() && from >= to) {
        ui().message(this, Icon::Warning, QStringLiteral("Error !"),
                     QStringLiteral("The period ends before it begins."));
        dtpTo->setFocus();
        return;
    }
    CursorGuard wait;
    QString error;
    bool ok = true;
    if (optByAddress->isChecked()) {
        const QString address = txtAddress->text().trimmed();
        if (address.isEmpty()) return missing(txtAddress, QStringLiteral("the IP address"));
        if (chkHeldOn->isChecked()) {
            const QDateTime when = dtpHeldOn->dateTime().toUTC();
            const auto held = heldAt(database(), address, when, &error);
            if (!error.isEmpty()) ok = false;
            model_->show(held ? QList<HistoryEntry>{*held} : QList<HistoryEntry>{});
            if (ok) lblCount->setText(heldText(address, dtpHeldOn->dateTime(), held));
        } else {
            ok = model_->run(historyByAddress(address), &error);
        }
    } else if (optByUser->isChecked()) {
        const QString user = cboUser->currentText().trimmed();
        if (user.isEmpty()) return missing(cboUser, QStringLiteral("the user"));
        ok = model_->run(historyByUser(user, from, to), &error);
    } else {
        ok = model_->run(historyByAction(cboAction->currentData().toString(), from, to), &error);
    }
    if (!ok) {
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
        return;
    }
    if (!(optByAddress->isChecked() && chkHeldOn->isChecked()))
        lblCount->setText(model_->count() == 0 ? QStringLiteral("Nothing recorded.")
                                               : QStringLiteral("%1 entries, the newest first.").arg(model_->count()));
    fitHistoryChanges(gridHistory);
    if (model_->rowCount() > 0) gridHistory->selectRow(0);
}

const HistoryEntry* RecordHistoryForm::selected() const {
    const QModelIndexList rows = gridHistory->selectionModel()->selectedRows();
    return rows.isEmpty() ? nullptr : model_->entry(rows.first().row());
}

void RecordHistoryForm::cmdRestore_Click() {
    const HistoryEntry* chosen = selected();
    if (!chosen || chosen->action != history::kDeleted) {
        ui().message(this, Icon::Information, kTitle, QStringLiteral("Choose the deletion of a record to restore it."));
        return;
    }
    const HistoryEntry e = *chosen;
    if (ui().message(this, Icon::Question, kTitle,
                     QStringLiteral("Restore the record of %1 as it was when it was deleted ?").arg(e.address),
                     Button::Ok | Button::Cancel) != Button::Ok)
        return;
    QString holder, error;
    QStringList missing;
    switch (restoreRecord(database(), e, &holder, &missing, &error)) {
    case RestoreOutcome::Restored:
        if (!missing.isEmpty())
            ui().message(this, Icon::Warning, kTitle,
                         QStringLiteral("The record of %1 is restored. It names what the address plan no "
                                        "longer has: %2.")
                             .arg(e.address, missing.join(QStringLiteral(", "))));
        session().announce(QStringLiteral("Record %1 restored").arg(e.address));
        break;
    case RestoreOutcome::AddressTaken:
        ui().message(this, Icon::Warning, kTitle,
                     QStringLiteral("%1 is held now by the record %2. The deleted record was not restored.")
                         .arg(e.address, holder));
        return;
    case RestoreOutcome::NotADeletion:
        return;
    case RestoreOutcome::Failed:
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
        return;
    }
    cmdFind_Click();
}

void RecordHistoryForm::cmdPrint_Click() {
    QString error;
    const QList<HistoryEntry> entries = model_->all(&error);
    if (!error.isEmpty()) return (void)ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
    if (entries.isEmpty()) {
        ui().message(this, Icon::Information, kTitle, QStringLiteral("Nothing to print: find the entries first."));
        return;
    }
    report::showReport(this, historyReport(searchedText(), entries));
}

void RecordHistoryForm::cmdPurge_Click() {
    if (!session().isSistem()) return;
    const int years = spnYears->value();
    if (ui().message(this, Icon::Warning, kTitle,
                     QStringLiteral("Remove for good the history entries older than %1 years ? The purge "
                                    "itself is recorded.")
                         .arg(years),
                     Button::Yes | Button::No, Button::No) != Button::Yes)
        return;
    QString error;
    const qint64 removed = purgeHistory(database(), years, &error);
    if (removed < 0) return (void)ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
    session().announce(QStringLiteral("%1 history entries older than %2 years removed").arg(removed).arg(years));
}

void RecordHistoryForm::cmdClose_Click() { unload(); }

} // namespace zorva

#include "import/ImportForm.h"
#include "import/RecordImport.h"
#include "platform/AppState.h"
#include "platform/Builders.h"
#include "platform/Session.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QString kTitle = QStringLiteral("Import Records");
const QString kCsvFilter =
    QStringLiteral("CSV files (*.csv *.txt)|*.csv;*.txt|All files (*.*)|*.*");
constexpr int kPage = 500;

QString outcomeText(const ImportRow& r) {
    switch (r.outcome) {
    case RowOutcome::New:
        return r.warning ? QStringLiteral("New (warning)") : QStringLiteral("New");
    case RowOutcome::Update:
        return r.warning ? QStringLiteral("Update (warning)") : QStringLiteral("Update");
    case RowOutcome::Unchanged:
        return QStringLiteral("Unchanged");
    case RowOutcome::Skipped:
        return QStringLiteral("Skipped");
    case RowOutcome::Refused:
        return QStringLiteral("Refused");
    }
    return {};
}

void error(QWidget* parent, const QString& text) {
    ui().message(parent, Icon::Critical, QStringLiteral("Error !!!"), text);
}

} // namespace

// ---- the rows' grid

ImportRowsModel::ImportRowsModel(QObject* parent) : QAbstractTableModel(parent) {}

void ImportRowsModel::show(const RecordImport* import) {
    beginResetModel();
    import_ = import;
    total_ = import ? import->rowCount() : 0;
    shown_ = int(std::min<qint64>(total_, kPage));
    endResetModel();
}

int ImportRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : shown_;
}
int ImportRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ImportRowsModel::data(const QModelIndex& index, int role) const {
    if (!import_ || !index.isValid() || index.row() >= shown_) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const ImportRow r = import_->row(index.row());
    switch (index.column()) {
    case Line:
        return r.line;
    case Address:
        return r.address;
    case Outcome:
        return outcomeText(r);
    case Details:
        return r.detail;
    }
    return {};
}

QVariant ImportRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const names[] = {"Line", "IP Address", "Outcome", "Details"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

bool ImportRowsModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && shown_ < total_;
}

void ImportRowsModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) return;
    const int more = int(std::min<qint64>(total_ - shown_, kPage));
    beginInsertRows({}, shown_, shown_ + more - 1);
    shown_ += more;
    endInsertRows();
}

// ---- the form

ImportForm::ImportForm(QWidget* parent) : FormBase(parent), model_(new ImportRowsModel(this)) {
    setObjectName(QStringLiteral("ImportForm"));
    setWindowTitle(kTitle);
    buildUi();
}

ImportForm::~ImportForm() = default;

void ImportForm::buildUi() {
    auto* layout = new QVBoxLayout(this);
    auto* file = new QGroupBox(QStringLiteral("File"), this);
    auto* fileGrid = new QGridLayout(file);
    txtFile = named<QLineEdit>("txtFile", file);
    setEditable(txtFile, false);
    cmdBrowse = plainButton("cmdBrowse", QStringLiteral("Browse..."), file);
    lblFile = named<QLabel>("lblFile", file);
    lblFile->setWordWrap(true);
    fileGrid->addWidget(txtFile, 0, 0);
    fileGrid->addWidget(cmdBrowse, 0, 1);
    fileGrid->addWidget(lblFile, 1, 0, 1, 2);
    layout->addWidget(file);

    auto* middle = new QHBoxLayout;
    auto* mapping = new QGroupBox(QStringLiteral("Columns"), this);
    auto* mappingLayout = new QVBoxLayout(mapping);
    gridMapping = named<QTableWidget>("gridMapping", 0, 2, mapping);
    gridMapping->setHorizontalHeaderLabels(
        {QStringLiteral("Column in the file"), QStringLiteral("Fills the field")});
    gridMapping->horizontalHeader()->setStretchLastSection(true);
    gridMapping->verticalHeader()->hide();
    gridMapping->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridMapping->setColumnWidth(
        0,
        gridMapping->fontMetrics().horizontalAdvance(QStringLiteral("Column in the file  ")) + 40);
    {
        // Room for the longest file column name one expects and the widest choice of field.
        QComboBox sample;
        sample.addItem(QStringLiteral("(not imported)"));
        sample.addItems(RecordImport::targetColumns());
        sample.setSizeAdjustPolicy(QComboBox::AdjustToContents);
        const int names = fontMetrics().horizontalAdvance(QStringLiteral("Column in the file ")) + 16;
        gridMapping->setColumnWidth(0, names);
        gridMapping->setColumnWidth(1, sample.sizeHint().width());
        gridMapping->setMinimumSize(names + sample.sizeHint().width() + gridMapping->verticalScrollBar()->sizeHint().width() +
                                        2 * gridMapping->frameWidth(),
                                    gridMapping->verticalHeader()->defaultSectionSize() * 4);
    }
    lblMapping = named<QLabel>("lblMapping", mapping);
    lblMapping->setWordWrap(true);
    mappingLayout->addWidget(gridMapping, 1);
    mappingLayout->addWidget(lblMapping);
    middle->addWidget(mapping, 2);

    auto* options = new QGroupBox(QStringLiteral("An address already recorded"), this);
    auto* optionsLayout = new QVBoxLayout(options);
    optStop = named<QRadioButton>("optStop", QStringLiteral("Stop: import nothing"), options);
    optSkip = named<QRadioButton>("optSkip", QStringLiteral("Skip the row"), options);
    optUpdate =
        named<QRadioButton>("optUpdate", QStringLiteral("Update the fields that differ"), options);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* o : {optStop, optSkip, optUpdate}) {
        group->addButton(o);
        optionsLayout->addWidget(o);
    }
    optStop->setChecked(true);
    chkStrictPlace = named<QCheckBox>(
        "chkStrictPlace", QStringLiteral("Refuse a row that fits no entry of the plan"), options);
    chkStrictPlace->setToolTip(
        QStringLiteral("Otherwise such a row is imported with empty place fields and a warning."));
    optionsLayout->addSpacing(8);
    optionsLayout->addWidget(chkStrictPlace);
    optionsLayout->addStretch();
    middle->addWidget(options, 1);
    layout->addLayout(middle);

    gridRows = named<QTableView>("gridRows", this);
    gridRows->setModel(model_);
    gridRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridRows->verticalHeader()->hide();
    gridRows->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics fm = gridRows->fontMetrics();
    gridRows->setColumnWidth(ImportRowsModel::Line,
                             fm.horizontalAdvance(QStringLiteral("0000000")) + 12);
    gridRows->setColumnWidth(ImportRowsModel::Address,
                             fm.horizontalAdvance(QStringLiteral("255.255.255.255")) + 16);
    gridRows->setColumnWidth(ImportRowsModel::Outcome,
                             fm.horizontalAdvance(QStringLiteral("Update (warning)")) + 16);
    gridRows->setMinimumSize(fm.horizontalAdvance(QStringLiteral("0000000255.255.255.255Update (warning)")) + 48 +
                                 fm.horizontalAdvance(QStringLiteral("IP_Address 10.1.1.1 fits no city of the area")),
                             gridRows->verticalHeader()->defaultSectionSize() * 5);
    layout->addWidget(gridRows, 2);

    prgImport = named<QProgressBar>("prgImport", this);
    prgImport->setRange(0, 1000);
    prgImport->setValue(0);
    lblCount = named<QLabel>("lblCount", this);
    lblCount->setWordWrap(true);
    // Two lines from the start: the counts take them on a narrow window, which does not grow.
    lblCount->setMinimumHeight(lblCount->fontMetrics().lineSpacing() * 2);
    layout->addWidget(lblCount);

    cmdCheck = plainButton("cmdCheck", QStringLiteral("Check"), this);
    cmdCheck->setToolTip(QStringLiteral("Read and check every row without writing anything."));
    cmdImport = plainButton("cmdImport", QStringLiteral("Import"), this);
    cmdSaveRefused = plainButton("cmdSaveRefused", QStringLiteral("Save Refused Rows..."), this);
    cmdCancel = plainButton("cmdCancel", QStringLiteral("Cancel"), this);
    cmdClose = plainButton("cmdClose", QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdCheck, cmdImport, cmdSaveRefused})
        buttons->addWidget(b);
    // Beside the buttons: the form fits a main window of 1024 by 768.
    buttons->addWidget(prgImport, 1);
    for (QPushButton* b : {cmdCancel, cmdClose})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    resize(sizeHint().expandedTo(QSize(900, 0)));

    connect(cmdBrowse, &QPushButton::clicked, this, &ImportForm::cmdBrowse_Click);
    connect(cmdCheck, &QPushButton::clicked, this, &ImportForm::cmdCheck_Click);
    connect(cmdImport, &QPushButton::clicked, this, &ImportForm::cmdImport_Click);
    connect(cmdSaveRefused, &QPushButton::clicked, this, &ImportForm::cmdSaveRefused_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &ImportForm::cmdCancel_Click);
    connect(cmdClose, &QPushButton::clicked, this, &ImportForm::cmdClose_Click);
    connect(group, &QButtonGroup::buttonClicked, this, [this] { optionsChanged(); });
    connect(chkStrictPlace, &QCheckBox::toggled, this, [this] { optionsChanged(); });
}

void ImportForm::Form_Load() {
    setRunning(false);
    if (session().isAreaUser())
        lblCount->setText(
            QStringLiteral("Rows outside your area (%1) are refused.").arg(session().userArea()));
}

bool ImportForm::openFile(const QString& path) {
    auto next = std::make_unique<RecordImport>();
    QString why;
    if (!next->open(path, &why)) {
        error(this,
              QStringLiteral("%1 cannot be imported: %2").arg(QDir::toNativeSeparators(path), why));
        return false;
    }
    import_ = std::move(next);
    txtFile->setText(QDir::toNativeSeparators(path));
    lblFile->setText(QStringLiteral("%1 columns, separated by %2, read as %3.")
                         .arg(import_->header().size())
                         .arg(import_->delimiter() == QLatin1Char('\t')
                                  ? QStringLiteral("tabs")
                                  : QStringLiteral("\"%1\"").arg(import_->delimiter()),
                              import_->encodingName()));
    showMapping();
    optionsChanged();
    return true;
}

void ImportForm::showMapping() {
    const QStringList header = import_->header(), mapping = import_->mapping();
    const QStringList targets = RecordImport::targetColumns();
    gridMapping->setRowCount(int(header.size()));
    for (int i = 0; i < header.size(); ++i) {
        gridMapping->setItem(i, 0, new QTableWidgetItem(header.at(i)));
        auto* box = new QComboBox(gridMapping);
        box->setObjectName(QStringLiteral("cboMapping%1").arg(i));
        box->addItem(QStringLiteral("(not imported)"), QString());
        for (const QString& t : targets)
            box->addItem(t, t);
        box->setCurrentIndex(std::max(0, box->findData(mapping.value(i))));
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(box, &QComboBox::currentIndexChanged, this, [this] { mappingChanged(); });
        gridMapping->setCellWidget(i, 1, box);
        gridMapping->setColumnWidth(1, std::max(gridMapping->columnWidth(1), box->sizeHint().width()));
    }
    gridMapping->resizeColumnToContents(0);
    gridMapping->resizeRowsToContents();
    mappingChanged();
}

void ImportForm::mappingChanged() {
    if (!import_) return;
    QStringList mapping;
    for (int i = 0; i < gridMapping->rowCount(); ++i)
        mapping << static_cast<QComboBox*>(gridMapping->cellWidget(i, 1))->currentData().toString();
    import_->setMapping(mapping);
    const QString problem = import_->mappingProblem();
    const QStringList unmapped = import_->unmappedColumns();
    lblMapping->setText(
        !problem.isEmpty() ? problem
        : unmapped.isEmpty()
            ? QStringLiteral("Every column is imported.")
            : QStringLiteral("Not imported: %1.").arg(unmapped.join(QStringLiteral(", "))));
    optionsChanged();
}

// Any change of what is checked asks for a new check before the import.
void ImportForm::optionsChanged() {
    checked_ = false;
    model_->show(nullptr);
    if (import_) lblCount->setText(QStringLiteral("Check the rows, then import them."));
    setRunning(false);
}

void ImportForm::setRunning(bool running) {
    running_ = running;
    const bool usable = import_ && import_->mappingProblem().isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{cmdBrowse, gridMapping, optStop, optSkip,
                                                      optUpdate, chkStrictPlace, cmdClose})
        w->setEnabled(!running);
    cmdCheck->setEnabled(!running && usable);
    const ImportCounts c = checked_ && import_ ? import_->counts() : ImportCounts{};
    cmdImport->setEnabled(!running && checked_ && c.added + c.updated > 0);
    cmdSaveRefused->setEnabled(!running && checked_ && c.refused > 0);
    cmdCancel->setEnabled(running);
}

bool ImportForm::progress(qint64 done, qint64 total) {
    if (total > 0) prgImport->setValue(int(std::min<qint64>(1000, done * 1000 / total)));
    // The window stays responsive (Cancel, repainting) while the rows are read and written.
    QApplication::processEvents();
    return !cancelled_;
}

static ImportOptions optionsOf(const ImportForm& f) {
    ImportOptions o;
    o.existing = f.optUpdate->isChecked() ? ExistingRecords::Update
                 : f.optSkip->isChecked() ? ExistingRecords::Skip
                                          : ExistingRecords::Stop;
    o.strictPlace = f.chkStrictPlace->isChecked();
    if (session().isAreaUser()) o.onlyArea = session().userArea();
    o.inputBy = appState().gUserID;
    return o;
}

void ImportForm::showCounts() {
    const ImportCounts c = import_->counts();
    lblCount->setText(QStringLiteral("%1 rows: %2 new, %3 to update, %4 unchanged, %5 skipped, %6 "
                                     "refused, %7 with a warning.")
                          .arg(c.rows)
                          .arg(c.added)
                          .arg(c.updated)
                          .arg(c.unchanged)
                          .arg(c.skipped)
                          .arg(c.refused)
                          .arg(c.warnings));
}

void ImportForm::cmdBrowse_Click() {
    FileDialogRequest request;
    request.title = QStringLiteral("Choose the file to import");
    request.filter = kCsvFilter;
    const QString path = ui().chooseFile(this, request);
    if (!path.isEmpty()) openFile(path);
}

void ImportForm::cmdCheck_Click() {
    if (!import_ || running_) return;
    cancelled_ = false;
    setRunning(true);
    model_->show(nullptr);
    lblCount->setText(QStringLiteral("Checking the rows..."));
    QString why;
    const bool ok = import_->check(
        optionsOf(*this), [this](qint64 d, qint64 t) { return progress(d, t); }, &why);
    checked_ = ok;
    setRunning(false);
    if (!ok) {
        prgImport->setValue(0);
        lblCount->setText(cancelled_ ? QStringLiteral("The check was cancelled.") : QString());
        if (!cancelled_) error(this, why);
        return;
    }
    prgImport->setValue(prgImport->maximum());
    model_->show(import_.get());
    fitLastColumn(gridRows);
    showCounts();
    setRunning(false);
}

void ImportForm::cmdImport_Click() {
    if (!import_ || !checked_ || running_) return;
    const ImportCounts c = import_->counts();
    if (ui().message(
            this, Icon::Question, kTitle,
            QStringLiteral(
                "Write %1 new and %2 changed records ? The rows refused or skipped are left out.")
                .arg(c.added)
                .arg(c.updated),
            Button::Ok | Button::Cancel) != Button::Ok)
        return;
    cancelled_ = false;
    setRunning(true);
    QString why;
    const bool ok = import_->write(
        optionsOf(*this), [this](qint64 d, qint64 t) { return progress(d, t); }, &why);
    checked_ = false;
    setRunning(false);
    if (!ok) {
        prgImport->setValue(0);
        if (cancelled_) {
            lblCount->setText(QStringLiteral("The import was cancelled: nothing was written."));
        } else {
            error(this, why + QStringLiteral("\nNothing was written."));
            lblCount->setText(QStringLiteral("Nothing was written."));
        }
        return;
    }
    session().announce(
        QStringLiteral("%1 records imported, %2 updated").arg(c.added).arg(c.updated));
    lblCount->setText(
        QStringLiteral("%1 new and %2 changed records written.").arg(c.added).arg(c.updated));
    ui().message(this, Icon::Information, kTitle, lblCount->text());
}

void ImportForm::cmdSaveRefused_Click() {
    if (!import_ || !checked_) return;
    FileDialogRequest request;
    request.title = QStringLiteral("Save the refused rows");
    request.filter = kCsvFilter;
    request.save = true;
    request.fileName =
        QFileInfo(import_->path()).completeBaseName() + QStringLiteral(" refused.csv");
    request.folder = QFileInfo(import_->path()).absolutePath();
    const QString path = ui().chooseFile(this, request);
    if (path.isEmpty()) return;
    QString why;
    if (!import_->writeRefused(path, &why)) return error(this, why);
    ui().message(this, Icon::Information, kTitle,
                 QStringLiteral("%1 refused rows saved with their reason in %2.")
                     .arg(import_->counts().refused)
                     .arg(QDir::toNativeSeparators(path)));
}

void ImportForm::cmdCancel_Click() {
    cancelled_ = true;
}

void ImportForm::cmdClose_Click() {
    if (!running_) unload();
}

void ImportForm::closeEvent(QCloseEvent* event) {
    // A check or an import runs inside this window's handler: it is cancelled, not cut short.
    if (running_) {
        cancelled_ = true;
        event->ignore();
        return;
    }
    FormBase::closeEvent(event);
}

void exportAllRecordsAsked(QWidget* parent) {
    FileDialogRequest request;
    request.title = QStringLiteral("Export All Records");
    request.filter = kCsvFilter;
    request.save = true;
    request.fileName = QStringLiteral("Zorva records.csv");
    const QString path = ui().chooseFile(parent, request);
    if (path.isEmpty()) return;
    CursorGuard wait;
    QString why;
    if (!exportAllRecords(
            path,
            [](qint64, qint64) {
                QApplication::processEvents();
                return true;
            },
            &why))
        return error(parent, why);
    ui().message(
        parent, Icon::Information, QStringLiteral("Export All Records"),
        QStringLiteral("Every record was written to %1.").arg(QDir::toNativeSeparators(path)));
}

} // namespace zorva

#include "records/frmCarian.h"
#include "platform/Builders.h"
#include "platform/Database.h"
#include "platform/Input.h"
#include "platform/Modeless.h"
#include "platform/Rows.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "records/RecordCsv.h"
#include "records/RecordGridModel.h"
#include "records/SearchLocation.h"
#include "records/frmMaklumatIP.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlError>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva {

namespace {

const QString kGridTip = QStringLiteral("Double Click to get detail info ...");

// Sets a radio button of an exclusive group, or clears it (which the group alone refuses).
void setOption(QRadioButton* b, bool on) {
    b->setAutoExclusive(on);
    b->setChecked(on);
    b->setAutoExclusive(true);
}

} // namespace

frmCarian::frmCarian(QWidget* parent) : FormBase(parent) {
    setObjectName(QStringLiteral("frmCarian"));
    setWindowTitle(QStringLiteral("Record Search"));
    buildUi();
}

frmCarian::~frmCarian() = default;

void frmCarian::buildUi() {
    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    FrameType = named<QGroupBox>("FrameType", QStringLiteral("Search Type :"), this);
    auto* types = new QGridLayout(FrameType);
    auto option = [](QWidget* parent, const char* name, const QString& caption) {
        return named<QRadioButton>(name, caption, parent);
    };
    Option1 = option(FrameType, "Option1", QStringLiteral("IP Address"));
    Option2 = option(FrameType, "Option2", QStringLiteral("Staff No."));
    Option3 = option(FrameType, "Option3", QStringLiteral("Location"));
    Option4 = option(FrameType, "Option4", QStringLiteral("Hostname"));
    Option5 = option(FrameType, "Option5", QStringLiteral("Remarks"));
    Option6 = option(FrameType, "Option6", QStringLiteral("Username"));
    const QRadioButton* order[] = {Option1, Option2, Option3, Option4, Option5, Option6};
    for (int i = 0; i < 6; ++i) types->addWidget(const_cast<QRadioButton*>(order[i]), i % 3, i / 3);
    Option1->setChecked(true);
    top->addWidget(FrameType);

    frameIPAddress = named<QGroupBox>("frameIPAddress", this);
    auto* text = new QGridLayout(frameIPAddress);
    lblCarian = named<QLabel>("lblCarian", frameIPAddress);
    txtCarian = named<QLineEdit>("txtCarian", frameIPAddress);
    cmdCari = named<QPushButton>("cmdCari", QStringLiteral("Search"), frameIPAddress);
    lblNota = named<QLabel>("lblNota", frameIPAddress);
    text->addWidget(lblCarian, 0, 0);
    text->addWidget(txtCarian, 0, 1);
    text->addWidget(cmdCari, 0, 2);
    text->addWidget(lblNota, 1, 1, 1, 2);
    top->addWidget(frameIPAddress, 1);

    FrameFor = named<QGroupBox>("FrameFor", this);
    auto* match = new QVBoxLayout(FrameFor);
    OptCarian1 = option(FrameFor, "OptCarian1", QStringLiteral("Exact Search"));
    OptCarian2 = option(FrameFor, "OptCarian2", QStringLiteral("Begin with"));
    OptCarian5 = option(FrameFor, "OptCarian5", QStringLiteral("Temporary IP"));
    for (QRadioButton* b : {OptCarian1, OptCarian2, OptCarian5}) match->addWidget(b);
    OptCarian1->setChecked(true);
    top->addWidget(FrameFor);

    buildLocationFrame();
    top->addWidget(FrameLocation, 1);
    top->addWidget(FrameForLocation);

    model_ = new RecordGridModel(this);
    gridCarian = named<QTableView>("gridCarian", this);
    gridCarian->setModel(model_);
    gridCarian->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridCarian->setSelectionMode(QAbstractItemView::ContiguousSelection);
    gridCarian->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridCarian->verticalHeader()->hide();
    gridCarian->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    gridCarian->horizontalHeader()->setSectionsClickable(false);
    gridCarian->setContextMenuPolicy(Qt::CustomContextMenu);
    gridCarian->installEventFilter(this);
    int width = 0;
    for (int c = 0; c < RecordGridModel::kColumns; ++c) {
        const int w = fontMetrics().horizontalAdvance(QString(RecordGridModel::widthInX(c), QLatin1Char('X')));
        gridCarian->setColumnWidth(c, w);
        width += w;
    }
    gridCarian->setMinimumWidth(width + gridCarian->frameWidth() * 2 + 20);
    // After a search the columns take what their texts need; the last, blank one fills the rest.
    gridCarian->horizontalHeader()->setStretchLastSection(true);
    // Measured on the lines in view only: a large result is read only where it is shown.
    gridCarian->horizontalHeader()->setResizeContentsPrecision(0);
    outer->addWidget(gridCarian, 1);

    auto* bottom = new QHBoxLayout;
    lblNotaCarian = named<QLabel>("lblNotaCarian",
                                  QStringLiteral("Double Click on item to get details ..."), this);
    cmdTutup = named<QPushButton>("cmdTutup", QStringLiteral("Close"), this);
    // The note after a search is long ("n record(s) found. Double Click ..."): two lines.
    lblNotaCarian->setWordWrap(true);
    lblNotaCarian->setMinimumHeight(2 * lblNotaCarian->fontMetrics().lineSpacing());
    bottom->addWidget(lblNotaCarian, 1);
    bottom->addWidget(cmdTutup);
    outer->addLayout(bottom);
    // The grid and the note come and go with the results; Close stays where it is.
    keepPlaceWhenHidden({gridCarian, lblNotaCarian});

    const std::pair<QRadioButton*, SearchMode> textModes[] = {
        {Option1, SearchMode::IPAddress}, {Option2, SearchMode::StaffNo},
        {Option4, SearchMode::Hostname},  {Option5, SearchMode::Remarks},
        {Option6, SearchMode::Username}};
    for (const auto& [button, mode] : textModes)
        connect(button, &QRadioButton::clicked, this, [this, m = mode] { applyTextMode(m); });
    connect(Option3, &QRadioButton::clicked, this, [this] { applyLocationMode(false); });
    connect(OptCarian1, &QRadioButton::clicked, this, [this] { matchOptionChosen(false); });
    connect(OptCarian2, &QRadioButton::clicked, this, [this] { matchOptionChosen(false); });
    connect(OptCarian5, &QRadioButton::clicked, this, [this] { matchOptionChosen(true); });
    connect(OptCarian3, &QRadioButton::clicked, this, [this] { applyLocationMode(false); });
    connect(OptCarian4, &QRadioButton::clicked, this, [this] { applyLocationMode(true); });
    attachFocusMoves(txtCarian, FocusMove::Arrows);
    txtCarian->installEventFilter(this);
    connect(cmdCari, &QPushButton::clicked, this, &frmCarian::cmdCari_Click);
    connect(cmdTutup, &QPushButton::clicked, this, &frmCarian::cmdTutup_Click);
    connect(gridCarian, &QTableView::doubleClicked, this,
            [this](const QModelIndex& i) { gridCarian_DblClick(i.row()); });
    connect(gridCarian, &QTableView::customContextMenuRequested, this, &frmCarian::gridMenu);
}

void frmCarian::buildLocationFrame() {
    FrameLocation = named<QGroupBox>("FrameLocation", QStringLiteral("Search by Location :"), this);
    auto* place = new QGridLayout(FrameLocation);
    cboRegion = named<QComboBox>("cboRegion", FrameLocation);
    cboState = named<QComboBox>("cboState", FrameLocation);
    cboCity = named<QComboBox>("cboCity", FrameLocation);
    cboWorkGroup = named<QComboBox>("cboWorkGroup", FrameLocation);
    txtSegment = named<QLineEdit>("txtSegment", FrameLocation);
    roomForNames({cboRegion, cboState, cboCity, cboWorkGroup});
    lblRegion = addLabelledRow(place, "lblRegion", QStringLiteral("Area :"), cboRegion);
    lblState = addLabelledRow(place, "lblState", QStringLiteral("State :"), cboState);
    lblCity = addLabelledRow(place, "lblCity", QStringLiteral("City :"), cboCity);
    auto* segmentRow = new QHBoxLayout;
    segmentRow->addWidget(cboWorkGroup, 1);
    segmentRow->addWidget(txtSegment, 1);
    lblWorkGroup = named<QLabel>("lblWorkGroup", QStringLiteral("WorkGroup :"), FrameLocation);
    const int r = place->rowCount();
    place->addWidget(lblWorkGroup, r, 0);
    place->addLayout(segmentRow, r, 1);
    txtSegment->hide();
    attachNumericFilter(txtSegment, 255);
    txtSegment->installEventFilter(this);
    location_ = std::make_unique<SearchLocation>(SearchLocation::Widgets{
        this, cboRegion, lblState, cboState, cboCity, lblWorkGroup, cboWorkGroup, txtSegment});
    connect(cboRegion, &QComboBox::currentIndexChanged, this, &frmCarian::cboRegion_Click);
    connect(cboState, &QComboBox::currentIndexChanged, this, &frmCarian::cboState_Click);
    connect(cboCity, &QComboBox::currentIndexChanged, this, &frmCarian::cboCity_Click);
    connect(cboWorkGroup, &QComboBox::currentIndexChanged, this, &frmCarian::cboWorkGroup_Click);

    FrameForLocation = named<QGroupBox>("FrameForLocation", this);
    auto* options = new QVBoxLayout(FrameForLocation);
    OptCarian3 =
        named<QRadioButton>("OptCarian3", QStringLiteral("WorkGroup/Segment"), FrameForLocation);
    OptCarian4 = named<QRadioButton>("OptCarian4", QStringLiteral("City"), FrameForLocation);
    options->addWidget(OptCarian3);
    options->addWidget(OptCarian4);
    OptCarian3->setChecked(true);
}

void frmCarian::Form_Load() {
    clearGrid();
    dwiKlik = false;
    Option1->setChecked(true);
    applyTextMode(SearchMode::IPAddress);
}

void frmCarian::clearGrid() {
    model_->clear();
    gridCarian->setToolTip(QString());
}

void frmCarian::applyTextMode(SearchMode mode) {
    const SearchType& t = searchType(mode);
    clearGrid();
    lblNotaCarian->hide();
    txtCarian->clear();
    frameIPAddress->setTitle(t.frameCaption);
    lblCarian->setText(t.keyCaption);
    lblNota->setText(t.promptCaption);
    frameIPAddress->show();
    FrameLocation->hide();
    FrameForLocation->hide();
    const bool byAddress = mode == SearchMode::IPAddress;
    const bool exactOnly = mode == SearchMode::StaffNo || mode == SearchMode::Hostname;
    FrameFor->setVisible(byAddress || exactOnly);
    OptCarian2->setVisible(byAddress);
    OptCarian5->setVisible(byAddress);
    if (exactOnly) setOption(OptCarian1, true);
    if (!byAddress && !exactOnly) setOption(OptCarian1, false);
}

void frmCarian::matchOptionChosen(bool temporary) {
    clearGrid();
    lblNotaCarian->hide();
    txtCarian->setText(temporary ? QStringLiteral("ALL") : QString());
}

void frmCarian::cmdCari_Click() {
    const auto mode = modeOfCaption(lblCarian->text());
    if (!mode) return;
    const MatchOption option = OptCarian2->isChecked()   ? MatchOption::BeginWith
                               : OptCarian5->isChecked() ? MatchOption::Temporary
                                                         : MatchOption::Exact;
    const TextSearch s = textSearch(*mode, option, txtCarian->text());
    if (s.refusalIsEmptyText) {
        ui().message(this, Icon::Information, QStringLiteral("Error !!!"), s.refusal);
        return;
    }
    if (!s.refusal.isEmpty()) {
        if (*mode == SearchMode::Username) ui().beep();
        ui().message(this, Icon::Information, kAppTitle, s.refusal);
        return;
    }
    CursorGuard hourglass;
    gridCarian->setEnabled(true);
    mstrSQL = s.query;
    if (showResult(s.notFound, true) && *mode != SearchMode::IPAddress)
        gridCarian->setToolTip(QString());
}

bool frmCarian::showResult(const QString& notFound, bool beep) {
    QString error;
    if (!model_->run(mstrSQL, &error)) {
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
        clearGrid();
        lblNotaCarian->clear();
        return false;
    }
    gridCarian->setEnabled(true);
    if (model_->count() == 0) {
        if (beep) ui().beep();
        gridCarian->show();
        ui().message(this, Icon::Information, QStringLiteral("Not Found"), notFound);
        clearGrid();
        lblNotaCarian->clear();
        return false;
    }
    lblNotaCarian->show();
    gridCarian->setToolTip(kGridTip);
    paparSenaraiCarian();
    if (model_->count() == 1 && !dwiKlik) gridCarian_DblClick(0);
    return true;
}

void frmCarian::paparSenaraiCarian() {
    gridCarian->show();
    gridCarian->scrollToTop();
    // Only a grid on screen has lines in view to measure (a hidden one would read them all).
    if (gridCarian->isVisible())
        for (int c = 0; c < RecordGridModel::kColumns - 1; ++c) gridCarian->resizeColumnToContents(c);
    lblNotaCarian->setText(foundNote(model_->count()));
}

void frmCarian::gridCarian_DblClick(int row) {
    const QString address = model_->address(row);
    if (!address.isEmpty()) openDetail(address);
}

void frmCarian::openDetail(const QString& address) {
    // One detail window: a new choice replaces the one open.
    if (detail_) detail_->unload();
    auto* form = new frmMaklumatIP;
    form->detailQuery = addressQuery(address);
    form->searchForm = this;
    detail_ = form;
    showModeless(form, this);
}

bool frmCarian::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the search or segment box searches, and goes no further (no default button
    // takes it).
    if ((watched == txtCarian || watched == txtSegment) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            watched == txtCarian ? cmdCari_Click() : txtSegment_Enter();
            return true;
        }
    }
    if (watched == gridCarian && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelectedRows();
        return true;
    }
    return FormBase::eventFilter(watched, event);
}

void frmCarian::deleteSelectedRows() {
    // The selected block, whichever way it was drawn; the current line when none.
    const QModelIndexList rows = gridCarian->selectionModel()->selectedRows();
    qint64 first = rows.isEmpty() ? gridCarian->currentIndex().row() : rows.first().row();
    qint64 last = first;
    for (const QModelIndex& i : rows) {
        first = std::min<qint64>(first, i.row());
        last = std::max<qint64>(last, i.row());
    }
    if (first < 0) return;
    if (ui().message(this, Icon::Critical, kAppTitle, deleteQuestion(last - first + 1),
                     Button::Yes | Button::No, Button::No) != Button::Yes)
        return;
    gridCarian->hide();
    {
        CursorGuard hourglass;
        const std::vector<qint64> keys = model_->list().keys(first, last);
        Transaction t;
        QString error;
        bool ok = true;
        bool gone = false;
        for (qint64 key : keys) {
            auto q = runSql(QStringLiteral("DELETE FROM IP_Info WHERE rowid = ?"), {key}, &error);
            // A row another user deleted meanwhile: the block is not what the user chose, so
            // none of it is deleted.
            gone = q && q->numRowsAffected() == 0;
            if (!q || gone) {
                ok = false;
                break;
            }
        }
        if (gone) {
            // Rolled back before the message, so no other copy waits on it.
            t.rollback();
            reportChangedMeanwhile(this);
        } else if (!ok || !t.commit()) {
            gridCarian->show();
            ui().message(this, Icon::Critical, QStringLiteral("Error !!!"),
                         error.isEmpty() ? database().lastError().text() : error);
            return;
        }
    }
    if (Option3->isChecked()) {
        if (!lblWorkGroup->isHidden()) cboWorkGroup_Click();
        else cboCity_Click();
    } else {
        cmdCari_Click();
    }
    gridCarian->show();
}

void frmCarian::refreshAfterSave() {
    model_->refresh();
    paparSenaraiCarian();
}

void frmCarian::refreshAfterDelete() {
    clearGrid();
    if (Option3->isChecked()) {
        dwiKlik = true;
        if (!lblWorkGroup->isHidden()) cboWorkGroup_Click();
        else cboCity_Click();
    } else if (OptCarian2->isChecked()) {
        dwiKlik = true;
        cmdCari_Click();
    } else {
        dwiKlik = false;
        gridCarian->setEnabled(false);
        lblNotaCarian->clear();
    }
}

void frmCarian::gridMenu(const QPoint& at) {
    QMenu menu(this);
    QAction* csv = menu.addAction(QStringLiteral("Export to CSV..."));
    csv->setEnabled(model_->count() > 0);
    if (menu.exec(gridCarian->viewport()->mapToGlobal(at)) == csv) exportToCsv();
}

void frmCarian::exportToCsv() {
    if (model_->count() == 0) return;
    FileDialogRequest r;
    r.title = QStringLiteral("Export to CSV");
    r.fileName = QStringLiteral("IP_Info.csv");
    r.filter = QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*");
    r.save = true;
    const QString path = ui().chooseFile(this, r);
    if (path.isEmpty()) return;
    CursorGuard hourglass;
    QString error;
    if (!writeRecordsCsv(model_->list().keys(0, model_->count() - 1), path, &error))
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), error);
}

// ---- location mode

void frmCarian::applyLocationMode(bool byCity) {
    clearGrid();
    frameIPAddress->hide();
    FrameFor->hide();
    FrameLocation->show();
    FrameForLocation->show();
    setOption(byCity ? OptCarian4 : OptCarian3, true);
    location_->enter(byCity);
}

void frmCarian::cboRegion_Click() { location_->areaChosen(); }

void frmCarian::cboState_Click() { location_->stateChosen(); }

void frmCarian::cboCity_Click() {
    if (!location_->cityChosen()) return;
    CursorGuard hourglass;
    cariBaseLocation2();
}

void frmCarian::cboWorkGroup_Click() {
    CursorGuard hourglass;
    location_->workgroupChosen();
    cariBaseLocation();
}

void frmCarian::txtSegment_Enter() {
    if (!location_->segmentEntered()) return;
    CursorGuard hourglass;
    cariBaseLocation();
}

void frmCarian::cariBaseLocation() {
    mstrSQL = prefixQuery(location_->prefix());
    showResult(kLocationNotFound, false);
}

void frmCarian::cariBaseLocation2() {
    mstrSQL = cityQuery(location_->area(), location_->city());
    showResult(kLocationNotFound, false);
}

void frmCarian::cmdTutup_Click() {
    if (detail_) detail_->unload();
    unload();
}

} // namespace zorva

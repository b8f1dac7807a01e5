#include "monitor/MonitorGrid.h"
#include "monitor/MonitorReport.h"
#include "platform/Builders.h"
#include "platform/Ui.h"
#include "records/report/ReportCsv.h"
#include "records/report/ReportPainter.h"

#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace zorva {

MonitorGrid::MonitorGrid(const QString& name, const QString& title, QWidget* parent)
    : QWidget(parent), title_(title) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    lblTitle = named<QLabel>(QStringLiteral("lbl%1").arg(name), title, this);
    cmdCsv = plainButton(QStringLiteral("cmd%1Csv").arg(name), QStringLiteral("Export CSV..."), this);
    cmdPdf = plainButton(QStringLiteral("cmd%1Pdf").arg(name), QStringLiteral("Save as PDF..."), this);
    auto* head = new QHBoxLayout;
    head->addWidget(lblTitle, 1);
    head->addWidget(cmdCsv);
    head->addWidget(cmdPdf);
    layout->addLayout(head);

    grid = named<QTableView>(QStringLiteral("grd%1").arg(name), this);
    model_ = new QStandardItemModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(Qt::UserRole);
    grid->setModel(sorted_);
    grid->setSortingEnabled(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid, 1);

    connect(cmdCsv, &QPushButton::clicked, this, &MonitorGrid::exportCsv);
    connect(cmdPdf, &QPushButton::clicked, this, &MonitorGrid::savePdf);
}

void MonitorGrid::setTable(const MonitorTable& table, const QString& scope) {
    table_ = table;
    scope_ = scope;
    model_->clear();
    model_->setHorizontalHeaderLabels(table.columns);
    model_->setRowCount(int(table.rows.size()));
    for (int r = 0; r < table.rows.size(); ++r)
        for (int c = 0; c < table.columns.size(); ++c) {
            const QVariant v = table.rows[r].value(c);
            auto* item = new QStandardItem(monitorCellText(v));
            item->setData(monitorSortKey(v), Qt::UserRole);
            model_->setItem(r, c, item);
        }
    lblTitle->setText(QStringLiteral("%1: %2").arg(title_).arg(table.rows.size()));
    grid->resizeColumnsToContents();
}

int MonitorGrid::rowCount() const { return sorted_->rowCount(); }

QStringList MonitorGrid::shownRow(int row) const {
    QStringList out;
    for (int c = 0; c < sorted_->columnCount(); ++c) out << sorted_->index(row, c).data().toString();
    return out;
}

QStringList MonitorGrid::chosenAddresses() const {
    QModelIndexList rows = grid->selectionModel()->selectedRows(0);
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QStringList out;
    for (const QModelIndex& i : rows) out << i.data().toString();
    return out;
}

QString MonitorGrid::askFile(const QString& title, const QString& description, const QString& suffix) {
    FileDialogRequest request;
    request.title = title;
    request.folder = QDir::homePath();
    request.fileName = objectName() + QLatin1Char('.') + suffix;
    request.filter = QStringLiteral("%1|*.%2").arg(description, suffix);
    request.save = true;
    return ui().chooseFile(this, request);
}

void MonitorGrid::exportCsv() {
    const QString path = askFile(QStringLiteral("Export CSV"), QStringLiteral("CSV files"), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    QString error;
    if (!report::writeCsv(monitorReport(title_, scope_, table_), path, &error))
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), QStringLiteral("%1: %2").arg(path, error));
}

void MonitorGrid::savePdf() {
    const QString path = askFile(QStringLiteral("Save as PDF"), QStringLiteral("PDF files"), QStringLiteral("pdf"));
    if (path.isEmpty()) return;
    QString error;
    if (report::writePdf(monitorReport(title_, scope_, table_), path, &error) == 0)
        ui().message(this, Icon::Critical, QStringLiteral("Error !!!"), QStringLiteral("%1: %2").arg(path, error));
}

} // namespace zorva

#pragma once
// One view of the monitor on screen: a sortable grid under its title, with its export as CSV
// and as PDF through the report renderer. The window shows each view in one of these.
#include "monitor/MonitorViews.h"

#include <QWidget>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace zorva {

class MonitorGrid : public QWidget {
    Q_OBJECT
public:
    // `name` prefixes the controls' object names ("grdNotSeen", "cmdNotSeenCsv").
    MonitorGrid(const QString& name, const QString& title, QWidget* parent = nullptr);

    void setTable(const MonitorTable& table, const QString& scope);
    const MonitorTable& table() const { return table_; }
    // The first column (the address) of the chosen rows, in the order shown.
    QStringList chosenAddresses() const;
    // A row's cells as shown, in the order shown (after sorting).
    QStringList shownRow(int row) const;
    int rowCount() const;

    QLabel* lblTitle = nullptr;
    QTableView* grid = nullptr;
    QPushButton* cmdCsv = nullptr;
    QPushButton* cmdPdf = nullptr;

public slots:
    void exportCsv();
    void savePdf();

private:
    QString askFile(const QString& title, const QString& description, const QString& suffix);

    QString title_, scope_;
    MonitorTable table_;
    QStandardItemModel* model_ = nullptr;
    QSortFilterProxyModel* sorted_ = nullptr;
};

} // namespace zorva

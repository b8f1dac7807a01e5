#pragma once
#include <QWidget>

class QLabel;
class QTableView;

namespace zorva {

class HistoryGridModel;

// The "History" page of the record detail: every entry of the address, newest first; for a
// change, the fields that changed, from what to what.
class RecordHistoryTab : public QWidget {
    Q_OBJECT
public:
    explicit RecordHistoryTab(QWidget* parent = nullptr);

    QTableView* gridHistory;
    QLabel* lblHistoryNote;

    // Reads the address's entries again (a failure is said on the page, not in a box).
    void showAddress(const QString& address);
    HistoryGridModel* model() const { return model_; }

private:
    HistoryGridModel* model_;
};

// Fits a history grid's columns to what they show, the last one taking the rest.
void fitHistoryColumns(QTableView* grid);
// After new entries: the last column as wide as its longest line read so far (the grid then
// scrolls sideways), or the rest of the grid.
void fitHistoryChanges(QTableView* grid);

} // namespace zorva

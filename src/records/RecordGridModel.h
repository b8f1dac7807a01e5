#pragma once
#include "records/RecordList.h"

#include <QAbstractTableModel>

namespace zorva {

// The search grid's seven columns over a RecordList: only the lines on screen are read. An
// empty grid shows one blank line under the headers, as the search form always has.
class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 7;
    // Header text and width (in "X" characters) of each column.
    static QString header(int column);
    static int widthInX(int column);

    explicit RecordGridModel(QObject* parent = nullptr);

    // Shows the result of a search; false (with the driver's text) when it failed, and the
    // grid is then cleared.
    bool run(const RecordQuery& query, QString* error = nullptr);
    // Runs the last query again.
    bool refresh(QString* error = nullptr) { return run(list_.query(), error); }
    // Header and one blank line.
    void clear();

    RecordList& list() { return list_; }
    // Lines found (0 when cleared).
    qint64 count() const { return list_.count(); }
    // The address on a grid line (view row), empty for the blank line.
    QString address(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void followCount();

    mutable RecordList list_;
    int shown_ = 0;
    mutable bool countCheckQueued_ = false;
};

} // namespace zorva

#pragma once
// What the history of the addresses shows: the text of an entry, a grid that reads the entries
// of a search in pieces as it scrolls, and the printed list.
#include "platform/History.h"
#include "records/report/Report.h"

#include <QAbstractTableModel>

namespace zorva {

// "Added", "Changed", "Deleted", "Restored", "Purged".
QString actionText(const QString& action);
// What an entry did, in one line: the fields of a change from what to what ("Username: Ali ->
// Siti"); the user and host name of a record added, deleted or restored; a purge's extent.
QString changeText(const HistoryEntry& e);
// The line of a held-at answer: who held the address at that moment.
QString heldText(const QString& address, const QDateTime& when, const std::optional<HistoryEntry>& e);

class HistoryGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kPage = 200;
    enum Column { When, Address, Action, User, Computer, Changes, ColumnCount };

    explicit HistoryGridModel(QObject* parent = nullptr);
    // Shows the entries of a search, newest first; false with the driver's text.
    bool run(const HistoryQuery& query, QString* error = nullptr);
    // Shows the given entries (an answer of its own, such as "who held it then").
    void show(QList<HistoryEntry> entries);
    void clear();
    qint64 count() const { return total_; }
    const HistoryEntry* entry(int row) const;
    // Every entry of the search (read to the end), for printing and export.
    QList<HistoryEntry> all(QString* error = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    std::optional<HistoryQuery> query_;
    QList<HistoryEntry> rows_;
    qint64 total_ = 0;
    bool more_ = false;
};

// The printed list of entries: its title line says what was searched.
report::Report historyReport(const QString& searched, const QList<HistoryEntry>& entries);

} // namespace zorva

#pragma once
#include "records/RecordSearch.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <list>
#include <optional>
#include <vector>

namespace zorva {

// The result of a record search, read as it is looked at: a count, the keys of the lines in
// the search's order (fetched a piece at a time), and the grid cells of the lines shown
// (fetched by pages and kept in a bounded cache). No statement stays open between two calls,
// so a result on screen never holds the database against other running copies.
//
// An index-served search is counted by its own count query; a small result (up to
// collectLimit lines) is then read whole through the condition's index and sorted here, a
// larger one is read in the search's order a piece at a time, continuing after the last key
// read, as long as an index gives that order (else the rest is read in one go when first
// looked at). A "contains" search, which no index serves, reads its lines in one scan. An
// equality lookup reads its lines and their cells in one statement when they fit a page.
class RecordList {
public:
    // The six columns of the grid, in grid order.
    static constexpr int kCells = 6;
    using Cells = std::array<QString, kCells>;

    // Runs the search; false (with the driver's text) when a statement failed.
    bool run(const RecordQuery& query, QString* error = nullptr);
    void clear();
    const RecordQuery& query() const { return query_; }

    // Lines of the result; may drop when lines vanished (deleted by another copy) while the
    // result was walked.
    qint64 count() const { return count_; }
    // The row key (rowid) of line i, or nullopt beyond the end.
    std::optional<qint64> key(qint64 i);
    // The keys of lines first to last (inclusive, in that order, either direction).
    std::vector<qint64> keys(qint64 first, qint64 last);
    // The grid cells of line i; empty cells beyond the end or for a vanished row.
    Cells cells(qint64 i);
    // Whether line i's cells are in memory (the grid's fetch test).
    bool isCached(qint64 i) const;

    // Lines read whole at most; larger results are walked in pieces. Tests lower it.
    static int collectLimit;
    static constexpr int kPage = 64;       // lines per cell fetch
    static constexpr int kCachedPages = 256; // pages kept (16,384 lines)

    // The statements behind a search (their values: the query's, then the walk's position and
    // the line limit), for plan checks.
    static QString collectStatement(const RecordQuery& query);
    static QString countStatement(const RecordQuery& query);
    static QString walkStatement(const RecordQuery& query, bool continuing);

    // Statements run so far (for tests and benchmarks: how much a screen cost).
    int statements() const { return statements_; }

private:
    bool read(QString* error);
    bool collectAll(QString* error);
    // The lines of an equality lookup with their cells; nullopt when there are more than a page.
    std::optional<bool> readFew(QString* error);
    bool orderServedByIndex();
    bool walkOn(qint64 wanted);
    bool fetchKeys(qint64 upTo);
    const std::vector<Cells>& page(qint64 page);

    RecordQuery query_;
    qint64 count_ = 0;
    std::vector<qint64> keys_;
    bool keysComplete_ = true;
    // Whether the walk in the search's order needs no sort; asked when the first piece is not
    // enough (most searches are looked at no further, and the question costs a round trip).
    std::optional<bool> walkServed_;
    QVariant lastOrderValue_; // the walk's position: order value and key of the last line read
    qint64 lastKey_ = 0;
    QHash<qint64, std::vector<Cells>> pages_;
    std::list<qint64> recent_; // most recent first
    int statements_ = 0;
};

} // namespace zorva

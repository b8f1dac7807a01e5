#include "records/RecordList.h"
#include "platform/Database.h"
#include "platform/SearchIndex.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace zorva {

int RecordList::collectLimit = 10000;

namespace {

struct Line {
    qint64 ip4;
    QString address; // only for the address order
    qint64 key;
};

// The search's order: by address text when asked, then IP_4, then the row key.
bool before(const Line& a, const Line& b, bool byAddress) {
    if (byAddress && a.address != b.address) return a.address < b.address;
    if (a.ip4 != b.ip4) return a.ip4 < b.ip4;
    return a.key < b.key;
}

// A line from a row that starts rowid, IP_4, IP_Address (a record without IP_4 comes first).
Line lineOf(const QSqlQuery& q, bool byAddress) {
    const QVariant ip4 = q.value(1);
    return {ip4.isNull() ? -1 : ip4.toLongLong(), byAddress ? q.value(2).toString() : QString(),
            q.value(0).toLongLong()};
}

} // namespace

QString RecordList::collectStatement(const RecordQuery& query) {
    // Only what the order needs: every column read costs on a large result.
    return (query.order == RecordQuery::Order::ByAddress
                ? QStringLiteral("SELECT rowid, IP_4, IP_Address FROM IP_Info WHERE ")
                : QStringLiteral("SELECT rowid, IP_4 FROM IP_Info WHERE ")) +
           query.where;
}

QString RecordList::countStatement(const RecordQuery& query) {
    if (!query.countSql.isEmpty()) return query.countSql;
    return QStringLiteral("SELECT count(*) FROM IP_Info WHERE ") + query.where;
}

QString RecordList::walkStatement(const RecordQuery& query, bool continuing) {
    // A walk of its own names the order as only the order's index serves it.
    const bool own = !query.walkWhere.isEmpty();
    const QString column = own ? noIndex(query.orderColumn()) : query.orderColumn();
    QString sql = QStringLiteral("SELECT rowid, %1 FROM IP_Info WHERE (").arg(column) +
                  (own ? query.walkWhere : query.where) + QLatin1Char(')');
    if (continuing) sql += QStringLiteral(" AND %1 >= ? AND (%1 > ? OR rowid > ?)").arg(column);
    return sql + QStringLiteral(" ORDER BY %1, rowid LIMIT ?").arg(column);
}

void RecordList::clear() {
    query_ = {};
    count_ = 0;
    keys_.clear();
    keysComplete_ = true;
    walkServed_.reset();
    lastOrderValue_ = {};
    lastKey_ = 0;
    pages_.clear();
    recent_.clear();
}

bool RecordList::run(const RecordQuery& query, QString* error) {
    RecordQuery wanted = query; // may be query_ itself (a refresh)
    clear();
    query_ = std::move(wanted);
    if (query_.isEmpty()) return true;
    if (!read(error)) {
        clear();
        return false;
    }
    return true;
}

bool RecordList::read(QString* error) {
    // A scan is run once and gives the count with the lines.
    if (query_.scan) return collectAll(error);
    if (query_.few)
        if (const std::optional<bool> read = readFew(error)) return *read;
    // An index-served condition counts cheaply; only a small result is read whole.
    ++statements_;
    auto c = runSql(countStatement(query_),
                    query_.countSql.isEmpty() ? query_.values : query_.countValues, error);
    if (!c || !c->next()) return false;
    count_ = c->value(0).toLongLong();
    c.reset();
    if (count_ == 0) return true;
    if (count_ <= collectLimit) return collectAll(error);
    // Large: the first piece in order now; the rest in pieces when the order has an index,
    // else in one read at the first look beyond it.
    keysComplete_ = false;
    return walkOn(std::min<qint64>(count_, 256));
}

std::optional<bool> RecordList::readFew(QString* error) {
    const bool byAddress = query_.order == RecordQuery::Order::ByAddress;
    ++statements_;
    auto q = runLookup(QStringLiteral("SELECT rowid, IP_4, IP_Address, [Name], [Type], Username, "
                                      "StaffNo, Remarks FROM IP_Info WHERE ") +
                           query_.where + QStringLiteral(" LIMIT %1").arg(kPage + 1),
                       query_.values, error);
    if (!q) return false;
    struct Found {
        Line line;
        Cells cells;
    };
    std::vector<Found> found;
    while (q->next()) {
        if (found.size() == size_t(kPage)) return std::nullopt; // more than a page
        Found f;
        f.line = lineOf(*q, byAddress);
        for (int col = 0; col < kCells; ++col) f.cells[size_t(col)] = q->value(col + 2).toString();
        found.push_back(std::move(f));
    }
    std::sort(found.begin(), found.end(),
              [byAddress](const Found& a, const Found& b) { return before(a.line, b.line, byAddress); });
    std::vector<Cells> first;
    for (Found& f : found) {
        keys_.push_back(f.line.key);
        first.push_back(std::move(f.cells));
    }
    count_ = qint64(keys_.size());
    if (count_ > 0) {
        pages_.insert(0, std::move(first));
        recent_.push_front(0);
    }
    return true;
}

bool RecordList::orderServedByIndex() {
    ++statements_;
    QVariantList values = query_.values;
    values << 0 << 0 << 0 << 1;
    return !planSortsRows(walkStatement(query_, true), values);
}

bool RecordList::collectAll(QString* error) {
    const bool byAddress = query_.order == RecordQuery::Order::ByAddress;
    ++statements_;
    auto q = runSql(collectStatement(query_), query_.values, error);
    if (!q) return false;
    std::vector<Line> lines;
    lines.reserve(size_t(std::max<qint64>(count_, 0)));
    while (q->next()) lines.push_back(lineOf(*q, byAddress));
    q.reset();
    std::sort(lines.begin(), lines.end(),
              [byAddress](const Line& a, const Line& b) { return before(a, b, byAddress); });
    // Lines shown already keep their places; what changed meanwhile only moves the rest.
    const QSet<qint64> shown(keys_.begin(), keys_.end());
    keys_.reserve(lines.size());
    for (const Line& l : lines)
        if (shown.isEmpty() || !shown.contains(l.key)) keys_.push_back(l.key);
    count_ = qint64(keys_.size());
    keysComplete_ = true;
    return true;
}

bool RecordList::walkOn(qint64 wanted) {
    QVariantList values = query_.values;
    QString sql = walkStatement(query_, !keys_.empty());
    if (!keys_.empty() && lastOrderValue_.isNull()) {
        // NULLs come first and compare with nothing: the rest of them by key, then every line
        // that has a value.
        sql = walkStatement(query_, false);
        const QString column = sql.section(QLatin1Char(' '), 2, 2);
        sql.insert(sql.lastIndexOf(QStringLiteral(" ORDER BY ")),
                   QStringLiteral(" AND (%1 IS NOT NULL OR rowid > ?)").arg(column));
        values << lastKey_;
    } else if (!keys_.empty()) {
        values << lastOrderValue_ << lastOrderValue_ << lastKey_;
    }
    values << wanted;
    ++statements_;
    auto q = runSql(sql, values);
    if (!q) {
        keysComplete_ = true;
        count_ = qint64(keys_.size());
        return false;
    }
    qint64 got = 0;
    while (q->next() && qint64(keys_.size()) < count_) {
        lastKey_ = q->value(0).toLongLong();
        lastOrderValue_ = q->value(1);
        keys_.push_back(lastKey_);
        ++got;
    }
    if (got < wanted || qint64(keys_.size()) >= count_) {
        keysComplete_ = true;
        count_ = qint64(keys_.size()); // lines deleted meanwhile are not counted
    }
    return true;
}

bool RecordList::fetchKeys(qint64 upTo) {
    if (keysComplete_ || upTo < qint64(keys_.size())) return true;
    if (!walkServed_) walkServed_ = orderServedByIndex();
    if (!*walkServed_) return collectAll(nullptr);
    // Read at least as much as was read so far: a jump to the end costs a few statements.
    return walkOn(std::max<qint64>({upTo + 1 - qint64(keys_.size()), 256,
                                    std::min<qint64>(qint64(keys_.size()), 65536)}));
}

std::optional<qint64> RecordList::key(qint64 i) {
    if (i < 0 || i >= count_) return std::nullopt;
    fetchKeys(i);
    if (i >= qint64(keys_.size())) return std::nullopt;
    return keys_[size_t(i)];
}

std::vector<qint64> RecordList::keys(qint64 first, qint64 last) {
    std::vector<qint64> out;
    const int step = last >= first ? 1 : -1;
    fetchKeys(std::max(first, last));
    for (qint64 i = first;; i += step) {
        if (auto k = key(i)) out.push_back(*k);
        if (i == last) break;
    }
    return out;
}

bool RecordList::isCached(qint64 i) const { return pages_.contains(i / kPage); }

const std::vector<RecordList::Cells>& RecordList::page(qint64 number) {
    auto it = pages_.find(number);
    if (it != pages_.end()) {
        recent_.remove(number);
        recent_.push_front(number);
        return *it;
    }
    const qint64 first = number * kPage;
    fetchKeys(first + kPage - 1);
    const qint64 last = std::min<qint64>(first + kPage, qint64(keys_.size()));
    std::vector<Cells> cells(size_t(std::max<qint64>(0, last - first)));
    if (last > first) {
        // Always a page of keys (the last repeated), so that it is one statement to keep.
        static const QString byKeys = [] {
            QStringList marks;
            for (int i = 0; i < kPage; ++i) marks << QStringLiteral("?");
            return QStringLiteral("SELECT rowid, IP_Address, [Name], [Type], Username, StaffNo, "
                                  "Remarks FROM IP_Info WHERE rowid IN (") +
                   marks.join(QLatin1Char(',')) + QLatin1Char(')');
        }();
        QVariantList values;
        for (qint64 i = first; i < first + kPage; ++i) values << keys_[size_t(std::min(i, last - 1))];
        ++statements_;
        auto q = runLookup(byKeys, values);
        QHash<qint64, Cells> byKey;
        while (q && q->next()) {
            Cells c;
            for (int col = 0; col < kCells; ++col) c[size_t(col)] = q->value(col + 1).toString();
            byKey.insert(q->value(0).toLongLong(), c);
        }
        for (qint64 i = first; i < last; ++i)
            cells[size_t(i - first)] = byKey.value(keys_[size_t(i)]);
    }
    if (qsizetype(recent_.size()) >= kCachedPages) {
        pages_.remove(recent_.back());
        recent_.pop_back();
    }
    recent_.push_front(number);
    return *pages_.insert(number, std::move(cells));
}

RecordList::Cells RecordList::cells(qint64 i) {
    if (i < 0 || i >= count_) return {};
    const auto& p = page(i / kPage);
    const qint64 at = i % kPage;
    return at < qint64(p.size()) ? p[size_t(at)] : Cells{};
}

} // namespace zorva

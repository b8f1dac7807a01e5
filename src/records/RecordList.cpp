#include "records/RecordList.h"
#include "platform/Database.h"

#include <algorithm>

namespace zorva {

int RecordList::collectLimit = 10000;

namespace {

struct Line {
    qint64 ip4;
    QString address; // only for the address order
    qint64 key;
};

} // namespace

QString RecordList::collectStatement(const RecordQuery& query) {
    return QStringLiteral("SELECT rowid, IP_4, IP_Address FROM IP_Info WHERE ") + query.where +
           QStringLiteral(" LIMIT ?");
}

QString RecordList::countStatement(const RecordQuery& query) {
    return QStringLiteral("SELECT count(*) FROM IP_Info WHERE ") + query.where;
}

QString RecordList::walkStatement(const RecordQuery& query, bool continuing) {
    const QString column = query.orderColumn();
    QString sql = QStringLiteral("SELECT rowid, %1 FROM IP_Info WHERE (").arg(column) +
                  query.whereUnindexed + QLatin1Char(')');
    if (continuing) sql += QStringLiteral(" AND %1 >= ? AND (%1 > ? OR rowid > ?)").arg(column);
    return sql + QStringLiteral(" ORDER BY %1, rowid LIMIT ?").arg(column);
}

void RecordList::clear() {
    query_ = {};
    count_ = 0;
    keys_.clear();
    keysComplete_ = true;
    lastOrderValue_ = {};
    lastKey_ = 0;
    pages_.clear();
    recent_.clear();
}

bool RecordList::run(const RecordQuery& query, QString* error) {
    clear();
    query_ = query;
    if (query.isEmpty()) return true;
    if (!collect(error)) {
        clear();
        return false;
    }
    return true;
}

bool RecordList::collect(QString* error) {
    const bool byAddress = query_.order == RecordQuery::Order::ByAddress;
    // Through the condition's own index, unordered: a small result is sorted here.
    QVariantList values = query_.values;
    values << collectLimit + 1;
    ++statements_;
    auto q = runSql(collectStatement(query_), values, error);
    if (!q) return false;
    std::vector<Line> lines;
    while (q->next()) {
        const QVariant ip4 = q->value(1);
        lines.push_back({ip4.isNull() ? -1 : ip4.toLongLong(),
                         byAddress ? q->value(2).toString() : QString(), q->value(0).toLongLong()});
    }
    q.reset();
    if (qsizetype(lines.size()) <= collectLimit) {
        std::sort(lines.begin(), lines.end(), [byAddress](const Line& a, const Line& b) {
            if (byAddress && a.address != b.address) return a.address < b.address;
            if (a.ip4 != b.ip4) return a.ip4 < b.ip4;
            return a.key < b.key;
        });
        keys_.reserve(lines.size());
        for (const Line& l : lines) keys_.push_back(l.key);
        count_ = qint64(keys_.size());
        keysComplete_ = true;
        return true;
    }
    // Large: counted on its own, walked in the order's index.
    ++statements_;
    auto c = runSql(countStatement(query_), query_.values, error);
    if (!c || !c->next()) return false;
    count_ = c->value(0).toLongLong();
    keysComplete_ = false;
    return fetchKeys(std::min<qint64>(count_, 256) - 1);
}

bool RecordList::fetchKeys(qint64 upTo) {
    if (keysComplete_ || upTo < qint64(keys_.size())) return true;
    // Read at least as much as was read so far: a jump to the end costs a few statements.
    const qint64 wanted = std::max<qint64>({upTo + 1 - qint64(keys_.size()), 256,
                                            std::min<qint64>(qint64(keys_.size()), 65536)});
    QVariantList values = query_.values;
    if (!keys_.empty()) values << lastOrderValue_ << lastOrderValue_ << lastKey_;
    values << wanted;
    ++statements_;
    auto q = runSql(walkStatement(query_, !keys_.empty()), values);
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
        QStringList marks;
        QVariantList values;
        for (qint64 i = first; i < last; ++i) {
            marks << QStringLiteral("?");
            values << keys_[size_t(i)];
        }
        ++statements_;
        auto q = runSql(QStringLiteral("SELECT rowid, IP_Address, [Name], [Type], Username, "
                                       "StaffNo, Remarks FROM IP_Info WHERE rowid IN (") +
                            marks.join(QLatin1Char(',')) + QLatin1Char(')'),
                        values);
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

// Reading the history. An insert's entry holds no values and a change's only the columns it
// changed: the row at any moment is wound back from the record as it is now (or from its
// deletion's entry, which keeps the whole row) through the entries that came after.
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/SchemaServer.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace zorva {

namespace {

const QString kSelect = QStringLiteral(
    "SELECT rowid, ChangedAt, UserID, UserName, Computer, Action, IP_Address, OldValues, NewValues "
    "FROM IP_History");

QStringList infoColumns() {
    return schemaColumnsOf(QStringLiteral("IP_Info"));
}

QString timeText(const QDateTime& utc) {
    return utc.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString valueText(const QVariant& v) {
    return v.isNull() ? QString() : v.toString();
}

// A whole row is an array in the program's column order; a change an object by column name
// (the server names them in lower case: back to the program's names).
QVariantMap valuesOf(const QVariant& json) {
    if (json.isNull()) return {};
    const QJsonDocument doc = QJsonDocument::fromJson(json.toString().toUtf8());
    const QStringList columns = infoColumns();
    QVariantMap out;
    if (doc.isArray()) {
        const QJsonArray a = doc.array();
        for (qsizetype i = 0; i < a.size() && i < columns.size(); ++i)
            out.insert(columns.at(i), a.at(i).isNull() ? QVariant() : a.at(i).toVariant());
        return out;
    }
    const QJsonObject o = doc.object();
    for (auto it = o.begin(); it != o.end(); ++it) {
        QString name = it.key();
        for (const QString& c : columns)
            if (c.compare(name, Qt::CaseInsensitive) == 0) name = c;
        out.insert(name, it.value().toVariant());
    }
    return out;
}

HistoryEntry entryOf(const QSqlQuery& q) {
    HistoryEntry e;
    e.key = q.value(0).toLongLong();
    const QDateTime stored =
        QDateTime::fromString(q.value(1).toString(), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    e.at = QDateTime(stored.date(), stored.time(), Qt::UTC);
    e.userId = q.value(2).toString();
    e.userName = q.value(3).toString();
    e.computer = q.value(4).toString();
    e.action = q.value(5).toString();
    e.address = q.value(6).toString();
    e.before = valuesOf(q.value(7));
    e.after = valuesOf(q.value(8));
    return e;
}

bool isArrival(const HistoryEntry& e) {
    return e.action == history::kAdded || e.action == history::kRestored;
}

// The columns a change touched: those it kept an old or a new value of (a null is left out).
QStringList changedColumns(const HistoryEntry& e) {
    QStringList out = e.before.keys();
    for (auto it = e.after.cbegin(); it != e.after.cend(); ++it)
        if (!e.before.contains(it.key())) out << it.key();
    return out;
}

std::optional<QList<HistoryEntry>> entries(QSqlDatabase db, const QString& sql,
                                           const QVariantList& values, QString* error) {
    auto q = runSqlOn(db, sql, values, error);
    if (!q) return std::nullopt;
    QList<HistoryEntry> out;
    while (q->next())
        out << entryOf(*q);
    return out;
}

QString marks(qsizetype n) {
    QStringList m;
    m.fill(QStringLiteral("?"), n);
    return m.join(QLatin1Char(','));
}

// Gives each entry in `want` (by key) its row as it stood right after it: the record as it is
// now, wound back through the newer entries of its address. Two statements per 500 addresses,
// one when `list` holds every entry of its addresses already.
bool windBack(QSqlDatabase db, QList<HistoryEntry>& list,
              const std::function<bool(const HistoryEntry&)>& want, bool listComplete,
              QString* error) {
    QHash<QString, qint64> oldest; // address -> the oldest key wanted
    for (const HistoryEntry& e : list)
        if (want(e) && !e.address.isEmpty())
            oldest[e.address] =
                oldest.contains(e.address) ? std::min(oldest[e.address], e.key) : e.key;
    const QStringList addresses = oldest.keys();
    const QStringList columns = infoColumns();
    for (qsizetype at = 0; at < addresses.size(); at += 500) {
        const QStringList part = addresses.mid(at, 500);
        QVariantList values(part.cbegin(), part.cend());
        QHash<QString, QVariantMap> now;
        {
            auto q = runSqlOn(db,
                              QStringLiteral("SELECT * FROM IP_Info WHERE IP_Address IN (%1)")
                                  .arg(marks(part.size())),
                              values, error);
            if (!q) return false;
            QList<ProgramField> fields;
            while (q->next()) {
                QVariantMap row;
                const QSqlRecord r = q->record();
                if (fields.isEmpty()) fields = programFields(r, QStringLiteral("IP_Info"), 0);
                for (const ProgramField& f : fields)
                    if (columns.contains(f.name)) row.insert(f.name, r.value(f.index));
                now.insert(row.value(QStringLiteral("IP_Address")).toString(), row);
            }
        }
        // The address index finds them all (a few per address); the older ones are passed over.
        std::optional<QList<HistoryEntry>> read;
        if (!listComplete) {
            read = entries(
                db, kSelect + QStringLiteral(" WHERE IP_Address IN (%1)").arg(marks(part.size())),
                values, error);
            if (!read) return false;
        }
        QList<HistoryEntry>& newer = listComplete ? list : *read;
        std::sort(newer.begin(), newer.end(),
                  [](const HistoryEntry& a, const HistoryEntry& b) { return a.key > b.key; });
        // Per address, newest first: the state before each entry is the state after the next older.
        QHash<QString, QList<const HistoryEntry*>> byAddress;
        for (const HistoryEntry& e : newer)
            if (e.key >= oldest.value(e.address)) byAddress[e.address].append(&e);
        QHash<qint64, QVariantMap> rowAfter;
        for (const QString& a : part) {
            std::optional<QVariantMap> state;
            if (now.contains(a)) state = now.value(a);
            for (const HistoryEntry* e : byAddress.value(a)) {
                if (state) rowAfter.insert(e->key, *state);
                if (e->action == history::kDeleted) {
                    state = e->before;
                } else if (e->action == history::kChanged) {
                    if (!state) state = QVariantMap();
                    for (const QString& c : changedColumns(*e))
                        state->insert(c, e->before.value(c));
                } else if (isArrival(*e)) {
                    state.reset();
                }
            }
        }
        for (HistoryEntry& e : list)
            if (want(e) && rowAfter.contains(e.key)) e.after = rowAfter.value(e.key);
    }
    return true;
}

// An arrival's entry shows the record as it came.
bool completeArrivals(QSqlDatabase db, QList<HistoryEntry>& list, QString* error) {
    return windBack(
        db, list, [](const HistoryEntry& e) { return isArrival(e) && e.after.isEmpty(); }, false,
        error);
}

} // namespace

namespace history {
QString storedTime(const QDateTime& utc) {
    return timeText(utc);
}
} // namespace history

QList<FieldChange> changesOf(const HistoryEntry& e) {
    QList<FieldChange> out;
    const QStringList changed = e.action == history::kChanged ? changedColumns(e) : QStringList();
    for (const QString& c : infoColumns()) {
        const bool shown =
            e.action == history::kChanged
                ? changed.contains(c)
                : !valueText(e.before.value(c)).isEmpty() || !valueText(e.after.value(c)).isEmpty();
        if (shown) out.append({c, valueText(e.before.value(c)), valueText(e.after.value(c))});
    }
    return out;
}

HistoryQuery historyByAddress(const QString& address) {
    return {QStringLiteral("IP_Address = ?"), {address}};
}

HistoryQuery historyByUser(const QString& userId, const QDateTime& from, const QDateTime& to) {
    return {QStringLiteral("UserID = ? AND ChangedAt >= ? AND ChangedAt < ?"),
            {userId, timeText(from), timeText(to)}};
}

HistoryQuery historyByAction(const QString& action, const QDateTime& from, const QDateTime& to) {
    return {QStringLiteral("Action = ? AND ChangedAt >= ? AND ChangedAt < ?"),
            {action, timeText(from), timeText(to)}};
}

std::optional<QList<HistoryEntry>> readHistory(QSqlDatabase db, const HistoryQuery& query,
                                               qint64 before, int limit, QString* error) {
    QString sql = kSelect + QStringLiteral(" WHERE ") + query.where;
    QVariantList values = query.values;
    if (before > 0) {
        sql += QStringLiteral(" AND rowid < ?");
        values << before;
    }
    sql += QStringLiteral(" ORDER BY rowid DESC LIMIT ") + QString::number(limit);
    auto out = entries(db, sql, values, error);
    if (out && !completeArrivals(db, *out, error)) return std::nullopt;
    return out;
}

std::optional<qint64> countHistory(QSqlDatabase db, const HistoryQuery& query, QString* error) {
    auto q = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_History WHERE ") + query.where,
                      query.values, error);
    if (!q || !q->next()) return std::nullopt;
    return q->value(0).toLongLong();
}

std::optional<QList<HistoryEntry>> historyOf(QSqlDatabase db, const QString& address,
                                             QString* error) {
    auto all = entries(db, kSelect + QStringLiteral(" WHERE IP_Address = ? ORDER BY rowid DESC"),
                       {address}, error);
    if (!all ||
        !windBack(
            db, *all, [](const HistoryEntry& e) { return isArrival(e) && e.after.isEmpty(); }, true,
            error))
        return std::nullopt;
    return all;
}

std::optional<HistoryEntry> heldAt(QSqlDatabase db, const QString& address, const QDateTime& when,
                                   QString* error) {
    auto all = entries(db, kSelect + QStringLiteral(" WHERE IP_Address = ? ORDER BY rowid DESC"),
                       {address}, error);
    if (!all) return std::nullopt;
    const QString at = timeText(when);
    const HistoryEntry* last = nullptr;
    for (const HistoryEntry& e : *all)
        if (timeText(e.at) <= at && (!last || e.at > last->at)) last = &e;
    if (!last || last->action == history::kDeleted) return std::nullopt;
    // The whole row as it stood then, whatever kind of entry came last.
    const qint64 key = last->key;
    if (!windBack(
            db, *all, [key](const HistoryEntry& e) { return e.key == key; }, true, error))
        return std::nullopt;
    for (const HistoryEntry& e : *all)
        if (e.key == key) return e;
    return std::nullopt;
}

QString historyTimeText(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace zorva

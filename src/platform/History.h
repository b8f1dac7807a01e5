#pragma once
// The history of every address: one IP_History row for each insert, update and delete of an
// IP_Info row, written by triggers in the database itself, so that no path that writes IP_Info
// can leave it out and the entry lives or dies with the change (one statement). Each
// connection tells the triggers who works (user, computer) when it opens and after a login.
// History rows are never updated; they are deleted only by the purge of old entries.
#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <optional>

namespace zorva {

namespace history {
inline const QString kAdded = QStringLiteral("added");
inline const QString kChanged = QStringLiteral("changed");
inline const QString kDeleted = QStringLiteral("deleted");
inline const QString kRestored = QStringLiteral("restored");
inline const QString kPurged = QStringLiteral("purged");
// A moment as the history stores it (UTC, "yyyy-MM-dd HH:mm:ss.zzz": its text order is its time order).
QString storedTime(const QDateTime& utc);
} // namespace history

// The statements that give a database its history (table, indexes, triggers); empty when it
// has it all. Part of the schema's creation and of its upgrade. A database that has the table
// without its triggers gets them back; its rows are kept.
QStringList historyStatements(QSqlDatabase& db);
// Only the table, for the migration, which copies the rows before the triggers come.
QStringList historyTableStatements(QSqlDatabase& db);
// The history table's columns, in their order.
QStringList historyColumns();
inline const QString kHistoryTable = QStringLiteral("IP_History");

// Tells a newly opened connection who works: on a file it gives the connection the functions
// the triggers call (they read the session values when they run); on a server it sets the
// connection's settings, and keepHistoryToldOf() renews them when the user has changed.
void prepareHistoryConnection(QSqlDatabase& db);
void keepHistoryToldOf(QSqlDatabase& db);

// For the lifetime of the object, changes on db are recorded with this action in place of
// the trigger's own ("restored"); the purge uses it to be let through.
class HistoryAction {
public:
    HistoryAction(QSqlDatabase db, const QString& action);
    ~HistoryAction();
    HistoryAction(const HistoryAction&) = delete;
    HistoryAction& operator=(const HistoryAction&) = delete;

private:
    QSqlDatabase db_;
};

struct HistoryEntry {
    qint64 key = 0;
    QDateTime at; // UTC
    QString userId, userName, computer, action, address;
    // By IP_Info's column names. A change: the changed columns' old and new values (a column
    // missing from one side was null there). Otherwise the whole row: before a deletion, after
    // an addition or a restore.
    QVariantMap before, after;
};

// One column of a change: its name and its text before and after.
struct FieldChange {
    QString column, before, after;
};
QList<FieldChange> changesOf(const HistoryEntry& e);

// The entries of one address, newest first.
std::optional<QList<HistoryEntry>> historyOf(QSqlDatabase db, const QString& address,
                                             QString* error = nullptr);
// The last entry of an address at or before `when` (UTC), its `after` the whole record as it
// stood then: who held it (nothing when that entry is a deletion, or when it has no entry so
// early).
std::optional<HistoryEntry> heldAt(QSqlDatabase db, const QString& address, const QDateTime& when,
                                   QString* error = nullptr);

// A search of the history: the rows' condition with its values, for a grid that reads it in
// pieces, newest first.
struct HistoryQuery {
    QString where;
    QVariantList values;
};
HistoryQuery historyByAddress(const QString& address);
HistoryQuery historyByUser(const QString& userId, const QDateTime& from, const QDateTime& to);
HistoryQuery historyByAction(const QString& action, const QDateTime& from, const QDateTime& to);
// Up to `limit` entries of the query older than the entry `before` (0: from the newest).
std::optional<QList<HistoryEntry>> readHistory(QSqlDatabase db, const HistoryQuery& q, qint64 before,
                                               int limit, QString* error = nullptr);
std::optional<qint64> countHistory(QSqlDatabase db, const HistoryQuery& q, QString* error = nullptr);

// Puts a deleted record back as it was. AddressTaken names the record that holds the address
// now in `holder`; missingPlan names the plan entries (area, city) that no longer exist.
enum class RestoreOutcome { Restored, AddressTaken, NotADeletion, Failed };
RestoreOutcome restoreRecord(QSqlDatabase db, const HistoryEntry& deleted, QString* holder,
                             QStringList* missingPlan, QString* error);

// Writes an entry that no change of IP_Info made (a purge, a mark on an address): now, who
// works, the action, the address (none when empty) and a note as its new values. Inside the
// caller's transaction, so that the entry stands or falls with what it tells of.
bool writeHistoryEntry(QSqlDatabase db, const QString& action, const QString& address,
                       const QString& note, QString* error = nullptr);

// Deletes the entries older than `years` years (UTC) and records the purge itself; the number
// of entries deleted, or -1 with the driver's text.
qint64 purgeHistory(QSqlDatabase db, int years, QString* error = nullptr);

// "dd/MM/yyyy HH:mm:ss" in local time, as the history is shown.
QString historyTimeText(const QDateTime& utc);

} // namespace zorva

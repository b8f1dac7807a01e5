#include "platform/History.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/SchemaServer.h"
#include "platform/Session.h"
#include "platform/SqlDialect.h"

#include <QHash>
#include <QHostInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace zorva {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz");
const QString kNeverChanged = QStringLiteral("The history of the addresses is never changed.");

// The trigger names; a database lacking one gets them all again.
const QStringList kFileTriggers = {QStringLiteral("IP_History_Insert"), QStringLiteral("IP_History_Update"),
                                   QStringLiteral("IP_History_Delete"), QStringLiteral("IP_History_Kept"),
                                   QStringLiteral("IP_History_Purged")};
const QStringList kServerTriggers = {QStringLiteral("ip_history_write"), QStringLiteral("ip_history_kept")};

const char* const kTable = R"(CREATE TABLE IP_History (
        ChangedAt TEXT NOT NULL,
        UserID TEXT COLLATE NOCASE,
        UserName TEXT COLLATE NOCASE,
        Computer TEXT COLLATE NOCASE,
        Action TEXT COLLATE NOCASE NOT NULL,
        IP_Address TEXT COLLATE NOCASE,
        OldValues TEXT,
        NewValues TEXT))";

// Who held an address when, one address's entries, one user's, one kind's, and the purge.
const char* const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS IP_History_Address ON IP_History (IP_Address, ChangedAt)",
    "CREATE INDEX IF NOT EXISTS IP_History_User ON IP_History (UserID, ChangedAt)",
    "CREATE INDEX IF NOT EXISTS IP_History_Action ON IP_History (Action, ChangedAt)",
    "CREATE INDEX IF NOT EXISTS IP_History_Time ON IP_History (ChangedAt)",
};

QStringList infoColumns() { return schemaColumnsOf(QStringLiteral("IP_Info")); }

QString quoted(const QString& column) { return QLatin1Char('[') + column + QLatin1Char(']'); }

// json_object('IP_Address', new.[IP_Address], ...) over the columns the table has.
QString fileRowObject(const QStringList& columns, const QString& row) {
    QStringList parts;
    for (const QString& c : columns)
        parts << QLatin1Char('\'') + c + QStringLiteral("', ") + row + QLatin1Char('.') + quoted(c);
    return QStringLiteral("json_object(") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString fileInsertInto(const QString& action, const QString& address, const QString& oldValues,
                       const QString& newValues) {
    return QStringLiteral(
               "INSERT INTO IP_History (ChangedAt, UserID, UserName, Computer, Action, IP_Address, "
               "OldValues, NewValues) VALUES (strftime('%Y-%m-%d %H:%M:%f', 'now'), zorva_user_id(), "
               "zorva_user_name(), zorva_computer(), coalesce(zorva_action(), '%1'), %2, %3, %4); ")
        .arg(action, address, oldValues, newValues);
}

QStringList fileTriggers(const QStringList& columns) {
    const auto rowObject = [&columns](const QString& row) { return fileRowObject(columns, row); };
    QStringList changed;
    for (const QString& c : columns)
        changed << QStringLiteral("old.%1 IS NOT new.%1 COLLATE BINARY").arg(quoted(c));
    // Of a change, the old values of the columns that changed; the new row whole.
    const QString oldChanged =
        QStringLiteral("(SELECT json_group_object(o.key, o.value) FROM json_each(%1) AS o "
                       "WHERE o.value IS NOT json_extract(%2, '$.\"' || o.key || '\"'))")
            .arg(rowObject(QStringLiteral("old")), rowObject(QStringLiteral("new")));
    const QString refuse = QStringLiteral("SELECT RAISE(ABORT, '%1'); ").arg(kNeverChanged);
    return {
        QStringLiteral("CREATE TRIGGER IP_History_Insert AFTER INSERT ON IP_Info BEGIN %1END")
            .arg(fileInsertInto(history::kAdded, QStringLiteral("new.IP_Address"), QStringLiteral("NULL"),
                                rowObject(QStringLiteral("new")))),
        QStringLiteral("CREATE TRIGGER IP_History_Update AFTER UPDATE ON IP_Info WHEN %1 BEGIN %2END")
            .arg(changed.join(QStringLiteral(" OR ")),
                 fileInsertInto(history::kChanged, QStringLiteral("new.IP_Address"), oldChanged,
                                rowObject(QStringLiteral("new")))),
        QStringLiteral("CREATE TRIGGER IP_History_Delete AFTER DELETE ON IP_Info BEGIN %1END")
            .arg(fileInsertInto(history::kDeleted, QStringLiteral("old.IP_Address"),
                                rowObject(QStringLiteral("old")), QStringLiteral("NULL"))),
        QStringLiteral("CREATE TRIGGER IP_History_Kept BEFORE UPDATE ON IP_History BEGIN %1END").arg(refuse),
        QStringLiteral("CREATE TRIGGER IP_History_Purged BEFORE DELETE ON IP_History WHEN "
                       "coalesce(zorva_action(), '') <> '%1' BEGIN %2END")
            .arg(history::kPurged, refuse),
    };
}

// On a server one function writes the entry of every kind; the settings of the connection
// name the user, the computer and an action in place of the trigger's own.
QStringList serverTriggers() {
    const QString write = QStringLiteral(R"(CREATE OR REPLACE FUNCTION ip_history_write() RETURNS trigger
LANGUAGE plpgsql AS $body$
DECLARE
    o jsonb;
    n jsonb;
    address text;
    act text := nullif(current_setting('zorva.action', true), '');
BEGIN
    IF TG_OP = 'INSERT' THEN
        n := to_jsonb(NEW) - 'rowid';
        address := NEW.ip_address;
        act := coalesce(act, '%1');
    ELSIF TG_OP = 'UPDATE' THEN
        n := to_jsonb(NEW) - 'rowid';
        SELECT jsonb_object_agg(e.key, e.value) INTO o FROM jsonb_each(to_jsonb(OLD) - 'rowid') AS e
            WHERE n -> e.key IS DISTINCT FROM e.value;
        IF o IS NULL THEN
            RETURN NULL;
        END IF;
        address := NEW.ip_address;
        act := coalesce(act, '%2');
    ELSE
        o := to_jsonb(OLD) - 'rowid';
        address := OLD.ip_address;
        act := coalesce(act, '%3');
    END IF;
    INSERT INTO ip_history (changedat, userid, username, computer, action, ip_address, oldvalues, newvalues)
    VALUES (to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS.MS'),
            nullif(current_setting('zorva.user_id', true), ''),
            nullif(current_setting('zorva.user_name', true), ''),
            nullif(current_setting('zorva.computer', true), ''),
            act, address, o::text, n::text);
    RETURN NULL;
END
$body$)")
                              .arg(history::kAdded, history::kChanged, history::kDeleted);
    const QString guard = QStringLiteral(R"(CREATE OR REPLACE FUNCTION ip_history_kept() RETURNS trigger
LANGUAGE plpgsql AS $body$
BEGIN
    IF TG_OP = 'DELETE' AND current_setting('zorva.action', true) = '%1' THEN
        RETURN OLD;
    END IF;
    RAISE EXCEPTION '%2';
END
$body$)")
                              .arg(history::kPurged, kNeverChanged);
    return {write, guard,
            QStringLiteral("DROP TRIGGER IF EXISTS ip_history_write ON ip_info"),
            QStringLiteral("CREATE TRIGGER ip_history_write AFTER INSERT OR UPDATE OR DELETE ON ip_info "
                           "FOR EACH ROW EXECUTE FUNCTION ip_history_write()"),
            QStringLiteral("DROP TRIGGER IF EXISTS ip_history_kept ON ip_history"),
            QStringLiteral("CREATE TRIGGER ip_history_kept BEFORE UPDATE OR DELETE ON ip_history "
                           "FOR EACH ROW EXECUTE FUNCTION ip_history_kept()")};
}

bool hasTable(QSqlDatabase& db, const QString& table) {
    return catalog(db, Catalog::Tables).contains(table, Qt::CaseInsensitive);
}

// ---- the connection's part

QString& fileAction() {
    static QString action; // one thread writes: the one of the forms
    return action;
}

void resultText(sqlite3_context* c, const QString& text) {
    if (text.isEmpty()) return sqlite3_result_null(c);
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(c, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

QString computerName() {
    static const QString name = QHostInfo::localHostName();
    return name;
}

void fileUserId(sqlite3_context* c, int, sqlite3_value**) { resultText(c, appState().gUserID); }
void fileUserName(sqlite3_context* c, int, sqlite3_value**) { resultText(c, appState().gUserName); }
void fileComputer(sqlite3_context* c, int, sqlite3_value**) { resultText(c, computerName()); }
void fileActionFunction(sqlite3_context* c, int, sqlite3_value**) { resultText(c, fileAction()); }

// Who each server connection was last told of.
QHash<QString, QString>& toldOf() {
    static QHash<QString, QString> told;
    return told;
}
QString worker() { return appState().gUserID + QLatin1Char('\n') + appState().gUserName; }

void setServerSettings(QSqlDatabase& db) {
    toldOf().insert(db.connectionName(), worker());
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT set_config('zorva.user_id', ?, false), set_config('zorva.user_name', ?, false), "
                             "set_config('zorva.computer', ?, false)"));
    q.addBindValue(appState().gUserID);
    q.addBindValue(appState().gUserName);
    q.addBindValue(computerName());
    q.exec();
}

// ---- reading

const QString kSelect = QStringLiteral(
    "SELECT rowid, ChangedAt, UserID, UserName, Computer, Action, IP_Address, OldValues, NewValues "
    "FROM IP_History");

QVariantMap valuesOf(const QVariant& json) {
    if (json.isNull()) return {};
    const QJsonObject o = QJsonDocument::fromJson(json.toString().toUtf8()).object();
    // The server names the columns in lower case: back to the program's names.
    QVariantMap out;
    const QStringList columns = infoColumns();
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
    const QDateTime stored = QDateTime::fromString(q.value(1).toString(), kTimeFormat);
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

QString timeText(const QDateTime& utc) { return utc.toUTC().toString(kTimeFormat); }

QString valueText(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

} // namespace

QStringList historyColumns() {
    return {QStringLiteral("ChangedAt"), QStringLiteral("UserID"),     QStringLiteral("UserName"),
            QStringLiteral("Computer"),  QStringLiteral("Action"),     QStringLiteral("IP_Address"),
            QStringLiteral("OldValues"), QStringLiteral("NewValues")};
}

QStringList historyTableStatements(QSqlDatabase& db) {
    if (hasTable(db, kHistoryTable)) return {};
    return {QString::fromLatin1(kTable)};
}

QStringList historyStatements(QSqlDatabase& db) {
    QStringList out = historyTableStatements(db);
    const QStringList indexes = out.isEmpty() ? catalog(db, Catalog::Indexes) : QStringList();
    for (const char* sql : kIndexes) {
        const QString name = QString::fromLatin1(sql).section(QLatin1Char(' '), 5, 5);
        if (!indexes.contains(name, Qt::CaseInsensitive)) out << QString::fromLatin1(sql);
    }
    const QStringList present = catalog(db, Catalog::Triggers);
    const bool server = isServer(db);
    bool complete = true;
    for (const QString& t : server ? kServerTriggers : kFileTriggers)
        complete = complete && present.contains(t, Qt::CaseInsensitive);
    if (complete) return out;
    if (server) return out << serverTriggers();
    for (const QString& t : kFileTriggers) out << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(t);
    // A table of an older layout is written with the columns it has; Status is the one the
    // upgrade adds before these statements run.
    const QStringList have = catalog(db, Catalog::Columns, {QStringLiteral("IP_Info")});
    QStringList columns;
    for (const QString& c : infoColumns())
        if (have.contains(c, Qt::CaseInsensitive) || c == QLatin1String("Status")) columns << c;
    return out << fileTriggers(columns);
}

void prepareHistoryConnection(QSqlDatabase& db) {
    if (isServer(db)) return setServerSettings(db);
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return;
    sqlite3* h = *static_cast<sqlite3* const*>(handle.data());
    if (!h) return;
    const auto add = [h](const char* name, void (*f)(sqlite3_context*, int, sqlite3_value**)) {
        sqlite3_create_function_v2(h, name, 0, SQLITE_UTF8, nullptr, f, nullptr, nullptr, nullptr);
    };
    add("zorva_user_id", fileUserId);
    add("zorva_user_name", fileUserName);
    add("zorva_computer", fileComputer);
    add("zorva_action", fileActionFunction);
}

void keepHistoryToldOf(QSqlDatabase& db) {
    if (isServer(db) && toldOf().value(db.connectionName()) != worker()) setServerSettings(db);
}

HistoryAction::HistoryAction(QSqlDatabase db, const QString& action) : db_(db) {
    if (!isServer(db_)) {
        fileAction() = action;
        return;
    }
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT set_config('zorva.action', ?, false)"));
    q.addBindValue(action);
    q.exec();
}

HistoryAction::~HistoryAction() {
    if (!isServer(db_)) {
        fileAction().clear();
        return;
    }
    QSqlQuery q(db_);
    q.exec(QStringLiteral("SELECT set_config('zorva.action', '', false)"));
}

QList<FieldChange> changesOf(const HistoryEntry& e) {
    QList<FieldChange> out;
    for (const QString& c : infoColumns()) {
        const bool changed = e.action == history::kChanged ? e.before.contains(c)
                                                           : !valueText(e.before.value(c)).isEmpty() ||
                                                                 !valueText(e.after.value(c)).isEmpty();
        if (changed) out.append({c, valueText(e.before.value(c)), valueText(e.after.value(c))});
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

std::optional<QList<HistoryEntry>> readHistory(QSqlDatabase db, const HistoryQuery& query, qint64 before,
                                               int limit, QString* error) {
    QString sql = kSelect + QStringLiteral(" WHERE ") + query.where;
    QVariantList values = query.values;
    if (before > 0) {
        sql += QStringLiteral(" AND rowid < ?");
        values << before;
    }
    sql += QStringLiteral(" ORDER BY rowid DESC LIMIT ") + QString::number(limit);
    auto q = runSqlOn(db, sql, values, error);
    if (!q) return std::nullopt;
    QList<HistoryEntry> out;
    while (q->next()) out << entryOf(*q);
    return out;
}

std::optional<qint64> countHistory(QSqlDatabase db, const HistoryQuery& query, QString* error) {
    auto q = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_History WHERE ") + query.where,
                      query.values, error);
    if (!q || !q->next()) return std::nullopt;
    return q->value(0).toLongLong();
}

std::optional<QList<HistoryEntry>> historyOf(QSqlDatabase db, const QString& address, QString* error) {
    return readHistory(db, historyByAddress(address), 0, 1000000, error);
}

std::optional<HistoryEntry> heldAt(QSqlDatabase db, const QString& address, const QDateTime& when,
                                   QString* error) {
    auto q = runSqlOn(db,
                      kSelect + QStringLiteral(" WHERE IP_Address = ? AND ChangedAt <= ? "
                                               "ORDER BY ChangedAt DESC, rowid DESC LIMIT 1"),
                      {address, timeText(when)}, error);
    if (!q || !q->next()) return std::nullopt;
    HistoryEntry e = entryOf(*q);
    if (e.action == history::kDeleted) return std::nullopt;
    return e;
}

RestoreOutcome restoreRecord(QSqlDatabase db, const HistoryEntry& deleted, QString* holder,
                             QStringList* missingPlan, QString* error) {
    if (deleted.action != history::kDeleted || deleted.before.isEmpty()) return RestoreOutcome::NotADeletion;
    const QString address = deleted.before.value(QStringLiteral("IP_Address")).toString();
    Transaction t(db);
    auto now = runSqlOn(db, QStringLiteral("SELECT [Name], Username FROM IP_Info WHERE IP_Address = ?"),
                        {address}, error);
    if (!now) return RestoreOutcome::Failed;
    if (now->next()) {
        if (holder) {
            QStringList who;
            for (int i : {0, 1})
                if (!now->value(i).toString().isEmpty()) who << now->value(i).toString();
            *holder = address + (who.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(who.join(QStringLiteral(", "))));
        }
        return RestoreOutcome::AddressTaken;
    }
    // The plan entries the record names may have gone since: it comes back as it was.
    if (missingPlan) {
        missingPlan->clear();
        const QString area = deleted.before.value(QStringLiteral("Region")).toString();
        const QString city = deleted.before.value(QStringLiteral("CityOwner")).toString();
        auto has = [&](const QString& sql, const QVariantList& v) {
            auto q = runSqlOn(db, sql, v);
            return q && q->next();
        };
        if (!area.isEmpty() && !has(QStringLiteral("SELECT 1 FROM Region WHERE Region = ?"), {area}))
            *missingPlan << QStringLiteral("the area %1").arg(area);
        if (!city.isEmpty() &&
            !has(QStringLiteral("SELECT 1 FROM City WHERE City_name = ? AND Region = ?"), {city, area}))
            *missingPlan << QStringLiteral("the city %1").arg(city);
    }
    QStringList columns, marks;
    QVariantList values;
    for (const QString& c : infoColumns()) {
        if (!deleted.before.contains(c)) continue;
        columns << quoted(c);
        marks << QStringLiteral("?");
        values << deleted.before.value(c);
    }
    {
        const HistoryAction restoring(db, history::kRestored);
        if (!runSqlOn(db, QStringLiteral("INSERT INTO IP_Info (%1) VALUES (%2)")
                              .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                      values, error))
            return RestoreOutcome::Failed;
    }
    if (!t.commit()) {
        if (error) *error = db.lastError().text();
        return RestoreOutcome::Failed;
    }
    return RestoreOutcome::Restored;
}

qint64 purgeHistory(QSqlDatabase db, int years, QString* error) {
    if (!session().isSistem()) {
        if (error) *error = QStringLiteral("Only a user of the group \"Sistem\" may purge the history.");
        return -1;
    }
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addYears(-years);
    Transaction t(db);
    qint64 removed = 0;
    {
        const HistoryAction purging(db, history::kPurged);
        auto q = runSqlOn(db, QStringLiteral("DELETE FROM IP_History WHERE ChangedAt < ?"),
                          {timeText(cutoff)}, error);
        if (!q) return -1;
        removed = q->numRowsAffected();
    }
    const QString note = QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("olderThan"), timeText(cutoff)},
                                  {QStringLiteral("entries"), removed}})
            .toJson(QJsonDocument::Compact));
    if (!runSqlOn(db,
                  QStringLiteral("INSERT INTO IP_History (ChangedAt, UserID, UserName, Computer, Action, "
                                 "IP_Address, OldValues, NewValues) VALUES (?, ?, ?, ?, ?, NULL, NULL, ?)"),
                  {timeText(QDateTime::currentDateTimeUtc()), appState().gUserID, appState().gUserName,
                   computerName(), history::kPurged, note},
                  error))
        return -1;
    if (!t.commit()) {
        if (error) *error = db.lastError().text();
        return -1;
    }
    return removed;
}

QString historyTimeText(const QDateTime& utc) {
    return utc.toLocalTime().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

} // namespace zorva

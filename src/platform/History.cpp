#include "platform/History.h"
#include "platform/ServerStatement.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/EngineHandle.h"
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

const QString kNeverChanged = QStringLiteral("The history of the addresses is never changed.");

// The trigger names; a database lacking one gets them all again. Those of the first layout
// of the history (every entry with whole rows, named by column) give way to them.
const QStringList kFileTriggers = {
    QStringLiteral("IP_History_Added"), QStringLiteral("IP_History_Changed"),
    QStringLiteral("IP_History_Deleted"), QStringLiteral("IP_History_Kept"),
    QStringLiteral("IP_History_Purged")};
const QStringList kFormerFileTriggers = {QStringLiteral("IP_History_Insert"),
                                         QStringLiteral("IP_History_Update"),
                                         QStringLiteral("IP_History_Delete")};
const QStringList kServerTriggers = {QStringLiteral("ip_history_entry"),
                                     QStringLiteral("ip_history_kept")};
const QString kFormerIndex = QStringLiteral("IP_History_Time");

const char* const kTable = R"(CREATE TABLE IP_History (
        ChangedAt TEXT NOT NULL,
        UserID TEXT COLLATE NOCASE,
        UserName TEXT COLLATE NOCASE,
        Computer TEXT COLLATE NOCASE,
        Action TEXT COLLATE NOCASE NOT NULL,
        IP_Address TEXT COLLATE NOCASE,
        OldValues TEXT,
        NewValues TEXT))";

// One address's entries (and who held it when), one user's, one kind's. The rare purge reads
// the whole table rather than every entry paying for an index of its own.
const char* const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS IP_History_Address ON IP_History (IP_Address, ChangedAt)",
    "CREATE INDEX IF NOT EXISTS IP_History_User ON IP_History (UserID, ChangedAt)",
    "CREATE INDEX IF NOT EXISTS IP_History_Action ON IP_History (Action, ChangedAt)",
};

QStringList infoColumns() {
    return schemaColumnsOf(QStringLiteral("IP_Info"));
}

QString quoted(const QString& column) {
    return QLatin1Char('[') + column + QLatin1Char(']');
}

// The whole row, as an array in the program's column order (null for a column an older table
// lacks): the column names are not repeated in every entry.
QString fileRowArray(const QStringList& have, const QString& row) {
    QStringList parts;
    for (const QString& c : infoColumns())
        parts << (have.contains(c) ? row + QLatin1Char('.') + quoted(c) : QStringLiteral("NULL"));
    return QStringLiteral("json_array(") + parts.join(QStringLiteral(", ")) + QLatin1Char(')');
}

// Of a change, the columns that changed, with their old (`row` old) or new values; a null is
// left out (json_patch drops the keys whose value is null), so that a missing column reads null.
QString fileChangedObject(const QStringList& columns, const QString& row) {
    QStringList parts;
    for (const QString& c : columns)
        parts << QStringLiteral(
                     "'%1', CASE WHEN old.%2 IS NOT new.%2 COLLATE BINARY THEN %3.%2 END")
                     .arg(c, quoted(c), row);
    return QStringLiteral("nullif(json_patch('{}', json_object(") +
           parts.join(QStringLiteral(", ")) + QStringLiteral(")), '{}')");
}

QString fileInsertInto(const QString& action, const QString& address, const QString& oldValues,
                       const QString& newValues) {
    return QStringLiteral(
               "INSERT INTO IP_History (ChangedAt, UserID, UserName, Computer, Action, IP_Address, "
               "OldValues, NewValues) VALUES (strftime('%Y-%m-%d %H:%M:%f', 'now'), "
               "zorva_user_id(), "
               "zorva_user_name(), zorva_computer(), coalesce(zorva_action(), '%1'), %2, %3, %4); ")
        .arg(action, address, oldValues, newValues);
}

// An insert records no values: they are the row's own, and each later change or the deletion
// keeps what it replaced, so that the reader winds the row back to any moment. A change keeps
// the changed columns' old and new values, a deletion the whole row.
QStringList fileTriggers(const QStringList& columns) {
    QStringList changed;
    for (const QString& c : columns)
        changed << QStringLiteral("old.%1 IS NOT new.%1 COLLATE BINARY").arg(quoted(c));
    const QString refuse = QStringLiteral("SELECT RAISE(ABORT, '%1'); ").arg(kNeverChanged);
    return {
        QStringLiteral("CREATE TRIGGER IP_History_Added AFTER INSERT ON IP_Info BEGIN %1END")
            .arg(fileInsertInto(history::kAdded, QStringLiteral("new.IP_Address"),
                                QStringLiteral("NULL"), QStringLiteral("NULL"))),
        QStringLiteral(
            "CREATE TRIGGER IP_History_Changed AFTER UPDATE ON IP_Info WHEN %1 BEGIN %2END")
            .arg(changed.join(QStringLiteral(" OR ")),
                 fileInsertInto(history::kChanged, QStringLiteral("new.IP_Address"),
                                fileChangedObject(columns, QStringLiteral("old")),
                                fileChangedObject(columns, QStringLiteral("new")))),
        QStringLiteral("CREATE TRIGGER IP_History_Deleted AFTER DELETE ON IP_Info BEGIN %1END")
            .arg(fileInsertInto(history::kDeleted, QStringLiteral("old.IP_Address"),
                                fileRowArray(columns, QStringLiteral("old")),
                                QStringLiteral("NULL"))),
        QStringLiteral("CREATE TRIGGER IP_History_Kept BEFORE UPDATE ON IP_History BEGIN %1END")
            .arg(refuse),
        QStringLiteral("CREATE TRIGGER IP_History_Purged BEFORE DELETE ON IP_History WHEN "
                       "coalesce(zorva_action(), '') <> '%1' BEGIN %2END")
            .arg(history::kPurged, refuse),
    };
}

// On a server one function writes the entry of every kind, as on the file; the settings of
// the connection name the user, the computer and an action in place of the trigger's own.
QStringList serverTriggers(const QStringList& have) {
    QStringList array;
    for (const QString& c : infoColumns())
        array << (have.contains(c, Qt::CaseInsensitive) ? QStringLiteral("OLD.") + c.toLower()
                                                        : QStringLiteral("NULL"));
    const QString write =
        QStringLiteral(R"(CREATE OR REPLACE FUNCTION ip_history_entry() RETURNS trigger
LANGUAGE plpgsql AS $body$
DECLARE
    o jsonb;
    n jsonb;
    oldrow jsonb;
    newrow jsonb;
    address text;
    act text := nullif(current_setting('zorva.action', true), '');
BEGIN
    IF TG_OP = 'INSERT' THEN
        address := NEW.ip_address;
        act := coalesce(act, '%1');
    ELSIF TG_OP = 'UPDATE' THEN
        oldrow := to_jsonb(OLD);
        newrow := to_jsonb(NEW);
        SELECT jsonb_object_agg(e.key, e.value) INTO o FROM jsonb_each(oldrow) AS e
            WHERE e.value <> 'null'::jsonb AND e.value IS DISTINCT FROM newrow -> e.key;
        SELECT jsonb_object_agg(e.key, e.value) INTO n FROM jsonb_each(newrow) AS e
            WHERE e.value <> 'null'::jsonb AND e.value IS DISTINCT FROM oldrow -> e.key;
        -- Compared as text: a change of letter case is a change.
        IF o IS NULL AND n IS NULL THEN
            RETURN NULL;
        END IF;
        address := NEW.ip_address;
        act := coalesce(act, '%2');
    ELSE
        address := OLD.ip_address;
        act := coalesce(act, '%3');
    END IF;
    INSERT INTO ip_history (changedat, userid, username, computer, action, ip_address, oldvalues, newvalues)
    VALUES (to_char(clock_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS.MS'),
            nullif(current_setting('zorva.user_id', true), ''),
            nullif(current_setting('zorva.user_name', true), ''),
            nullif(current_setting('zorva.computer', true), ''),
            act, address,
            CASE WHEN TG_OP = 'DELETE' THEN json_build_array(%4)::text ELSE o::text END, n::text);
    RETURN NULL;
END
$body$)")
            .arg(history::kAdded, history::kChanged, history::kDeleted,
                 array.join(QStringLiteral(", ")));
    const QString guard =
        QStringLiteral(R"(CREATE OR REPLACE FUNCTION ip_history_kept() RETURNS trigger
LANGUAGE plpgsql AS $body$
BEGIN
    IF TG_OP = 'DELETE' AND current_setting('zorva.action', true) = '%1' THEN
        RETURN OLD;
    END IF;
    RAISE EXCEPTION '%2';
END
$body$)")
            .arg(history::kPurged, kNeverChanged);
    return {write,
            guard,
            QStringLiteral("DROP TRIGGER IF EXISTS ip_history_write ON ip_info"),
            QStringLiteral("DROP FUNCTION IF EXISTS ip_history_write()"),
            QStringLiteral("DROP TRIGGER IF EXISTS ip_history_entry ON ip_info"),
            QStringLiteral(
                "CREATE TRIGGER ip_history_entry AFTER INSERT OR UPDATE OR DELETE ON ip_info "
                "FOR EACH ROW EXECUTE FUNCTION ip_history_entry()"),
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

void fileUserId(sqlite3_context* c, int, sqlite3_value**) {
    resultText(c, appState().gUserID);
}
void fileUserName(sqlite3_context* c, int, sqlite3_value**) {
    resultText(c, appState().gUserName);
}
void fileComputer(sqlite3_context* c, int, sqlite3_value**) {
    resultText(c, computerName());
}
void fileActionFunction(sqlite3_context* c, int, sqlite3_value**) {
    resultText(c, fileAction());
}

// Who each server connection was last told of (per thread, as the connections are).
QHash<QString, QString>& toldOf() {
    thread_local QHash<QString, QString> told;
    return told;
}
QString worker() {
    return appState().gUserID + QLatin1Char('\n') + appState().gUserName;
}

// Settings of the server session, in one round trip.
void setOnServer(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    if (const auto text = statementWithValues(db.driver(), sql, values)) QSqlQuery(db).exec(*text);
}

void setServerSettings(QSqlDatabase& db) {
    toldOf().insert(db.connectionName(), worker());
    setOnServer(db, QStringLiteral(
        "SELECT set_config('zorva.user_id', ?, false), set_config('zorva.user_name', ?, false), "
        "set_config('zorva.computer', ?, false)"), {appState().gUserID, appState().gUserName, computerName()});
}

} // namespace

QStringList historyColumns() {
    return {QStringLiteral("ChangedAt"), QStringLiteral("UserID"),   QStringLiteral("UserName"),
            QStringLiteral("Computer"),  QStringLiteral("Action"),   QStringLiteral("IP_Address"),
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
    if (indexes.contains(kFormerIndex, Qt::CaseInsensitive))
        out << QStringLiteral("DROP INDEX ") + kFormerIndex;
    const QStringList present = catalog(db, Catalog::Triggers);
    const bool server = isServer(db);
    bool complete = true;
    for (const QString& t : server ? kServerTriggers : kFileTriggers)
        complete = complete && present.contains(t, Qt::CaseInsensitive);
    if (complete) return out;
    const QStringList have = catalog(db, Catalog::Columns, {QStringLiteral("IP_Info")});
    if (server) return out << serverTriggers(have);
    for (const QString& t : kFileTriggers + kFormerFileTriggers)
        out << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(t);
    // A table of an older layout is written with the columns it has; Status is the one the
    // upgrade adds before these statements run.
    QStringList columns;
    for (const QString& c : infoColumns())
        if (have.contains(c, Qt::CaseInsensitive) || c == QLatin1String("Status")) columns << c;
    return out << fileTriggers(columns);
}

void prepareHistoryConnection(QSqlDatabase& db) {
    if (isServer(db)) return setServerSettings(db);
    sqlite3* h = engineHandle<sqlite3>(db, "sqlite3*");
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
    setOnServer(db_, QStringLiteral("SELECT set_config('zorva.action', ?, false)"), {action});
}

HistoryAction::~HistoryAction() {
    if (!isServer(db_)) {
        fileAction().clear();
        return;
    }
    QSqlQuery q(db_);
    q.exec(QStringLiteral("SELECT set_config('zorva.action', '', false)"));
}

RestoreOutcome restoreRecord(QSqlDatabase db, const HistoryEntry& deleted, QString* holder,
                             QStringList* missingPlan, QString* error) {
    if (deleted.action != history::kDeleted || deleted.before.isEmpty())
        return RestoreOutcome::NotADeletion;
    const QString address = deleted.before.value(QStringLiteral("IP_Address")).toString();
    Transaction t(db);
    auto now =
        runSqlOn(db, QStringLiteral("SELECT [Name], Username FROM IP_Info WHERE IP_Address = ?"),
                 {address}, error);
    if (!now) return RestoreOutcome::Failed;
    if (now->next()) {
        if (holder) {
            QStringList who;
            for (int i : {0, 1})
                if (!now->value(i).toString().isEmpty()) who << now->value(i).toString();
            *holder = address + (who.isEmpty()
                                     ? QString()
                                     : QStringLiteral(" (%1)").arg(who.join(QStringLiteral(", "))));
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
        if (!area.isEmpty() &&
            !has(QStringLiteral("SELECT 1 FROM Region WHERE Region = ?"), {area}))
            *missingPlan << QStringLiteral("the area %1").arg(area);
        if (!city.isEmpty() &&
            !has(QStringLiteral("SELECT 1 FROM City WHERE City_name = ? AND Region = ?"),
                 {city, area}))
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
        if (!runSqlOn(
                db,
                QStringLiteral("INSERT INTO IP_Info (%1) VALUES (%2)")
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

bool writeHistoryEntry(QSqlDatabase db, const QString& action, const QString& address,
                       const QString& note, QString* error) {
    return runSqlOn(db,
                    QStringLiteral(
                        "INSERT INTO IP_History (ChangedAt, UserID, UserName, Computer, Action, "
                        "IP_Address, OldValues, NewValues) VALUES (?, ?, ?, ?, ?, ?, NULL, ?)"),
                    {history::storedTime(QDateTime::currentDateTimeUtc()), appState().gUserID,
                     appState().gUserName, computerName(), action,
                     address.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(address),
                     note},
                    error)
        .has_value();
}

qint64 purgeHistory(QSqlDatabase db, int years, QString* error) {
    if (!session().isSistem()) {
        if (error)
            *error = QStringLiteral("Only a user of the group \"Sistem\" may purge the history.");
        return -1;
    }
    const QDateTime cutoff = QDateTime::currentDateTimeUtc().addYears(-years);
    Transaction t(db);
    qint64 removed = 0;
    {
        const HistoryAction purging(db, history::kPurged);
        auto q = runSqlOn(db, QStringLiteral("DELETE FROM IP_History WHERE ChangedAt < ?"),
                          {history::storedTime(cutoff)}, error);
        if (!q) return -1;
        removed = q->numRowsAffected();
    }
    const QString note = QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("olderThan"), history::storedTime(cutoff)},
                                  {QStringLiteral("entries"), removed}})
            .toJson(QJsonDocument::Compact));
    if (!writeHistoryEntry(db, history::kPurged, {}, note, error)) return -1;
    if (!t.commit()) {
        if (error) *error = db.lastError().text();
        return -1;
    }
    return removed;
}

} // namespace zorva

#include "platform/Database.h"
#include "platform/History.h"
#include "platform/AppState.h"
#include "platform/ConnectionLoss.h"
#include "platform/EngineHandle.h"
#include "platform/KeptStatements.h"
#include "platform/Savepoint.h"
#include "platform/DatabaseServer.h"
#include "platform/DatabaseUse.h"
#include "platform/ServerStatement.h"
#include "platform/SqlDialect.h"
#include "platform/Ui.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>
#include <QUrl>
#include <sqlite3.h>
#include <chrono>
#include <thread>

namespace zorva {

namespace {

QString mainConnectionName() {
    return QStringLiteral("zorva_main_%1").arg(quintptr(QThread::currentThreadId()));
}

QString uriFor(const QString& path, bool create) {
    QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (!create) uri += QStringLiteral("?mode=rw");
    return uri;
}

QString connectOptionsFor(const DatabaseServer& server) {
    // The server's notices ("already exists, skipping") are no news to the user.
    QString settings = QStringLiteral("-c client_min_messages=warning");
    // The program's statements are short: worker processes for one count cost more than they
    // save (measured on two cores: 163 ms against 57), and ten administrators share the cores.
    settings += QStringLiteral(" -c max_parallel_workers_per_gather=0");
    // What the program prepares has a plan that does not depend on its values (kept lookups,
    // bulk inserts, the triggers' statements): planned once at the first run, not after five
    // runs planned each.
    settings += QStringLiteral(" -c plan_cache_mode=force_generic_plan");
    // The extensions (citext) stay reachable beside the inventory's own schema.
    if (!server.schema.isEmpty())
        settings += QStringLiteral(" -c search_path=%1,public").arg(server.schema);
    return QStringLiteral("connect_timeout=10 application_name=Zorva options='%1'").arg(settings);
}

// Connections inside a Transaction. On the server a failed statement would spoil the whole
// transaction; each statement there gets a savepoint so that a failure undoes only itself, as
// on SQLite. A connection lives in one thread, so each thread keeps its own set.
QSet<QString>& inTransaction() {
    thread_local QSet<QString> names;
    return names;
}

// Set when this thread dropped its server connection as lost, until a new one opens: a failed
// open then tells the user why it is tried at all.
thread_local bool serverLost = false;

bool checkUsable(QSqlDatabase& db, QString* error) {
    QSqlQuery q(db);
    if (q.exec(isServer(db) ? QStringLiteral("SELECT 1")
                            : QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return true;
    if (error) *error = q.lastError().text();
    return false;
}

// How long a statement on the file waits for another copy's lock before "database is locked".
constexpr auto kBusyLimit = std::chrono::milliseconds(5000);

// SQLite's own busy wait sleeps the longer the longer it has waited (up to 100 ms at a time):
// with many copies writing, one that has waited long keeps losing the lock to those that came
// later, for seconds, until "database is locked". Trying again at a short even pace gives every
// waiter the same chance; the limit stays that of QSQLITE_BUSY_TIMEOUT.
int waitForLock(void*, int tries) {
    thread_local std::chrono::steady_clock::time_point since;
    const auto now = std::chrono::steady_clock::now();
    if (tries == 0) since = now;
    if (now - since >= kBusyLimit) return 0;
    std::this_thread::sleep_for(std::chrono::microseconds(tries < 20 ? 200 : 1000));
    return 1;
}

void useEvenBusyWait(QSqlDatabase& db) {
    if (sqlite3* h = engineHandle<sqlite3>(db, "sqlite3*")) sqlite3_busy_handler(h, waitForLock, nullptr);
}

} // namespace

QSqlDatabase openDatabaseFile(const QString& path, const QString& name, QString* error,
                              bool create) {
    closeConnection(name);
    const QFileInfo fi(path);
    if (!create && !fi.isFile()) {
        if (error)
            *error = fi.isDir() ? QStringLiteral("'%1' is a folder, not a database file.").arg(path)
                                : QStringLiteral("Database file '%1' not found.").arg(path);
        return {};
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    // mode=rw never creates a file; several running copies share one file through the busy wait.
    db.setDatabaseName(uriFor(path, create));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        if (error) *error = db.lastError().text();
        db = {};
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    if (!checkUsable(db, error)) {
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    useEvenBusyWait(db);
    prepareHistoryConnection(db);
    return db;
}

QSqlDatabase openDatabaseServer(const DatabaseServer& server, const QString& name,
                                QString* error) {
    closeConnection(name);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    if (!db.isValid()) {
        if (error)
            *error = QStringLiteral("The PostgreSQL driver of Qt is not installed (Debian: "
                                    "libqt6sql6-psql).");
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.name);
    db.setUserName(server.user);
    db.setPassword(server.password);
    db.setConnectOptions(connectOptionsFor(server));
    if (!db.open() || !checkUsable(db, error)) {
        if (error && db.lastError().isValid())
            *error = server.description() + QStringLiteral(": ") + db.lastError().text();
        db = {};
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    prepareHistoryConnection(db);
    return db;
}

namespace {

bool sameServer(const QSqlDatabase& db, const DatabaseServer& s) {
    return db.driverName() == QLatin1String("QPSQL") && db.hostName() == s.host &&
           db.port() == s.port && db.databaseName() == s.name && db.userName() == s.user &&
           db.password() == s.password && db.connectOptions() == connectOptionsFor(s);
}

} // namespace

QSqlDatabase database(QString* error) {
    const QString name = mainConnectionName();
    if (const auto& server = serverInUse()) {
        if (QSqlDatabase::contains(name)) {
            // Never a new connection inside a Transaction, dead or not: its later statements
            // would go there and stick one by one; they fail with it instead, and it is gone
            // whole.
            if (inTransaction().contains(name)) return QSqlDatabase::database(name, false);
            // The driver may still call a connection open whose server went away: one that a
            // statement found lost is opened anew, so the next action works once the server
            // is back, without a restart.
            if (connectionIsLost(name)) {
                closeConnection(name);
                serverLost = true;
            } else {
                QSqlDatabase db = QSqlDatabase::database(name, false);
                if (db.isOpen() && sameServer(db, *server)) {
                    keepHistoryToldOf(db); // a login since it opened
                    return db;
                }
            }
        }
        QString why;
        QSqlDatabase db = openDatabaseServer(*server, name, &why);
        if (db.isValid()) serverLost = false;
        else if (error) *error = serverLost ? serverDoesNotAnswerText(why) : why;
        return db;
    }
    const QString wanted = appState().gDbPath;
    if (QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && !isServer(db) && db.databaseName() == uriFor(wanted, false)) {
            if (markedDatabase().isEmpty()) markDatabaseInUse(wanted);
            return db;
        }
    }
    QSqlDatabase db = openDatabaseFile(wanted, name, error);
    // Other running copies must know that this one uses the file (compaction, restore).
    if (db.isValid()) markDatabaseInUse(wanted);
    return db;
}

void closeConnection(const QString& name) {
    if (!QSqlDatabase::contains(name)) return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    forgetKeptStatements(name);
}

void closeAllConnections() {
    for (const QString& name : QSqlDatabase::connectionNames()) closeConnection(name);
}

namespace {

std::optional<QSqlQuery> runOn(QSqlDatabase db, const QString& sql, const QVariantList& values,
                               QString* error, bool lookup) {
    if (!db.isValid() || !db.isOpen()) {
        if (error && error->isEmpty()) *error = QStringLiteral("The database is not open.");
        return std::nullopt;
    }
    const bool server = isServer(db);
    const bool guarded = server && inTransaction().contains(db.connectionName());
    Savepoint guard(db, QStringLiteral("zorva_statement"), guarded);
    const QString text = server ? serverSql(sql) : sql;
    // On the server a statement goes in one round trip, its values written in by the driver
    // (a prepared statement of the driver would cost three: PREPARE, EXECUTE, DEALLOCATE); a
    // lookup runs the statement kept prepared for it.
    const auto serverText = [&]() -> std::optional<QString> {
        if (!server) return std::nullopt;
        if (values.isEmpty()) return text;
        if (lookup)
            if (const auto name = keptStatement(db, text, guarded))
                return executeWithValues(db.driver(), *name, values);
        return statementWithValues(db.driver(), text, values);
    };
    const auto attempt = [&](QSqlQuery& q) {
        // The server's driver streams forward-only rows one by one, and any other statement on
        // the connection meanwhile (the next query of a loop, the savepoint above) cuts them
        // short: there a result is read whole.
        q.setForwardOnly(!server);
        if (const auto whole = serverText()) return q.exec(*whole);
        if (!q.prepare(text)) return false;
        for (const QVariant& v : values) q.addBindValue(v);
        return q.exec();
    };
    QSqlQuery q(db);
    bool ok = attempt(q);
    if (!ok && lookup && server && isStaleStatement(q.lastError())) {
        // Prepared in a session the server no longer has, or for columns that changed: once more.
        guard.rollBack();
        forgetKeptStatement(db, text, q.lastError());
        q = QSqlQuery(db);
        ok = attempt(q);
    }
    if (!ok && error) *error = sqlErrorText(q);
    if (!ok) noteFailedStatement(db, q.lastError());
    guard.finish(ok);
    if (!ok) return std::nullopt;
    return q;
}

// The same on the program's database, opened when needed.
std::optional<QSqlQuery> runOnProgramDatabase(const QString& sql, const QVariantList& values,
                                              QString* error, bool lookup) {
    QString openError;
    QSqlDatabase db = database(&openError);
    if (!db.isValid()) {
        if (error) *error = openError;
        return std::nullopt;
    }
    return runOn(db, sql, values, error, lookup);
}

} // namespace

std::optional<QSqlQuery> runSqlOn(QSqlDatabase db, const QString& sql, const QVariantList& values,
                                  QString* error) {
    return runOn(db, sql, values, error, false);
}

std::optional<QSqlQuery> runSql(const QString& sql, const QVariantList& values, QString* error) {
    return runOnProgramDatabase(sql, values, error, false);
}

std::optional<QSqlQuery> runLookup(const QString& sql, const QVariantList& values, QString* error) {
    return runOnProgramDatabase(sql, values, error, true);
}

std::optional<QSqlQuery> runSqlOrReport(QWidget* parent, const QString& sql,
                                        const QVariantList& values) {
    QString error;
    auto q = runSql(sql, values, &error);
    if (!q) ui().message(parent, Icon::Critical, QStringLiteral("Error !!!"), error);
    return q;
}

Transaction::Transaction(QSqlDatabase db) : db_(db) {
    open_ = db_.isValid() && db_.transaction();
    if (open_) inTransaction().insert(db_.connectionName());
    else if (db_.isValid()) noteFailedStatement(db_, db_.lastError());
}

Transaction::~Transaction() {
    if (!open_) return;
    inTransaction().remove(db_.connectionName());
    db_.rollback();
}

bool Transaction::commit() {
    if (!open_) return false;
    open_ = false;
    inTransaction().remove(db_.connectionName());
    if (db_.commit()) return true;
    noteFailedStatement(db_, db_.lastError());
    return false;
}

void Transaction::rollback() {
    if (!open_) return;
    open_ = false;
    inTransaction().remove(db_.connectionName());
    db_.rollback();
}

bool copyDatabaseTo(QSqlDatabase db, const QString& target, QString* error) {
    if (isServer(db)) {
        if (error) *error = QStringLiteral("A server database is not copied into a file here; use pg_dump.");
        return false;
    }
    if (QFileInfo::exists(target)) {
        if (error) *error = QStringLiteral("'%1' exists already.").arg(target);
        return false;
    }
    return runSqlOn(db, QStringLiteral("VACUUM INTO ?"), {target}, error).has_value();
}

QString SqlQuote(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString sqlErrorText(const QSqlQuery& q) {
    const QSqlError e = q.lastError();
    QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    const bool server = q.driver() && q.driver()->dbmsType() == QSqlDriver::PostgreSQL;
    // The server's driver closes a connection it found broken, and says nothing more.
    if (t.isEmpty() && server && !q.driver()->isOpen())
        return lostConnectionText(QStringLiteral("The database is not open."));
    if (t.isEmpty()) return QStringLiteral("Unknown database error.");
    // libpq's words alone ("server closed the connection unexpectedly") do not tell the user
    // what happened.
    return server && isConnectionLoss(e) ? lostConnectionText(t) : t;
}

} // namespace zorva

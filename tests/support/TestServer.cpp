#include "support/TestServer.h"
#include "platform/AppState.h"
#include "platform/Database.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>

namespace zorva::test {

namespace {

const QString kTestDatabase = QStringLiteral("zorva_tests");
const QString kAdmin = QStringLiteral("zorva_test_admin");

DatabaseServer fromEnvironment(const QString& database) {
    DatabaseServer s;
    s.host = qEnvironmentVariable("PGHOST");
    s.port = qEnvironmentVariableIntValue("PGPORT");
    if (s.port == 0) s.port = -1;
    s.user = qEnvironmentVariable("PGUSER");
    s.name = database;
    return s;
}

bool exec(QSqlDatabase& db, const QString& sql, QString* error) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    if (error) *error = sql + QStringLiteral(": ") + q.lastError().text();
    return false;
}

// Several test programs start at once: the shared database and its extensions are made by one
// of them at a time.
bool ensureTestDatabase(QString* error) {
    static bool ready = false;
    if (ready) return true;
    bool ok = false;
    {
        QSqlDatabase db = openDatabaseServer(fromEnvironment(QStringLiteral("postgres")), kAdmin, error);
        if (!db.isValid()) return false;
        ok = exec(db, QStringLiteral("SELECT pg_advisory_lock(7878)"), error);
        QSqlQuery q(db);
        q.prepare(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"));
        q.addBindValue(kTestDatabase);
        const bool exists = ok && q.exec() && q.next();
        if (ok && !exists) ok = exec(db, QStringLiteral("CREATE DATABASE ") + kTestDatabase, error);
        if (ok) {
            QSqlDatabase tests = openDatabaseServer(fromEnvironment(kTestDatabase), kAdmin + QLatin1Char('2'), error);
            ok = tests.isValid() &&
                 exec(tests, QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext WITH SCHEMA public"), error) &&
                 exec(tests, QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm WITH SCHEMA public"), error);
        }
        closeConnection(kAdmin + QLatin1Char('2'));
        exec(db, QStringLiteral("SELECT pg_advisory_unlock(7878)"), nullptr);
    }
    closeConnection(kAdmin);
    ready = ok;
    return ok;
}

} // namespace

bool onServer() { return qEnvironmentVariableIntValue("ZORVA_TEST_PG") == 1; }

std::optional<DatabaseServer> newTestSchema(QString* error) {
    if (!qEnvironmentVariableIsSet("PGHOST")) {
        if (error) *error = QStringLiteral("no test server: run the *_pg tests through tools/with-postgres.sh");
        return std::nullopt;
    }
    if (!ensureTestDatabase(error)) return std::nullopt;
    static int serial = 0;
    DatabaseServer s = fromEnvironment(kTestDatabase);
    s.schema = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    return s;
}

void dropTestSchema(const DatabaseServer& server) {
    {
        DatabaseServer admin = server;
        admin.schema.clear();
        QSqlDatabase db = openDatabaseServer(admin, kAdmin);
        if (db.isValid()) exec(db, QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(server.schema), nullptr);
    }
    closeConnection(kAdmin);
}

QSqlDatabase openOtherCopy(const QString& name) {
    if (const auto& server = serverInUse()) return openDatabaseServer(*server, name);
    return openDatabaseFile(appState().gDbPath, name);
}

bool refuseWrites(bool refuse) {
    const QString on = refuse ? QStringLiteral("ON") : QStringLiteral("OFF");
    return runSql(serverInUse() ? QStringLiteral("SET default_transaction_read_only = ") + on
                                : QStringLiteral("PRAGMA query_only = ") + on)
        .has_value();
}

QString refusedWriteWords() {
    return serverInUse() ? QStringLiteral("read-only transaction") : QStringLiteral("readonly");
}

namespace {

std::optional<DatabaseServer>& reachable() {
    static std::optional<DatabaseServer> server;
    return server;
}
QString& reachablePath() {
    static QString path;
    return path;
}

} // namespace

void makeDatabaseUnreachable(const QString& missingFolder) {
    reachable() = serverInUse();
    reachablePath() = appState().gDbPath;
    if (serverInUse()) serverInUse()->host = missingFolder;
    else appState().gDbPath = missingFolder + QStringLiteral("/Zorvadb.mdb");
}

void makeDatabaseReachable() {
    serverInUse() = reachable();
    appState().gDbPath = reachablePath();
}

bool refuseRows(const QString& name, const QString& event, const QString& table,
                const QString& condition, const QString& message) {
    if (!serverInUse()) {
        return runSql(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 %4 BEGIN SELECT RAISE(ABORT, '%5'); END")
                          .arg(name, event, table,
                               condition.isEmpty() ? QString() : QStringLiteral("WHEN ") + condition, message))
            .has_value();
    }
    return runSql(QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                 "IF %2 THEN RAISE EXCEPTION '%3'; END IF; RETURN NEW; END $$")
                      .arg(name, condition.isEmpty() ? QStringLiteral("true") : condition, message))
               .has_value() &&
           runSql(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
                      .arg(name, event, table))
               .has_value();
}

QString serverIniLines(const DatabaseServer& s) {
    return QStringLiteral("Driver=PostgreSQL\r\nHost=%1\r\nPort=%2\r\nName=%3\r\nUser=%4\r\nSchema=%5\r\n")
        .arg(s.host, s.port > 0 ? QString::number(s.port) : QString(), s.name, s.user, s.schema);
}

} // namespace zorva::test

#include "platform/KeptStatements.h"
#include "platform/ConnectionLoss.h"
#include "platform/EngineHandle.h"
#include "platform/Savepoint.h"
#include "platform/ServerStatement.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace zorva {

namespace {

// Enough for every lookup of the program; the server holds a plan for each.
constexpr int kMostKept = 100;

struct Kept {
    const void* handle = nullptr; // the session they were prepared in
    QHash<QString, QString> names;
    QSet<QString> refused;
    int next = 0;
};

// A connection lives in one thread: each thread keeps what its connections hold.
QHash<QString, Kept>& keptInThread() {
    thread_local QHash<QString, Kept> all;
    return all;
}

Kept& keptOn(QSqlDatabase& db) {
    Kept& k = keptInThread()[db.connectionName()];
    const void* handle = engineHandle<void>(db, "pg_conn*");
    if (k.handle != handle) k = Kept{handle, {}, {}, k.next};
    return k;
}

bool run(QSqlDatabase& db, const QString& sql, QSqlError* error = nullptr) {
    QSqlQuery q(db);
    const bool ok = q.exec(sql);
    if (!ok && error) *error = q.lastError();
    return ok;
}

} // namespace

std::optional<QString> keptStatement(QSqlDatabase& db, const QString& sql, bool inTransaction) {
    if (!engineHandle<void>(db, "pg_conn*")) return std::nullopt;
    Kept& k = keptOn(db);
    if (const auto it = k.names.constFind(sql); it != k.names.cend()) return *it;
    if (k.refused.contains(sql) || k.names.size() >= kMostKept) return std::nullopt;
    const QString name = QStringLiteral("zorva_kept_%1").arg(++k.next);
    Savepoint guard(db, QStringLiteral("zorva_prepare"), inTransaction);
    QSqlError error;
    const bool ok = run(db, QStringLiteral("PREPARE %1 AS %2").arg(name, statementWithParameters(sql, nullptr)),
                         &error);
    guard.finish(ok);
    if (!ok) {
        // A lost connection is the next statement's to report; anything else stays unkept.
        if (!isConnectionLoss(error)) k.refused.insert(sql);
        return std::nullopt;
    }
    k.names.insert(sql, name);
    return name;
}

bool isStaleStatement(const QSqlError& e) {
    // 26000: no such prepared statement; 0A000: "cached plan must not change result type".
    const QString code = e.nativeErrorCode();
    return code == QLatin1String("26000") || code == QLatin1String("0A000");
}

void forgetKeptStatement(QSqlDatabase& db, const QString& sql, const QSqlError& why) {
    Kept& k = keptOn(db);
    const QString name = k.names.take(sql);
    if (!name.isEmpty() && why.nativeErrorCode() != QLatin1String("26000"))
        run(db, QStringLiteral("DEALLOCATE ") + name);
}

void forgetKeptStatements(const QString& connectionName) {
    keptInThread().remove(connectionName);
}

} // namespace zorva

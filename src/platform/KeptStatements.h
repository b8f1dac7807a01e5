#pragma once
// Statements kept prepared on a server connection. A short lookup spends more of its time in
// the server's parsing and planning than in its round trip; prepared once, it is planned once
// for all values (the server keeps a generic plan after a few runs when it costs no more).
// Only for statements whose best plan does not depend on their values.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <optional>

namespace zorva {

// The name of the server statement `sql` (the server's text, with ? marks) prepared on db,
// preparing it first when it is new to this connection; inside a transaction the PREPARE gets
// a savepoint of its own. nullopt when it is not kept: not a server connection, the connection
// holds its most already, or the server would not prepare it (it then runs as any statement).
std::optional<QString> keptStatement(QSqlDatabase& db, const QString& sql, bool inTransaction);

// Whether a failure tells that a kept statement is stale: gone from the server (a new session
// under the same handle) or planned for a table whose columns changed.
bool isStaleStatement(const QSqlError& e);
// Forgets the statement (and drops it from the server when it is still there), so that the
// next keptStatement prepares it again.
void forgetKeptStatement(QSqlDatabase& db, const QString& sql, const QSqlError& why);

// Forgets what a connection of this thread kept, as it closes.
void forgetKeptStatements(const QString& connectionName);

} // namespace zorva

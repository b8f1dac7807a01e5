#pragma once
// A server connection that died under the program (the server stopped or restarted, the
// network cut): the driver keeps calling it open, so the program notes the failures that tell
// of a lost connection and opens a new one at the next action instead of failing until restart.
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace zorva {

// Whether a failure of a server statement tells that the connection is gone (connection
// errors, the server's shutdown codes, libpq's own texts with no server code).
bool isConnectionLoss(const QSqlError& e);

// Called when a statement on db failed: a server connection that lost its server is marked
// for the next database() of its thread.
void noteFailedStatement(const QSqlDatabase& db, const QSqlError& e);

// Whether the connection named so was marked lost in this thread, and then whether it still
// fails a probe; clears the mark. Only marked connections are probed (no round trip otherwise).
bool connectionIsLost(const QString& connectionName);

// What the user reads for a lost connection, with the driver's own words after it.
QString lostConnectionText(const QString& driverText);
QString serverDoesNotAnswerText(const QString& driverText);

} // namespace zorva

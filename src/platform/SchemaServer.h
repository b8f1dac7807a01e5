#pragma once
// The schema's parts that the migration reads, and its creation on a server.
#include "platform/DatabaseServer.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace zorva {

// The program's tables, and the columns of one of them as createSchema makes them.
QStringList schemaTables();
QStringList schemaColumnsOf(const QString& table);
// The columns a database's table really has (lower case on a server); empty when it has none.
QStringList storedColumns(QSqlDatabase db, const QString& table);

// The initial database (createInitialDatabase, Schema.h) on a server: the tables go into the
// schema named (created when missing), which must hold none of the program's tables yet. The
// server must offer the citext extension (Debian's postgresql package has it).
bool createInitialServerDatabase(const DatabaseServer& server, QString* error = nullptr);
// Only the empty tables, on an open connection to that server, inside the caller's
// transaction (the migration fills them).
bool prepareServerSchema(QSqlDatabase db, const DatabaseServer& server, QString* error = nullptr);

} // namespace zorva

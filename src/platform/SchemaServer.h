#pragma once
// The schema's parts that the migration and the initial database are built from, and its
// creation on a server.
#include "platform/DatabaseServer.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>

namespace zorva {

// The program's tables, and the columns of one of them as createSchema makes them.
QStringList schemaTables();
QStringList schemaColumnsOf(const QString& table);
// The columns a database's table really has (lower case on a server); empty when it has none.
QStringList storedColumns(QSqlDatabase db, const QString& table);

class Transaction;

// The program's columns in a row of "SELECT ..., *" from table, from field `from` on: their
// positions and names as the file spells them. On a server the names come back in lower case
// and the row key is one of the columns; it is left out here.
struct ProgramField {
    int index;
    QString name;
};
QList<ProgramField> programFields(const QSqlRecord& record, const QString& table, int from);

// The program's tables (inside the caller's transaction); withIndexes adds their indexes and
// the search aids.
bool createSchemaTables(QSqlDatabase& db, QString* error, bool withIndexes = true);
// What upgradeSchema would add (columns, indexes, search aids), inside the caller's
// transaction: the indexes of tables filled without them.
bool addMissingIndexes(QSqlDatabase& db, QString* error);
// Whether the database holds any of the program's tables.
bool holdsZorvaTables(QSqlDatabase& db);
// Runs a definition in the database's own words (serverDdl on a server).
bool runDefinition(QSqlDatabase& db, const QString& sql, QString* error);
// Commits t; false with the driver's text when that fails.
bool committed(Transaction& t, QSqlDatabase& db, QString* error);

// The initial database (createInitialDatabase, Schema.h) on a server: the tables go into the
// schema named (created when missing), which must hold none of the program's tables yet. The
// server must offer the citext extension (Debian's postgresql package has it).
bool createInitialServerDatabase(const DatabaseServer& server, QString* error = nullptr);
// Only the empty tables without their indexes, on an open connection to that server, inside
// the caller's transaction (the migration fills them, then adds the indexes).
bool prepareServerSchema(QSqlDatabase db, const DatabaseServer& server, QString* error = nullptr);

} // namespace zorva

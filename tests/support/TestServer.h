#pragma once
#include "platform/DatabaseServer.h"

#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace zorva::test {

// Whether this test run keeps its databases on a PostgreSQL server (the *_pg tests, started
// inside tools/with-postgres.sh, which exports PGHOST, PGPORT and PGUSER).
bool onServer();

// A fresh, empty schema of its own on the test server (in the database zorva_tests, created on
// first use); nullopt with the reason when the server cannot be reached.
std::optional<DatabaseServer> newTestSchema(QString* error = nullptr);
// Removes the schema and all it holds.
void dropTestSchema(const DatabaseServer& server);

// A second connection to the test's database (the file or the server schema), as another
// running copy of the program holds it; close it with closeConnection(name).
QSqlDatabase openOtherCopy(const QString& name);
// Makes the program's connection refuse every write (true), or take them again (false); and
// the words with which the database then refuses one.
bool refuseWrites(bool refuse);
QString refusedWriteWords();

// Makes the program's database unreachable (a database file in a folder that does not exist,
// a server behind a socket folder that does not exist), or reachable again.
void makeDatabaseUnreachable(const QString& missingFolder);
void makeDatabaseReachable();

// Makes the database refuse the rows of table that event ("INSERT", "UPDATE") brings when
// condition (on NEW's columns; empty: always) holds, with message; a trigger named name.
bool refuseRows(const QString& name, const QString& event, const QString& table,
                const QString& condition, const QString& message);

// The [Database] keys that point the program at that server, as Zorva.ini lines.
QString serverIniLines(const DatabaseServer& server);

} // namespace zorva::test

// Skips a test function in the *_pg run: for what only the database file has (SQLite's query
// planner, the file's own copies, moves and locks). The server's side of the same feature is
// tested on its own.
#define ZORVA_FILE_ONLY(why)                                                                    \
    do {                                                                                        \
        if (zorva::test::onServer()) QSKIP("about the database file: " why);                    \
    } while (false)

#pragma once
#include "platform/DatabaseServer.h"

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

// The [Database] keys that point the program at that server, as Zorva.ini lines.
QString serverIniLines(const DatabaseServer& server);

} // namespace zorva::test

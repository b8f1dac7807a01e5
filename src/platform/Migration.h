#pragma once
#include "platform/DatabaseServer.h"

#include <QList>
#include <QString>
#include <optional>

namespace zorva {

struct CopiedTable {
    QString table;
    qint64 rows = 0;
};

// Copies every table and row of a database file into a server that holds none of the
// program's tables yet: the tables are created, the rows copied with their row keys, and the
// rows on the server counted against the file's, all in one transaction (a failure leaves the
// server as it was). The file is only read; a file of an older layout is taken as it is (the
// columns it lacks get their defaults). Returns the rows copied per table.
std::optional<QList<CopiedTable>> migrateToServer(const QString& file, const DatabaseServer& server,
                                                   QString* error = nullptr);

// Whether the server's inventory has its unique address index (a migrated file that records
// an address twice has none until the duplicates are resolved).
bool serverGuardsAddresses(const DatabaseServer& server);

} // namespace zorva

#pragma once
#include <QSqlDatabase>
#include <QString>

namespace zorva {

// Creates every table and index of the inventory on an empty database.
bool createSchema(QSqlDatabase db, QString* error = nullptr);

// Brings a database of the older layout up to date: City gains StartIPRange and ToIPRange
// (existing cities read 0 and 0) when it has no StartIPRange; IP_Info gains Status when it has
// none; the lookup indexes are added, and the unique address index when no address is
// recorded twice. Running it again changes nothing.
bool upgradeSchema(QSqlDatabase db, QString* error = nullptr);
// The same on the program's database (appState().gDbPath).
bool UpgradeSchema(QString* error = nullptr);

// Writes the initial database that ships with the program: the schema, the first user of
// group "Sistem", the placeholder area and city, and the preset equipment and work groups.
// Refuses to touch an existing file.
bool createInitialDatabase(const QString& path, QString* error = nullptr);

// Credentials of the initial database's user.
inline constexpr const char* kInitialUserID = "ADMIN";
inline constexpr const char* kInitialPassword = "zorva";

} // namespace zorva

#pragma once
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace zorva {

// Creates every table and index of the inventory on an empty database.
bool createSchema(QSqlDatabase db, QString* error = nullptr);

// Brings a database of the older layout up to date: City gains StartIPRange and ToIPRange
// (existing cities read 0 and 0) when it has no StartIPRange; IP_Info gains Status when it has
// none; the lookup indexes are added (a former index on IP_4 alone is dropped: it led the
// range listings astray), and the unique address index when no address is recorded twice. Running it again changes nothing. It is one transaction: when a step fails
// (a table lacking a column an index needs, a read-only file) nothing is changed. A database
// that holds none of the program's tables (another program's) is refused, and so is a damaged
// file that would have to be written.
// A long upgrade (search aids over a large inventory) tells what it does and how far it is
// (0 to 100) through `progress`, between its steps.
using UpgradeProgress = std::function<void(const QString& what, int percent)>;
bool upgradeSchema(QSqlDatabase db, QString* error = nullptr, const UpgradeProgress& progress = {});
// The same on the program's database (appState().gDbPath).
bool UpgradeSchema(QString* error = nullptr, const UpgradeProgress& progress = {});

// Why a database cannot serve as the program's database; empty when it can. It must hold every
// table of the program with every column the program reads, except those that upgradeSchema
// adds; `thorough` also reads the whole file through the engine's quick check (damage, about
// 0.3 s per 100,000 addresses). Reads only.
QString databaseProblem(QSqlDatabase db, bool thorough = true);
// The same on a file, opened only for the check (a missing file or a folder is said as such).
// A file shorter than its header says is found without reading it through.
QString databaseFileProblem(const QString& path, bool thorough = true);

// Writes the initial database that ships with the program: the schema, the first user of
// group "Sistem", the placeholder area and city, and the preset equipment and work groups.
// Refuses to touch an existing file.
bool createInitialDatabase(const QString& path, QString* error = nullptr);

// Credentials of the initial database's user.
inline constexpr const char* kInitialUserID = "ADMIN";
inline constexpr const char* kInitialPassword = "zorva";

} // namespace zorva

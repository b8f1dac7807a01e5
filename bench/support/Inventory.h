#pragma once
// A realistic IP_Info inventory for the benchmarks: many /24 blocks, each filled from the
// bottom of its ranges with gaps, with the columns the search, listing and report queries read.
#include "platform/DatabaseServer.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace zorva::bench {

struct InventoryOptions {
    qint64 rows = 1000000;
    quint32 seed = 20240601;
    // Rows per /24 block are drawn between these two (inclusive).
    int minPerBlock = 60;
    int maxPerBlock = 250;
};

// What was written, for choosing query arguments that hit real rows.
struct Inventory {
    qint64 rows = 0;
    QStringList prefixes;  // every block written, "a.b.c." (with the trailing full stop)
    QStringList staffNos;  // a sample of staff numbers written
    QStringList names;     // a sample of host names written
    QStringList places;    // a sample of "Region|CityOwner" pairs written
};

// Fills IP_Info of db with options.rows rows in one transaction. Distributions:
// - addresses 10.x.y.z over blocks in order; in a block the fourth octets are distinct, drawn
//   mostly from the low end (1..254) so that ranges have both gaps and full stretches;
// - Status: about a third "Temporary" (what the search's "Temporary IP" / "ALL" lists), about
//   three fifths "Permanent", the rest empty;
// - StaffNo "S" + 6 digits, one person holding about four addresses; Name unique host names
//   built like the suggested ones; Username, LANID, Remarks, Project of a small vocabulary
//   (about a third of the user names contain "all", for the "contains" searches);
// - Region / StateOwner / CityOwner / Workgroup of a 12-area plan; DateIssue ISO dates over
//   ten years; the postal columns from a unit list.
Inventory fillInventory(QSqlDatabase db, const InventoryOptions& options,
                        QString* error = nullptr);

// Creates a new database file at path with the program's schema (the initial database) and
// fills it. The file must not exist yet.
Inventory createInventoryFile(const QString& path, const InventoryOptions& options,
                              QString* error = nullptr);

// The benchmarks' run on a server ("--pg", inside tools/with-postgres.sh): the inventory file
// copied by the migration into a schema of its own on the server that PGHOST, PGPORT, PGUSER
// and PGDATABASE name. dropBenchServer removes that schema.
std::optional<DatabaseServer> benchServer(const QString& file, QString* error = nullptr);
void dropBenchServer(const DatabaseServer& server);

// Takes "--pg" out of args; whether it was there.
bool takeServerOption(QStringList& args);

} // namespace zorva::bench

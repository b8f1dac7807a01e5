#pragma once
// A server database made by an earlier version, brought to the order of the file.
#include <QSqlDatabase>
#include <QStringList>

namespace zorva {

// What makes the program's tables on a server sort as on the file: their text columns compared
// in byte order (COLLATE "C", as serverDdl creates them now) and their b-tree indexes ascending
// with NULLs first (the order the statements ask for since serverSql places NULLs as SQLite
// does), so that the searches keep walking them. Empty on the file and when nothing is left.
// The indexes are dropped first and made again last: the columns' change then rebuilds none of
// them twice. Meant for one transaction (the upgrade's).
QStringList serverOrderStatements(QSqlDatabase& db);

} // namespace zorva

#pragma once
// The tables of the IP monitor (ZorvaMon): what it watches, what it saw per address, the
// changes and sweeps it recorded, and the addresses marked for reclaim. They live with the
// schema so that the initial database and the upgrade create them on both backends; the
// monitor's own layer reads and writes them.
#include <QSqlDatabase>
#include <QStringList>

namespace zorva {

inline const QString kMonitorWatch = QStringLiteral("Monitor_Watch");
inline const QString kMonitorSeen = QStringLiteral("Monitor_Seen");
inline const QString kMonitorChange = QStringLiteral("Monitor_Change");
inline const QString kMonitorSweep = QStringLiteral("Monitor_Sweep");
inline const QString kMonitorReclaim = QStringLiteral("Monitor_Reclaim");

// The definitions (tables, then indexes) that db lacks; empty when it has them all. Part of
// the schema's creation and of its upgrade; the rows of tables present are kept.
// Without indexes only the tables (the migration fills them first).
QStringList monitorStatements(QSqlDatabase& db, bool withIndexes = true);
QStringList monitorTables();
// The columns of one of the monitor's tables as created; empty for any other table.
QStringList monitorColumnsOf(const QString& table);

} // namespace zorva

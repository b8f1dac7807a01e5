#include "platform/Migration.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/History.h"
#include "platform/MonitorSchema.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"
#include "platform/ServerCopy.h"
#include "platform/ServerKey.h"
#include "platform/SqlDialect.h"

#include <QSqlError>
#include <QUuid>

namespace zorva {

namespace {

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

qint64 countRows(QSqlDatabase& db, const QString& table, QString* error) {
    auto q = runSqlOn(db, QStringLiteral("SELECT count(*) FROM ") + table, {}, error);
    return q && q->next() ? q->value(0).toLongLong() : -1;
}

// Copies one table through the server's bulk copy and reads it back to compare every value;
// the number of rows copied, or -1.
qint64 copyTable(QSqlDatabase& from, QSqlDatabase& to, const QString& table, QString* error) {
    const QStringList have = storedColumns(from, table);
    QStringList columns{QStringLiteral("rowid")};
    const QStringList monitor = monitorColumnsOf(table);
    for (const QString& c : table == kHistoryTable ? historyColumns() : !monitor.isEmpty() ? monitor : schemaColumnsOf(table))
        if (have.contains(c, Qt::CaseInsensitive)) columns << c;
    // The rows go in faster without the key's index, which is then built once, by a sort (a
    // million rows: 3.1 s with it, 2.2 s so).
    const ServerKeyStatements key = serverKeyStatements(table);
    if (!runSqlOn(to, key.drop, {}, error)) return -1;
    RowsDigest sent, stored;
    const qint64 copied = copyRowsToServer(from, to, table, columns, &sent, error);
    if (copied < 0 || !runSqlOn(to, key.add, {}, error)) return -1;
    if (!serverRowsDigest(to, table, columns, &stored, error)) return -1;
    if (copied != sent.rows || !(stored == sent)) {
        fail(error, QStringLiteral("table %1: the server holds %2 rows that differ from the %3 "
                                   "rows of the file")
                        .arg(table).arg(stored.rows).arg(sent.rows));
        return -1;
    }
    // New rows continue after the copied keys.
    if (copied > 0 &&
        !runSqlOn(to, QStringLiteral("SELECT setval(pg_get_serial_sequence(?, 'rowid'), max(rowid)) FROM ") + table,
                  {table.toLower()}, error))
        return -1;
    return copied;
}

} // namespace

std::optional<QList<CopiedTable>> migrateToServer(const QString& file, const DatabaseServer& server,
                                                   QString* error) {
    if (const QString problem = databaseFileProblem(file); !problem.isEmpty()) {
        fail(error, file + QStringLiteral(": ") + problem);
        return std::nullopt;
    }
    const QString id = QUuid::createUuid().toString(QUuid::Id128);
    const QString fromName = QStringLiteral("zorva_migrate_from_") + id;
    const QString toName = QStringLiteral("zorva_migrate_to_") + id;
    std::optional<QList<CopiedTable>> result;
    {
        QSqlDatabase from = openDatabaseFile(file, fromName, error);
        QSqlDatabase to = from.isValid() ? openDatabaseServer(server, toName, error) : QSqlDatabase();
        if (to.isValid()) {
            // The file is read once from end to end: mapped, its pages are not copied out.
            runSqlOn(from, QStringLiteral("PRAGMA mmap_size = 4294967296"));
            Transaction t(to);
            QList<CopiedTable> copied;
            bool ok = prepareServerSchema(to, server, error);
            // The history as it is: copied before the server's triggers exist, which then
            // record what happens there.
            QStringList tables = schemaTables();
            // The monitor's tables of a file that has them (an older file has none to copy).
            for (const QString& table : monitorTables())
                if (!storedColumns(from, table).isEmpty()) tables << table;
            if (!storedColumns(from, kHistoryTable).isEmpty()) tables << kHistoryTable;
            for (const QString& table : tables) {
                if (!ok) break;
                const qint64 n = copyTable(from, to, table, error);
                if (n < 0) {
                    ok = false; // the server's reason stands; its transaction is spoiled now
                    break;
                }
                const qint64 source = countRows(from, table, error);
                const qint64 there = countRows(to, table, error);
                ok = source == n && there == n;
                if (n >= 0 && !ok && source >= 0 && there >= 0)
                    fail(error, QStringLiteral("table %1: %2 rows in the file, %3 on the server")
                                    .arg(table).arg(source).arg(there));
                copied.append({table, n});
            }
            // The indexes are built once over the copied rows, and the unique address index
            // only where no address is recorded twice, as the file's upgrade does.
            // Room to sort in for the index builds of this transaction only: the trigram
            // indexes of a million rows build several times faster.
            ok = ok && runSqlOn(to, QStringLiteral("SET LOCAL maintenance_work_mem = '256MB'"), {}, error) &&
                 addMissingIndexes(to, error) && committed(t, to, error);
            if (ok) {
                // Fresh statistics for the planner, which otherwise guesses on a bulk load, and
                // the map of visible pages, without which no count is read from an index alone.
                for (const QString& table : tables) runSqlOn(to, QStringLiteral("VACUUM ANALYZE ") + table);
                result = copied;
            }
        }
    }
    closeConnection(fromName);
    closeConnection(toName);
    return result;
}

bool serverGuardsAddresses(const DatabaseServer& server) {
    const QString name = QStringLiteral("zorva_guard_") + QUuid::createUuid().toString(QUuid::Id128);
    bool guarded = false;
    {
        QSqlDatabase db = openDatabaseServer(server, name);
        auto q = runSqlOn(db, catalogSql(Dialect::PostgreSQL, Catalog::Indexes));
        while (q && q->next())
            guarded = guarded || q->value(0).toString().compare(QLatin1String("IP_Info_IP_Address"), Qt::CaseInsensitive) == 0;
    }
    closeConnection(name);
    return guarded;
}

} // namespace zorva

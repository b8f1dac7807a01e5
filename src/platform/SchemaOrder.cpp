#include "platform/SchemaOrder.h"
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/MonitorSchema.h"
#include "platform/SchemaServer.h"
#include "platform/SqlDialect.h"

#include <QMap>

namespace zorva {

namespace {

// The program's own tables as the server names them: other tables of a shared schema are not
// the program's to change.
QStringList programTables() {
    QStringList out;
    for (const QString& t : schemaTables() + QStringList{kHistoryTable} + monitorTables()) out << t.toLower();
    return out;
}

QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// Indexes of the program's tables not in the order serverDdl gives them now (the constraints'
// own, on the row key, are left alone): their drop and their making again.
void indexStatements(QSqlDatabase& db, const QStringList& tables, QStringList& drops, QStringList& creates) {
    auto q = runSqlOn(db, QStringLiteral(
        "SELECT i.indexname, i.indexdef FROM pg_indexes i WHERE i.schemaname = current_schema() "
        "AND i.tablename = ANY(string_to_array(?, ',')) AND NOT EXISTS (SELECT 1 FROM pg_constraint c "
        "WHERE c.conindid = format('%I.%I', i.schemaname, i.indexname)::regclass) ORDER BY i.indexname"),
        {tables.join(QLatin1Char(','))});
    while (q && q->next()) {
        const QString definition = q->value(1).toString();
        if (serverDdl(definition) == serverSql(definition)) continue;
        drops << QStringLiteral("DROP INDEX ") + quotedName(q->value(0).toString());
        creates << definition; // run through serverDdl, which places the NULLs
    }
}

// One ALTER TABLE per table for its text columns not in byte order.
QStringList columnStatements(QSqlDatabase& db, const QStringList& tables) {
    auto q = runSqlOn(db, QStringLiteral(
        "SELECT c.relname, a.attname, t.typname FROM pg_attribute a "
        "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
        "JOIN pg_type t ON t.oid = a.atttypid LEFT JOIN pg_collation l ON l.oid = a.attcollation "
        "WHERE n.nspname = current_schema() AND c.relkind = 'r' AND a.attnum > 0 AND NOT a.attisdropped "
        "AND c.relname = ANY(string_to_array(?, ',')) AND t.typname IN ('text', 'citext') "
        "AND coalesce(l.collname, '') <> 'C' ORDER BY c.relname, a.attnum"),
        {tables.join(QLatin1Char(','))});
    QMap<QString, QStringList> changes;
    while (q && q->next())
        changes[q->value(0).toString()]
            << QStringLiteral("ALTER COLUMN %1 TYPE %2 COLLATE \"C\"")
                   .arg(quotedName(q->value(1).toString()), q->value(2).toString());
    QStringList out;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        out << QStringLiteral("ALTER TABLE %1 ").arg(quotedName(it.key())) + it->join(QStringLiteral(", "));
    return out;
}

} // namespace

QStringList serverOrderStatements(QSqlDatabase& db) {
    if (!isServer(db)) return {};
    const QStringList tables = programTables();
    QStringList drops, creates;
    indexStatements(db, tables, drops, creates);
    return drops + columnStatements(db, tables) + creates;
}

} // namespace zorva

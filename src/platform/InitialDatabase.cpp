#include "platform/Database.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace zorva {

namespace {

// The rows the program starts with: the first user of group "Sistem", the placeholder area and
// city, the preset equipment and work groups; inside the caller's transaction.
bool fillInitialRows(QSqlDatabase& db, QString* error) {
    struct Row {
        const char* sql;
        QVariantList values;
    };
    const Row rows[] = {
        {"INSERT INTO UserID (UserID, Password, [Name], Email, [Group], Tadbir) "
         "VALUES (?, ?, ?, '', 'Sistem', '')",
         {QString::fromLatin1(kInitialUserID), QString::fromLatin1(kInitialPassword),
          QStringLiteral("Administrator")}},
        // Placeholder of the site's own area and city, turned into the real entry by the local
        // site settings.
        {"INSERT INTO Region (Region, AssignIP, Segment_ip, Abbr_segment) "
         "VALUES ('Headquarters', 10, 1, 'HQ')",
         {}},
        {"INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], StartIPRange, "
         "ToIPRange, Abbr_state, Region) "
         "VALUES ('IT Division', 'ITD', 100, NULL, 0, 0, 'HQ', 'Headquarters')",
         {}},
        {"INSERT INTO Equipment VALUES ('Router', 'RTR', 1, 10)", {}},
        {"INSERT INTO Equipment VALUES ('Switch', 'SW', 11, 30)", {}},
        {"INSERT INTO Equipment VALUES ('Server', 'SVR', 31, 50)", {}},
        {"INSERT INTO Equipment VALUES ('Printer', 'PRN', 51, 70)", {}},
        {"INSERT INTO Equipment VALUES ('PC', 'PC', 71, 240)", {}},
        {"INSERT INTO Workgroup VALUES ('General', 'G', 0)", {}},
    };
    for (const Row& r : rows)
        if (!runSqlOn(db, QString::fromLatin1(r.sql), r.values, error)) return false;
    return true;
}

} // namespace

bool createInitialDatabase(const QString& path, QString* error) {
    if (QFileInfo::exists(path)) {
        if (error) *error = QStringLiteral("'%1' already exists; it is left as it is.").arg(path);
        return false;
    }
    const QString name = QStringLiteral("zorva_init_") + QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = openDatabaseFile(path, name, error, true);
        if (!db.isValid()) return false;
        Transaction t(db);
        ok = createSchemaTables(db, error, true) && fillInitialRows(db, error) && committed(t, db, error);
        db.close();
    }
    closeConnection(name);
    if (!ok) QFile::remove(path);
    return ok;
}

bool prepareServerSchema(QSqlDatabase db, const DatabaseServer& server, QString* error) {
    // The search path named a schema that may only now exist: set again, so that the tables
    // surely go there.
    if (!server.schema.isEmpty() &&
        !(runDefinition(db, QStringLiteral("CREATE SCHEMA IF NOT EXISTS %1").arg(server.schema), error) &&
          runDefinition(db, QStringLiteral("SET search_path = %1, public").arg(server.schema), error)))
        return false;
    if (holdsZorvaTables(db)) {
        if (error)
            *error = server.description() +
                     QStringLiteral(" holds tables of Zorva already; it is left as it is.");
        return false;
    }
    return createSchemaTables(db, error, false);
}

bool createInitialServerDatabase(const DatabaseServer& server, QString* error) {
    const QString name = QStringLiteral("zorva_init_") + QUuid::createUuid().toString();
    bool ok = false;
    {
        QSqlDatabase db = openDatabaseServer(server, name, error);
        if (!db.isValid()) return false;
        Transaction t(db);
        ok = prepareServerSchema(db, server, error) && addMissingIndexes(db, error) &&
             fillInitialRows(db, error) && committed(t, db, error);
    }
    closeConnection(name);
    return ok;
}

} // namespace zorva

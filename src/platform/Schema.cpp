#include "platform/Schema.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/MonitorSchema.h"
#include "platform/SchemaOrder.h"
#include "platform/SchemaServer.h"
#include "platform/SearchIndex.h"
#include "platform/SqlDialect.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>
#include <QUuid>

namespace zorva {

namespace {

// Text columns compare without regard to case, as the login and every name check expect.
const char* const kTables[] = {
    R"(CREATE TABLE Region (
        Region TEXT COLLATE NOCASE,
        AssignIP INTEGER,
        Segment_ip INTEGER NOT NULL DEFAULT 0,
        Abbr_segment TEXT COLLATE NOCASE))",
    R"(CREATE TABLE State (
        State_name TEXT COLLATE NOCASE,
        Abbr_state TEXT COLLATE NOCASE,
        Region TEXT COLLATE NOCASE))",
    R"(CREATE TABLE City (
        City_name TEXT COLLATE NOCASE,
        Abbr_city TEXT COLLATE NOCASE,
        IP_octet2 INTEGER,
        [Offset] INTEGER,
        StartIPRange INTEGER DEFAULT 0,
        ToIPRange INTEGER DEFAULT 0,
        Abbr_state TEXT COLLATE NOCASE,
        Region TEXT COLLATE NOCASE))",
    R"(CREATE TABLE Workgroup (
        Workgroup_name TEXT COLLATE NOCASE,
        Workgroup_code TEXT COLLATE NOCASE,
        Octet_3 INTEGER))",
    R"(CREATE TABLE Equipment (
        Eqp_name TEXT COLLATE NOCASE,
        Eqp_code TEXT COLLATE NOCASE,
        Octet4_start INTEGER,
        Octet4_end INTEGER))",
    R"(CREATE TABLE UnitDivision (
        UnitDivision TEXT COLLATE NOCASE,
        Floor TEXT COLLATE NOCASE,
        Building TEXT COLLATE NOCASE,
        Roadname TEXT COLLATE NOCASE,
        Postcode TEXT COLLATE NOCASE,
        City TEXT COLLATE NOCASE,
        State TEXT COLLATE NOCASE,
        RegionOwner TEXT COLLATE NOCASE,
        StateOwner TEXT COLLATE NOCASE,
        CityOwner TEXT COLLATE NOCASE))",
    R"(CREATE TABLE IP_Info (
        IP_Address TEXT COLLATE NOCASE,
        IP_4 INTEGER,
        [Name] TEXT COLLATE NOCASE,
        [Type] TEXT COLLATE NOCASE,
        Region TEXT COLLATE NOCASE,
        StateOwner TEXT COLLATE NOCASE,
        CityOwner TEXT COLLATE NOCASE,
        Workgroup TEXT COLLATE NOCASE,
        Status TEXT COLLATE NOCASE DEFAULT '' CHECK (length(Status) <= 10),
        Project TEXT COLLATE NOCASE,
        Remarks TEXT COLLATE NOCASE,
        Username TEXT COLLATE NOCASE,
        StaffNo TEXT COLLATE NOCASE,
        LANID TEXT COLLATE NOCASE,
        UnitDivision TEXT COLLATE NOCASE,
        Floor TEXT COLLATE NOCASE,
        Building TEXT COLLATE NOCASE,
        Roadname TEXT COLLATE NOCASE,
        Postcode TEXT COLLATE NOCASE,
        City TEXT COLLATE NOCASE,
        State TEXT COLLATE NOCASE,
        TelNo TEXT COLLATE NOCASE,
        FaxNo TEXT COLLATE NOCASE,
        DateIssue TEXT,
        InputBy TEXT COLLATE NOCASE))",
    R"(CREATE TABLE UserID (
        UserID TEXT COLLATE NOCASE CHECK (length(UserID) <= 6),
        Password TEXT COLLATE NOCASE,
        [Name] TEXT COLLATE NOCASE,
        Email TEXT COLLATE NOCASE,
        [Group] TEXT COLLATE NOCASE,
        Tadbir TEXT COLLATE NOCASE))",
};

// Lookup indexes for the queries the forms run on IP_Info. There is deliberately no index on
// the column IP_4: every IP_4 condition comes with an address prefix, and with such an index
// SQLite walks it to spare the "Order By IP_4" sort, reading that octet range in every block of
// the table (seconds on a large inventory) instead of the one /24 the address index finds. The
// index on the expression +IP_4 serves only statements that name that expression: the record
// search's walk through a large result in its order.
struct Index {
    const char* sql;
    QStringList columns; // an older table may lack them; the index then waits
};
// Indexes of earlier versions that led the planner astray; the upgrade drops them.
const char* const kDroppedIndexes[] = {"IP_Info_IP_4"};
const Index kIndexes[] = {
    {"CREATE INDEX IF NOT EXISTS IP_Info_Name ON IP_Info ([Name])", {"Name"}},
    {"CREATE INDEX IF NOT EXISTS IP_Info_StaffNo ON IP_Info (StaffNo)", {"StaffNo"}},
    {"CREATE INDEX IF NOT EXISTS IP_Info_DateIssue ON IP_Info (DateIssue)", {"DateIssue"}},
    {"CREATE INDEX IF NOT EXISTS IP_Info_Place ON IP_Info (Region, CityOwner)",
     {"Region", "CityOwner"}},
    // The temporary records (about a third of all), counted and listed in the search's order
    // without reading the table.
    {"CREATE INDEX IF NOT EXISTS IP_Info_Status ON IP_Info (Status, IP_4)", {"Status", "IP_4"}},
    {"CREATE INDEX IF NOT EXISTS IP_Info_Order ON IP_Info (+IP_4)", {"IP_4"}},
};
const char* const kUniqueAddress =
    "CREATE UNIQUE INDEX IF NOT EXISTS IP_Info_IP_Address ON IP_Info (IP_Address)";

// Runs a definition (table, index, column) in the database's own words.
bool run(QSqlDatabase& db, const QString& sql, QString* error) {
    QSqlQuery q(db);
    if (q.exec(isServer(db) ? serverDdl(sql) : sql)) return true;
    if (error) *error = sqlErrorText(q);
    return false;
}

// Column names of a table as stored (lower case on the server); empty when the table does not
// exist.
QStringList columnsOf(QSqlDatabase& db, const QString& table) {
    return catalog(db, Catalog::Columns, {table});
}

// The columns of each table as created here, read from the statements above.
struct TableColumns {
    QString table;
    QStringList columns;
};
QList<TableColumns> schemaColumns() {
    // Read from the statements once: grids and readers ask for every row.
    static const QList<TableColumns> columns = [] {
        QList<TableColumns> out;
        for (const char* sql : kTables) {
            QStringList lines = QString::fromLatin1(sql).split(QLatin1Char('\n'));
            TableColumns t{lines.takeFirst().section(QLatin1Char(' '), 2, 2), {}};
            for (const QString& line : lines) {
                QString name = line.trimmed().section(QLatin1Char(' '), 0, 0);
                name.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
                t.columns << name;
            }
            out << t;
        }
        return out;
    }();
    return columns;
}

// Columns that upgradeSchema adds to a database of the older layout.
bool addedByUpgrade(const QString& table, const QString& column) {
    return (table == QLatin1String("City") &&
            (column == QLatin1String("StartIPRange") || column == QLatin1String("ToIPRange"))) ||
           (table == QLatin1String("IP_Info") && column == QLatin1String("Status"));
}

// The engine's verdict on the file itself; empty when intact.
QString integrityProblem(QSqlDatabase& db) {
    if (isServer(db)) return {}; // the server keeps its own files sound
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA quick_check"))) return sqlErrorText(q);
    QStringList found;
    while (q.next() && found.size() < 3) found << q.value(0).toString();
    if (found == QStringList{QStringLiteral("ok")}) return {};
    return found.isEmpty() ? QStringLiteral("no answer to the integrity check") : found.join(QStringLiteral("; "));
}

QStringList presentTables(QSqlDatabase& db) { return catalog(db, Catalog::Tables); }

bool holdsAnyTable(QSqlDatabase& db) {
    const QStringList have = presentTables(db);
    for (const TableColumns& t : schemaColumns())
        if (have.contains(t.table, Qt::CaseInsensitive)) return true;
    return false;
}

const QString kNotZorva = QStringLiteral("This is not a Zorva database: ");
const QString kForeign = kNotZorva + QStringLiteral("it holds none of the tables of Zorva (another program's database?).");
QString damaged(const QString& why) {
    return kNotZorva + QStringLiteral("the file is damaged or truncated (%1).").arg(why);
}
const QString kUnchanged = QStringLiteral(" It was left unchanged.");

// Why a file could not be opened: the engine's "not a database" and "malformed" mean a file
// that is no intact database; a missing file, a folder or a lock are said as they are.
QString openFailure(const QString& path, const QString& error) {
    const bool unreadable = error.contains(QStringLiteral("not a database"), Qt::CaseInsensitive) ||
                            error.contains(QStringLiteral("malformed"), Qt::CaseInsensitive);
    return unreadable && QFileInfo(path).isFile() ? damaged(error) : error;
}

bool tableExists(QSqlDatabase& db, const QString& table) {
    return presentTables(db).contains(table, Qt::CaseInsensitive);
}

} // namespace

bool createSchemaTables(QSqlDatabase& db, QString* error, bool withIndexes) {
    // Text that ignores letter case, as the file's NOCASE columns do.
    if (isServer(db) &&
        !run(db, QStringLiteral("CREATE EXTENSION IF NOT EXISTS citext WITH SCHEMA public"), error))
        return false;
    for (const char* sql : kTables)
        if (!run(db, QString::fromLatin1(sql), error)) return false;
    // Without indexes (a migration fills the tables first): the history table alone, its
    // triggers come with the indexes.
    if (!withIndexes) {
        for (const QString& sql : historyTableStatements(db) + monitorStatements(db, false))
            if (!run(db, sql, error)) return false;
        return true;
    }
    for (const Index& index : kIndexes)
        if (!run(db, QString::fromLatin1(index.sql), error)) return false;
    if (!run(db, QString::fromLatin1(kUniqueAddress), error)) return false;
    for (const QString& sql : searchIndexStatements(db))
        if (!run(db, sql, error)) return false;
    for (const QString& sql : historyStatements(db))
        if (!run(db, sql, error)) return false;
    for (const QString& sql : monitorStatements(db))
        if (!run(db, sql, error)) return false;
    return true;
}

bool committed(Transaction& t, QSqlDatabase& db, QString* error) {
    if (t.commit()) return true;
    if (error) *error = db.lastError().text();
    return false;
}

bool holdsZorvaTables(QSqlDatabase& db) { return holdsAnyTable(db); }

bool runDefinition(QSqlDatabase& db, const QString& sql, QString* error) { return run(db, sql, error); }

bool createSchema(QSqlDatabase db, QString* error) {
    Transaction t(db);
    return createSchemaTables(db, error) && committed(t, db, error);
}

QStringList schemaTables() {
    QStringList out;
    for (const TableColumns& t : schemaColumns()) out << t.table;
    return out;
}

QStringList schemaColumnsOf(const QString& table) {
    for (const TableColumns& t : schemaColumns())
        if (t.table.compare(table, Qt::CaseInsensitive) == 0) return t.columns;
    return {};
}

QStringList storedColumns(QSqlDatabase db, const QString& table) { return columnsOf(db, table); }

QList<ProgramField> programFields(const QSqlRecord& record, const QString& table, int from) {
    const QStringList known = schemaColumnsOf(table);
    QList<ProgramField> out;
    for (int i = from; i < record.count(); ++i) {
        const QString stored = record.fieldName(i);
        if (stored == QLatin1String("rowid")) continue; // the server's key column
        const qsizetype at = known.indexOf(QRegularExpression(
            QStringLiteral("^%1$").arg(QRegularExpression::escape(stored)),
            QRegularExpression::CaseInsensitiveOption));
        out.append({i, at >= 0 ? known.at(at) : stored});
    }
    return out;
}

namespace {

// The name that an index statement above creates.
QString indexName(const char* sql) {
    return QString::fromLatin1(sql).section(QStringLiteral(" EXISTS "), 1).section(QLatin1Char(' '), 0, 0);
}

QStringList tableUpgradeStatements(QSqlDatabase& db);

// What the upgrade has to do on this database; nothing when it is up to date. The history's
// triggers come last: they name every column of IP_Info, the added ones too.
QStringList upgradeStatements(QSqlDatabase& db) {
    QStringList out = serverOrderStatements(db) + tableUpgradeStatements(db);
    if (tableExists(db, QStringLiteral("IP_Info"))) out << historyStatements(db) << monitorStatements(db);
    return out;
}

QStringList tableUpgradeStatements(QSqlDatabase& db) {
    QStringList out;
    if (tableExists(db, QStringLiteral("City")) &&
        !columnsOf(db, QStringLiteral("City")).contains(QStringLiteral("StartIPRange"), Qt::CaseInsensitive))
        out << QStringLiteral("ALTER TABLE City ADD COLUMN StartIPRange INTEGER DEFAULT 0")
            << QStringLiteral("ALTER TABLE City ADD COLUMN ToIPRange INTEGER DEFAULT 0");
    if (!tableExists(db, QStringLiteral("IP_Info"))) return out;
    QStringList have = columnsOf(db, QStringLiteral("IP_Info"));
    if (!have.contains(QStringLiteral("Status"), Qt::CaseInsensitive)) {
        out << QStringLiteral("ALTER TABLE IP_Info ADD COLUMN Status TEXT COLLATE NOCASE "
                              "DEFAULT '' CHECK (length(Status) <= 10)");
        have << QStringLiteral("Status");
    }
    // After the status: the server's search aids include an index of the temporary records.
    out << searchIndexStatements(db);
    const QStringList indexes = catalog(db, Catalog::Indexes);
    for (const char* dropped : kDroppedIndexes)
        if (indexes.contains(QLatin1String(dropped), Qt::CaseInsensitive))
            out << QStringLiteral("DROP INDEX %1").arg(QLatin1String(dropped));
    for (const Index& index : kIndexes) {
        bool complete = !indexes.contains(indexName(index.sql), Qt::CaseInsensitive);
        for (const QString& c : index.columns) complete = complete && have.contains(c, Qt::CaseInsensitive);
        if (complete) out << QString::fromLatin1(index.sql);
    }
    if (indexes.contains(indexName(kUniqueAddress), Qt::CaseInsensitive)) return out;
    // On the server the index is tried and given up where an address is recorded twice: its
    // build finds them as soon as a check before it would (a million records: 0.6 s, not 1.6).
    if (isServer(db))
        return out << QStringLiteral("DO $$ BEGIN %1; EXCEPTION WHEN unique_violation THEN NULL; END $$")
                          .arg(serverDdl(QString::fromLatin1(kUniqueAddress)));
    QSqlQuery dup(db);
    const bool hasDuplicates =
        dup.exec(QStringLiteral("SELECT IP_Address FROM IP_Info GROUP BY IP_Address "
                                "HAVING count(*) > 1 LIMIT 1")) &&
        dup.next();
    if (!hasDuplicates) out << QString::fromLatin1(kUniqueAddress);
    return out;
}

// A file shorter than its header says: cut off by an interrupted copy. Read from the header
// alone, so that it costs nothing on a large file; empty when the header cannot tell.
QString truncation(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || QFileInfo::exists(path + QStringLiteral("-wal"))) return {};
    const QByteArray h = f.read(100);
    if (h.size() < 100 || !h.startsWith(QByteArrayLiteral("SQLite format 3\0"))) return {};
    const auto be = [&h](int at, int n) {
        quint32 v = 0;
        for (int i = 0; i < n; ++i) v = v << 8 | quint8(h[at + i]);
        return v;
    };
    const qint64 pageSize = be(16, 2) == 1 ? 65536 : be(16, 2);
    const qint64 pages = be(28, 4);
    const bool valid = pages > 0 && be(24, 4) == be(92, 4); // the size field is kept up to date
    if (!valid || f.size() >= pages * pageSize) return {};
    return QStringLiteral("%1 bytes of %2").arg(f.size()).arg(pages * pageSize);
}

} // namespace

QString databaseProblem(QSqlDatabase db, bool thorough) {
    if (!db.isValid() || !db.isOpen()) return QStringLiteral("The database is not open.");
    if (const QString d = thorough ? integrityProblem(db) : QString(); !d.isEmpty())
        return damaged(d);
    const QStringList have = presentTables(db);
    QStringList missingTables, lacking;
    for (const TableColumns& t : schemaColumns()) {
        if (!have.contains(t.table, Qt::CaseInsensitive)) {
            missingTables << t.table;
            continue;
        }
        const QStringList columns = columnsOf(db, t.table);
        QStringList missing;
        for (const QString& c : t.columns)
            if (!columns.contains(c, Qt::CaseInsensitive) && !addedByUpgrade(t.table, c)) missing << c;
        if (!missing.isEmpty())
            lacking << QStringLiteral("table %1 lacks %2").arg(t.table, missing.join(QStringLiteral(", ")));
    }
    if (missingTables.size() == schemaColumns().size()) return kForeign;
    if (!missingTables.isEmpty())
        return kNotZorva + QStringLiteral("the tables %1 are missing.").arg(missingTables.join(QStringLiteral(", ")));
    if (!lacking.isEmpty()) return kNotZorva + lacking.join(QStringLiteral("; ")) + QLatin1Char('.');
    return {};
}

QString databaseFileProblem(const QString& path, bool thorough) {
    if (const QString cut = truncation(path); !cut.isEmpty()) return damaged(cut);
    const QString name = QStringLiteral("zorva_check_") + QUuid::createUuid().toString();
    QString problem;
    {
        QSqlDatabase db = openDatabaseFile(path, name, &problem);
        problem = db.isValid() ? databaseProblem(db, thorough) : openFailure(path, problem);
    }
    closeConnection(name);
    return problem;
}

bool upgradeSchema(QSqlDatabase db, QString* error, const UpgradeProgress& progress) {
    auto refuse = [error](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (!db.isValid() || !db.isOpen()) return refuse(QStringLiteral("The database is not open."));
    if (!holdsAnyTable(db)) return refuse(kForeign + kUnchanged);
    const QStringList plan = upgradeStatements(db);
    if (plan.isEmpty()) return true;
    const auto tell = [&](const QString& what, qsizetype done) {
        if (progress) progress(what, int(done * 100 / (plan.size() + 1)));
    };
    // Only a file about to be written is read through for damage.
    tell(QStringLiteral("Checking the database"), 0);
    if (const QString d = integrityProblem(db); !d.isEmpty()) return refuse(damaged(d) + kUnchanged);
    const auto failed = [&](const QString& why) {
        return refuse(QStringLiteral("The database could not be brought up to date (%1).").arg(why) + kUnchanged);
    };
    Transaction t(db);
    QString stepError;
    for (qsizetype i = 0; i < plan.size(); ++i) {
        tell(isSearchIndexStatement(plan[i]) ? QStringLiteral("Preparing the database for searching")
                                              : QStringLiteral("Bringing the database up to date"),
             i + 1);
        if (!run(db, plan[i], &stepError)) return failed(stepError);
    }
    if (!t.commit()) return failed(db.lastError().text());
    return true;
}

bool addMissingIndexes(QSqlDatabase& db, QString* error) {
    for (const QString& sql : upgradeStatements(db))
        if (!run(db, sql, error)) return false;
    return true;
}

bool UpgradeSchema(QString* error, const UpgradeProgress& progress) {
    const bool onFile = !serverInUse();
    if (const QString cut = onFile ? truncation(appState().gDbPath) : QString(); !cut.isEmpty()) {
        if (error) *error = damaged(cut) + kUnchanged;
        return false;
    }
    QString openError;
    QSqlDatabase db = database(&openError);
    if (db.isValid()) return upgradeSchema(db, error, progress);
    if (error && !onFile) *error = openError;
    else if (error) {
        *error = openFailure(appState().gDbPath, openError);
        if (*error != openError) *error += kUnchanged;
    }
    return false;
}

} // namespace zorva

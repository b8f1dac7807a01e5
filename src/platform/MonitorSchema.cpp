#include "platform/MonitorSchema.h"
#include "platform/SqlDialect.h"

namespace zorva {

namespace {

// Times are UTC text "yyyy-MM-dd HH:mm:ss", whose text order is their time order. IP_Num is the
// address as a number (first octet highest), for range conditions. A watch's lease (holder and
// end) keeps two monitors, on one machine or two, from sweeping it at once.
const char* const kTables[] = {
    R"(CREATE TABLE Monitor_Watch (
        [Name] TEXT COLLATE NOCASE NOT NULL,
        Kind TEXT COLLATE NOCASE NOT NULL,
        Scope TEXT COLLATE NOCASE NOT NULL,
        IntervalMinutes INTEGER NOT NULL DEFAULT 15,
        WindowFrom TEXT,
        WindowTo TEXT,
        RateLimit INTEGER NOT NULL DEFAULT 500,
        LastSweep TEXT,
        NextDue TEXT,
        LeaseHolder TEXT,
        LeaseUntil TEXT))",
    R"(CREATE TABLE Monitor_Seen (
        IP_Address TEXT COLLATE NOCASE NOT NULL,
        IP_Num INTEGER NOT NULL,
        FirstSeen TEXT,
        LastSeen TEXT,
        LastChecked TEXT,
        ReplyMs INTEGER,
        DnsName TEXT COLLATE NOCASE,
        MacAddress TEXT COLLATE NOCASE,
        PrevMacAddress TEXT COLLATE NOCASE,
        MacChangedAt TEXT,
        State TEXT COLLATE NOCASE NOT NULL))",
    R"(CREATE TABLE Monitor_Change (
        SweepId INTEGER NOT NULL,
        At TEXT NOT NULL,
        IP_Address TEXT COLLATE NOCASE NOT NULL,
        Kind TEXT COLLATE NOCASE NOT NULL,
        Old TEXT,
        New TEXT))",
    R"(CREATE TABLE Monitor_Sweep (
        Watch TEXT COLLATE NOCASE NOT NULL,
        StartedAt TEXT NOT NULL,
        EndedAt TEXT,
        Addresses INTEGER NOT NULL DEFAULT 0,
        Live INTEGER NOT NULL DEFAULT 0,
        Computer TEXT COLLATE NOCASE,
        Outcome TEXT))",
    R"(CREATE TABLE Monitor_Reclaim (
        IP_Address TEXT COLLATE NOCASE NOT NULL,
        MarkedBy TEXT COLLATE NOCASE,
        MarkedAt TEXT NOT NULL))",
};

// The watch by name; the seen rows by address, by number (a watch's range), by state and
// last sighting (the views), by hardware address; the changes of one sweep; the sweeps of a watch.
const char* const kIndexes[] = {
    "CREATE UNIQUE INDEX IF NOT EXISTS Monitor_Watch_Name ON Monitor_Watch ([Name])",
    "CREATE UNIQUE INDEX IF NOT EXISTS Monitor_Seen_Address ON Monitor_Seen (IP_Address)",
    "CREATE INDEX IF NOT EXISTS Monitor_Seen_Num ON Monitor_Seen (IP_Num)",
    "CREATE INDEX IF NOT EXISTS Monitor_Seen_State ON Monitor_Seen (State, IP_Num)",
    "CREATE INDEX IF NOT EXISTS Monitor_Seen_Mac ON Monitor_Seen (MacAddress)",
    "CREATE INDEX IF NOT EXISTS Monitor_Change_Sweep ON Monitor_Change (SweepId)",
    "CREATE INDEX IF NOT EXISTS Monitor_Sweep_Watch ON Monitor_Sweep (Watch, StartedAt)",
    "CREATE UNIQUE INDEX IF NOT EXISTS Monitor_Reclaim_Address ON Monitor_Reclaim (IP_Address)",
};

QString tableName(const char* sql) {
    return QString::fromLatin1(sql).section(QLatin1Char(' '), 2, 2);
}

} // namespace

QStringList monitorTables() {
    QStringList out;
    for (const char* sql : kTables) out << tableName(sql);
    return out;
}

QStringList monitorColumnsOf(const QString& table) {
    for (const char* sql : kTables) {
        if (tableName(sql).compare(table, Qt::CaseInsensitive) != 0) continue;
        QStringList lines = QString::fromLatin1(sql).split(QLatin1Char('\n'));
        lines.removeFirst();
        QStringList out;
        for (const QString& line : lines)
            out << line.trimmed().section(QLatin1Char(' '), 0, 0).remove(QLatin1Char('[')).remove(QLatin1Char(']'));
        return out;
    }
    return {};
}

QStringList monitorStatements(QSqlDatabase& db, bool withIndexes) {
    const QStringList tables = catalog(db, Catalog::Tables);
    const QStringList indexes = catalog(db, Catalog::Indexes);
    QStringList out;
    for (const char* sql : kTables)
        if (!tables.contains(tableName(sql), Qt::CaseInsensitive)) out << QString::fromLatin1(sql);
    if (!withIndexes) return out;
    for (const char* sql : kIndexes) {
        const QString name = QString::fromLatin1(sql).section(QStringLiteral(" EXISTS "), 1).section(QLatin1Char(' '), 0, 0);
        if (!indexes.contains(name, Qt::CaseInsensitive)) out << QString::fromLatin1(sql);
    }
    return out;
}

} // namespace zorva

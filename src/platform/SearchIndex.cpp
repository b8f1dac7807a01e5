#include "platform/SearchIndex.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/ServerKey.h"
#include "platform/SqlDialect.h"

#include <QSqlQuery>

namespace zorva {

namespace {

const QString kTable = QStringLiteral("IP_Info_Text");
const QString kBlocks = QStringLiteral("IP_Info_Block");
const QStringList kColumns = {QStringLiteral("Username"), QStringLiteral("Remarks")};
// Rows per step of the first fill of the aids.
constexpr qint64 kFillStep = 25000;

// The block of an address in SQL: up to its third dot, or the whole text with fewer dots.
QString blockOf(const QString& a) {
    const QString p1 = QStringLiteral("instr(%1, '.')").arg(a);
    const QString p2 = QStringLiteral("(%1 + instr(substr(%2, %1 + 1), '.'))").arg(p1, a);
    const QString p3 = QStringLiteral("(%1 + instr(substr(%2, %1 + 1), '.'))").arg(p2, a);
    return QStringLiteral("CASE WHEN %1 LIKE '%.%.%.%' THEN substr(%1, 1, %2) ELSE %1 END").arg(a, p3);
}

// What a trigger does to the aids for a row that goes (old) or comes (new). The index must be
// told exactly what it holds; a block whose last address goes is removed.
QString removeOld() {
    return QStringLiteral("INSERT INTO %1 (%1, rowid, Username, Remarks) VALUES ('delete', "
                          "old.rowid, old.Username, old.Remarks); ")
        .arg(kTable);
}
QString addNew() {
    return QStringLiteral("INSERT INTO %1 (rowid, Username, Remarks) VALUES (new.rowid, "
                          "new.Username, new.Remarks); ")
        .arg(kTable);
}
QString countOld() {
    const QString block = blockOf(QStringLiteral("old.IP_Address"));
    return QStringLiteral("UPDATE %1 SET Total = Total - 1 WHERE Block = %2; "
                          "DELETE FROM %1 WHERE Block = %2 AND Total <= 0; ")
        .arg(kBlocks, block);
}
QString countNew() {
    return QStringLiteral("INSERT INTO %1 (Block, Total) SELECT %2, 1 WHERE new.IP_Address IS "
                          "NOT NULL ON CONFLICT (Block) DO UPDATE SET Total = Total + 1; ")
        .arg(kBlocks, blockOf(QStringLiteral("new.IP_Address")));
}

struct Trigger {
    const char* name;
    const char* event;
    QString body;
};
QList<Trigger> triggers() {
    return {
        {"IP_Info_Search_Insert", "AFTER INSERT ON IP_Info", addNew() + countNew()},
        {"IP_Info_Search_Delete", "AFTER DELETE ON IP_Info", removeOld() + countOld()},
        {"IP_Info_Text_Update", "AFTER UPDATE OF Username, Remarks ON IP_Info",
         removeOld() + addNew()},
        {"IP_Info_Block_Update", "AFTER UPDATE OF IP_Address ON IP_Info", countOld() + countNew()},
    };
}

// On a server: the text of the two columns, folded as the file folds it (ASCII letters), in a
// narrow table of its own kept by a trigger, with trigram indexes (pg_trgm). A trigram index
// always has each hit checked against the text; checked there it reads a fifth of the pages
// of IP_Info, and with the text folded beforehand LIKE compares it without folding it again
// (counting 333,267 hits of a million: 190 ms in IP_Info, 69 ms here).
const QString kServerTextTrigger = QStringLiteral("IP_Info_Text_Copy");

QString serverTextIndex(const QString& column) { return QStringLiteral("%1_%2").arg(kTable, column); }
// The indexes of an earlier version, on IP_Info itself.
QString formerServerTextIndex(const QString& column) {
    return QStringLiteral("%1_%2_Trigrams").arg(kTable, column);
}

QStringList serverTextStatements() {
    const auto folded = [](const char* row, const char* column) {
        return QStringLiteral("lower(%1%2::text COLLATE \"C\")").arg(QLatin1String(row), QLatin1String(column));
    };
    const QString copy = QStringLiteral(
        "CREATE OR REPLACE FUNCTION ip_info_text_copy() RETURNS trigger LANGUAGE plpgsql "
        "SET search_path FROM CURRENT AS $$ BEGIN "
        "IF TG_OP = 'INSERT' THEN "
        "INSERT INTO ip_info_text (rowid, username, remarks) VALUES (NEW.rowid, %1, %2); "
        "ELSIF TG_OP = 'DELETE' THEN DELETE FROM ip_info_text WHERE rowid = OLD.rowid; "
        "ELSE UPDATE ip_info_text SET username = %1, remarks = %2 WHERE rowid = NEW.rowid; "
        "END IF; RETURN NULL; END $$")
        .arg(folded("NEW.", "username"), folded("NEW.", "remarks"));
    QStringList out{QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm WITH SCHEMA public")};
    for (const QString& column : kColumns)
        out << QStringLiteral("DROP INDEX IF EXISTS %1").arg(formerServerTextIndex(column));
    out << QStringLiteral("DROP TRIGGER IF EXISTS %1 ON IP_Info").arg(kServerTextTrigger)
        << QStringLiteral("DROP TABLE IF EXISTS %1").arg(kTable)
        << QStringLiteral("CREATE TABLE %1 (Username TEXT, Remarks TEXT)").arg(kTable);
    // Filled without its key's index, which one sort then builds (a million rows: 0.5 s less).
    const ServerKeyStatements key = serverKeyStatements(kTable);
    out << key.drop
        << QStringLiteral("INSERT INTO %1 (rowid, Username, Remarks) SELECT rowid, %2, %3 FROM IP_Info")
               .arg(kTable, folded("", "Username"), folded("", "Remarks"))
        << key.add;
    for (const QString& column : kColumns)
        out << QStringLiteral("CREATE INDEX %1 ON %2 USING gin (%3 gin_trgm_ops)")
                   .arg(serverTextIndex(column), kTable, column);
    // Statistics at once: until the server gathers its own, it plans the searches blind.
    return out << copy
               << QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR DELETE OR UPDATE OF Username, "
                                 "Remarks ON IP_Info FOR EACH ROW EXECUTE FUNCTION ip_info_text_copy()")
                      .arg(kServerTextTrigger)
               << QStringLiteral("ANALYZE %1").arg(kTable);
}

const QString kServerBlockTrigger = QStringLiteral("IP_Info_Block_Count");

QStringList serverBlockStatements() {
    // The block of an address as blockOf gives it on the file.
    const QString block = QStringLiteral(
        "CREATE OR REPLACE FUNCTION zorva_block(a text) RETURNS text LANGUAGE sql IMMUTABLE "
        "AS $$ SELECT coalesce(substring(a from '^[^.]*[.][^.]*[.][^.]*[.]'), a) $$");
    // A block whose last address goes is removed; the function sees the inventory's schema
    // whatever the caller's search path.
    const QString count = QStringLiteral(
        "CREATE OR REPLACE FUNCTION ip_info_block_count() RETURNS trigger LANGUAGE plpgsql "
        "SET search_path FROM CURRENT AS $$ BEGIN "
        "IF TG_OP <> 'INSERT' AND OLD.ip_address IS NOT NULL THEN "
        "UPDATE ip_info_block SET total = total - 1 WHERE block = zorva_block(OLD.ip_address); "
        "DELETE FROM ip_info_block WHERE block = zorva_block(OLD.ip_address) AND total <= 0; "
        "END IF; "
        "IF TG_OP <> 'DELETE' AND NEW.ip_address IS NOT NULL THEN "
        "INSERT INTO ip_info_block (block, total) VALUES (zorva_block(NEW.ip_address), 1) "
        "ON CONFLICT (block) DO UPDATE SET total = ip_info_block.total + 1; "
        "END IF; RETURN NULL; END $$");
    return {
        QStringLiteral("DROP TRIGGER IF EXISTS %1 ON IP_Info").arg(kServerBlockTrigger),
        QStringLiteral("DROP TABLE IF EXISTS %1").arg(kBlocks),
        // The server gives every table its row key; the block is a unique column beside it.
        QStringLiteral("CREATE TABLE %1 (Block text COLLATE \"C\" NOT NULL UNIQUE, "
                       "Total bigint NOT NULL)").arg(kBlocks),
        block,
        count,
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT OR DELETE OR UPDATE OF IP_Address ON "
                       "IP_Info FOR EACH ROW EXECUTE FUNCTION ip_info_block_count()")
            .arg(kServerBlockTrigger),
        QStringLiteral("INSERT INTO %1 (Block, Total) SELECT zorva_block(IP_Address), count(*) "
                       "FROM IP_Info WHERE IP_Address IS NOT NULL GROUP BY 1").arg(kBlocks),
        QStringLiteral("ANALYZE %1").arg(kBlocks),
    };
}

QStringList serverSearchIndexStatements(QSqlDatabase& db) {
    QStringList have;
    auto q = runSqlOn(db, catalogSql(Dialect::PostgreSQL, Catalog::Indexes));
    while (q && q->next()) have << q->value(0).toString();
    QStringList out;
    const QStringList tables = catalog(db, Catalog::Tables);
    const QStringList triggers = catalog(db, Catalog::Triggers);
    // A table without its trigger or an index may have missed changes: it is made again whole.
    bool texts = tables.contains(kTable, Qt::CaseInsensitive) &&
                 triggers.contains(kServerTextTrigger, Qt::CaseInsensitive);
    for (const QString& column : kColumns)
        texts = texts && have.contains(serverTextIndex(column), Qt::CaseInsensitive);
    if (!texts) out << serverTextStatements();
    const bool counted = tables.contains(kBlocks, Qt::CaseInsensitive) &&
                         triggers.contains(kServerBlockTrigger, Qt::CaseInsensitive);
    if (!counted) out << serverBlockStatements();
    // The temporary records (about a third), counted and walked from an index that holds only
    // them: through the status index the server compares each entry's citext (50 ms against 15).
    if (!have.contains(QStringLiteral("IP_Info_Temporary"), Qt::CaseInsensitive))
        out << QStringLiteral("CREATE INDEX IP_Info_Temporary ON IP_Info (IP_4, rowid) "
                              "WHERE Status = 'Temporary'");
    return out;
}

std::optional<ContainsCondition> serverContains(const QString& column, const QString& text) {
    // Folded as the table's text is: ASCII letters only, as the column's citext under "C".
    QString pattern = QLatin1Char('%') + text + QLatin1Char('%');
    for (QChar& c : pattern)
        if (c.unicode() < 128) c = c.toLower();
    ContainsCondition c;
    // No escape character: a backslash is one more character to find, as in the file's Like.
    const QString match = QStringLiteral("%1 LIKE ? ESCAPE ''").arg(column);
    c.where = QStringLiteral("rowid IN (SELECT rowid FROM %1 WHERE %2)").arg(kTable, match);
    // A walk in the search's order reads IP_Info by its order's index and compares as it goes.
    c.walkWhere = column + QStringLiteral("::text ILIKE ? ESCAPE ''");
    c.countSql = QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(kTable, match);
    c.values = {pattern};
    return c;
}

} // namespace

QStringList searchIndexStatements(QSqlDatabase& db) {
    if (isServer(db)) return serverSearchIndexStatements(db);
    QStringList out;
    // A table of a far older layout without the columns waits, as its indexes do.
    const QStringList have = catalog(db, Catalog::Columns, {QStringLiteral("IP_Info")});
    for (const char* needed : {"IP_Address", "Username", "Remarks"})
        if (!have.contains(QLatin1String(needed), Qt::CaseInsensitive)) return out;
    const QList<Trigger> all = triggers();
    const QStringList tables = catalog(db, Catalog::Tables);
    const QStringList present = catalog(db, Catalog::Triggers);
    bool complete = tables.contains(kTable) && tables.contains(kBlocks);
    for (const Trigger& t : all) complete = complete && present.contains(QLatin1String(t.name));
    if (complete) return out;
    // Aids without all their triggers may have missed changes: they are built again whole.
    for (const Trigger& t : all)
        out << QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(QLatin1String(t.name));
    out << QStringLiteral("DROP TABLE IF EXISTS %1").arg(kTable)
        << QStringLiteral("DROP TABLE IF EXISTS %1").arg(kBlocks)
        << QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content='IP_Info', "
                          "content_rowid='rowid', tokenize='trigram')")
               .arg(kTable, kColumns.join(QStringLiteral(", ")))
        << QStringLiteral("CREATE TABLE %1 (Block TEXT COLLATE NOCASE PRIMARY KEY, "
                          "Total INTEGER NOT NULL) WITHOUT ROWID")
               .arg(kBlocks);
    for (const Trigger& t : all)
        out << QStringLiteral("CREATE TRIGGER %1 %2 BEGIN %3END")
                   .arg(QLatin1String(t.name), QLatin1String(t.event), t.body);
    // The index and the block counts are filled by ranges of row keys, each step the same work.
    QSqlQuery last(db);
    qint64 maxKey = 0;
    if (last.exec(QStringLiteral("SELECT max(rowid) FROM IP_Info")) && last.next())
        maxKey = last.value(0).toLongLong();
    for (qint64 from = 0; from < maxKey; from += kFillStep) {
        const QString range = QStringLiteral("rowid > %1 AND rowid <= %2").arg(from).arg(from + kFillStep);
        out << QStringLiteral("INSERT INTO %1 (rowid, Username, Remarks) SELECT rowid, Username, "
                              "Remarks FROM IP_Info WHERE %2")
                   .arg(kTable, range)
            << QStringLiteral("INSERT INTO %1 (Block, Total) SELECT %2 COLLATE NOCASE, count(*) "
                              "FROM IP_Info WHERE IP_Address IS NOT NULL AND %3 GROUP BY 1 "
                              "ON CONFLICT (Block) DO UPDATE SET Total = Total + excluded.Total")
                   .arg(kBlocks, blockOf(QStringLiteral("IP_Address")), range);
    }
    return out;
}

bool isSearchIndexStatement(const QString& sql) {
    return sql.contains(kTable) || sql.contains(kBlocks) || sql.contains(QLatin1String("IP_Info_Search")) ||
           sql.contains(QLatin1String("ip_info_text")) || sql.contains(QLatin1String("pg_trgm")) ||
           sql.contains(QLatin1String("zorva_block")) || sql.contains(QLatin1String("ip_info_block")) ||
           sql.contains(QLatin1String("IP_Info_Temporary"));
}

std::optional<PrefixCount> prefixCount(const QString& prefix) {
    const int dots = int(prefix.count(QLatin1Char('.')));
    const bool withinBlock = dots < 3 || (dots == 3 && prefix.endsWith(QLatin1Char('.')));
    if (!withinBlock || prefix.contains(QLatin1Char('%')) || prefix.contains(QLatin1Char('_')))
        return std::nullopt;
    return PrefixCount{
        QStringLiteral("SELECT coalesce(sum(Total), 0) FROM %1 WHERE Block Like ?").arg(kBlocks),
        {prefix + QLatin1Char('%')}};
}

std::optional<ContainsCondition> indexedContains(const QString& column, const QString& text) {
    if (!kColumns.contains(column) || text.size() < 3 || text.contains(QLatin1Char('%')) ||
        text.contains(QLatin1Char('_')))
        return std::nullopt;
    if (serverInUse()) return serverContains(column, text);
    // One phrase in one column: every trigram of the text, in order, is the text itself.
    QString phrase = text;
    phrase.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    const QString match =
        QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH ?").arg(kTable);
    ContainsCondition c;
    c.where = QStringLiteral("rowid IN (") + match + QLatin1Char(')');
    c.walkWhere = noIndex(QStringLiteral("rowid")) + QStringLiteral(" IN (") + match + QLatin1Char(')');
    c.countSql = QStringLiteral("SELECT count(*) FROM %1 WHERE %1 MATCH ?").arg(kTable);
    c.values = {column + QStringLiteral(" : \"") + phrase + QLatin1Char('"')};
    return c;
}

bool planSortsRows(const QString& sql, const QVariantList& values) {
    const bool server = serverInUse().has_value();
    auto plan = runSql((server ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ")) + sql,
                       values);
    if (!plan) return true;
    // The file names a sort "USE TEMP B-TREE FOR ORDER BY"; the server has Sort nodes.
    while (plan->next()) {
        const QString step = plan->value(server ? 0 : 3).toString();
        if (server ? step.contains(QLatin1String("Sort")) : step.contains(QLatin1String("TEMP B-TREE")))
            return true;
    }
    return false;
}

QString noIndex(const QString& expr) {
    // The server's planner weighs the indexes by their statistics and needs no steering.
    return serverInUse() ? expr : QLatin1Char('+') + expr;
}

} // namespace zorva

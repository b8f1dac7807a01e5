#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace zorva {

// The program writes its SQL once, in SQLite's words; what the PostgreSQL server needs instead
// is decided here. Every table carries its row key in a column named rowid on the server (SQLite
// has it built in), so "rowid" means the same on both.
enum class Dialect { SQLite, PostgreSQL };

Dialect dialectOf(const QSqlDatabase& db);
inline bool isServer(const QSqlDatabase& db) { return dialectOf(db) == Dialect::PostgreSQL; }

// A statement as the server reads it: bracketed names ([Name], [Group]) become quoted
// lower-case identifiers, the form unquoted names take on the server; IFNULL( becomes
// coalesce(; a Like with a bound pattern gets no escape character, as on the file; every
// ORDER BY term puts NULLs where SQLite does (first ascending, last descending) unless it says
// so itself or is the row key. String literals and quoted identifiers are left as they are.
QString serverSql(const QString& sql);
// Where a quoted literal, quoted name or dollar-quoted body that begins at sql[i] ends (its
// last character); i itself when none begins there. A doubled quote reads as two literals side
// by side, which skips the same text.
qsizetype quotedEnd(const QString& sql, qsizetype i);
// The statement in db's own words: serverSql on a server, as it is on the file. For code that
// prepares a statement once and runs it many times (the bulk writes of tests and benchmarks).
QString sqlFor(const QSqlDatabase& db, const QString& sql);
// The same for table and index definitions: text columns that ignore letter case become citext,
// integers 64-bit, the address column plain text (so that its prefix searches use the index),
// every text column COLLATE "C" (the file's byte order, whatever the database's collation),
// b-tree index columns ascending NULLS FIRST (the order serverSql asks for), and each table
// gains the rowid key column.
QString serverDdl(const QString& sql);

// Catalogue questions, each with at most one '?' value.
enum class Catalog {
    Tables,        // names of the tables
    Indexes,       // names of the indexes
    Columns,       // names of one table's columns (value: the table), in order
    Triggers,      // names of the triggers
};
QString catalogSql(Dialect d, Catalog what);
// The answer of db to one of them; empty when it fails.
QStringList catalog(QSqlDatabase& db, Catalog what, const QVariantList& values = {});

} // namespace zorva

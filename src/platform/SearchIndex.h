#pragma once
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace zorva {

// Two aids of the record search on a large inventory, kept up to date by triggers:
// - a full-text index of IP_Info's Username and Remarks by trigrams (every piece of three
//   characters), so that a "contains" search need not read the table (about a fifth more file
//   size);
// - the number of addresses in each block ("10.2.31.", the address up to its third dot; an
//   address with fewer dots is a block of its own), so that the addresses that begin with a
//   short prefix ("10.") are counted without reading a million index entries.

// The statements that give a database these aids, their triggers and their contents; empty
// when it has them all. Part of the schema's creation and of its upgrade.
// On a file the aids are filled in steps of some tens of thousands of rows, so that a long
// first build can tell how far it is.
QStringList searchIndexStatements(QSqlDatabase& db);
// Whether a statement is one of those.
bool isSearchIndexStatement(const QString& sql);

// A "contains" search on one of the indexed columns, answered by the index.
struct ContainsCondition {
    QString where;     // the rows, for a statement that looks them up by key
    QString walkWhere; // the same rows, for a statement that walks the order's index
    QString countSql;  // their number
    QVariantList values; // bound to each of the three
};
// nullopt when the index cannot answer exactly: a column it does not hold, text of fewer than
// three characters, or text holding % or _, which keep their pattern meaning in a plain Like.
std::optional<ContainsCondition> indexedContains(const QString& column, const QString& text);

// A statement (with its values) that counts the addresses beginning with prefix from the
// block counts; nullopt when they cannot tell (a prefix reaching past the third dot, or holding
// % or _).
struct PrefixCount {
    QString sql;
    QVariantList values;
};
std::optional<PrefixCount> prefixCount(const QString& prefix);

// Whether the engine would sort the rows of a statement itself (no index gives its order).
// True also when the plan cannot be read.
bool planSortsRows(const QString& sql, const QVariantList& values);

// expr as an expression that no index serves: steers the planner to the index that gives a
// statement's order instead of the one that narrows its condition.
QString noIndex(const QString& expr);

} // namespace zorva

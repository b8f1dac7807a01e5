#pragma once
#include <QString>
#include <QStringList>

namespace zorva::test {

// Files that arrive where a database is expected: copied from elsewhere, restored, chosen.
enum class BadDatabase {
    Truncated,      // a database cut off halfway (an interrupted copy)
    TruncatedHead,  // cut off inside its header
    NotADatabase,   // some other file
    Empty,          // a file of no bytes
    OtherProgram,   // a database of another program
    LackingColumns, // the program's tables, but IP_Info without IP_Address, City without ranges
};

// Writes such a file at path; the damaged and lacking ones are made from a copy of the good
// database at goodPath.
void writeBadDatabase(BadDatabase kind, const QString& path, const QString& goodPath);
// Words that the message about that file must hold.
QString badDatabaseWords(BadDatabase kind);
// Adds one data row per kind (column "kind", an int); for data-driven tests.
void addBadDatabaseRows();

// What turns a database of this version into one of the versions before the address history
// (a file's statements): its triggers and table go. An older layout made by dropping columns
// needs them gone first, as the triggers name every column.
QStringList beforeHistory();

} // namespace zorva::test

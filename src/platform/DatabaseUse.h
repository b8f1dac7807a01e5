#pragma once
#include <QString>

namespace zorva {

// Which running copies of the program use a database file. Every copy marks the database it
// has open with a shared lock on a hidden file beside it (".Zorvadb.mdb.inuse" for
// "Zorvadb.mdb"); an operation that replaces the file (compaction, restore) needs the
// exclusive lock, which no copy gets while another copy, on this machine or on another one
// sharing the folder, holds its mark. The locks go with the process: a copy that crashed
// holds nothing.

QString databaseUseFile(const QString& dbPath);

// Marks dbPath as used by this process, releasing the mark on any other file. Cheap when the
// mark is already there; a mark that could not be taken (a replace is running, the folder is
// read-only) is tried again at the next call.
void markDatabaseInUse(const QString& dbPath);
// Drops this process's mark.
void releaseDatabaseInUse();
// The file this process marks, or empty.
QString markedDatabase();

// Sole use of a database file for the lifetime of the object. acquired() is false while
// another running copy marks the same file. On destruction this process's own mark (if it
// marks that file) becomes shared again.
class ExclusiveDatabaseUse {
public:
    explicit ExclusiveDatabaseUse(const QString& dbPath);
    ~ExclusiveDatabaseUse();
    bool acquired() const { return acquired_; }
    ExclusiveDatabaseUse(const ExclusiveDatabaseUse&) = delete;
    ExclusiveDatabaseUse& operator=(const ExclusiveDatabaseUse&) = delete;

private:
    int fd_ = -1;        // own descriptor when this process did not mark the file
    bool ownMark_ = false;
    bool acquired_ = false;
};

} // namespace zorva

#pragma once
#include <QString>

namespace zorva {

struct CopyFailure {
    int number = 0;
    QString description;
};

// Writes a consistent copy of the database file `source` (even while it is open and written)
// to `target`, replacing an existing target with one atomic rename. A target that another
// running copy of the program uses is not replaced. Copying a file onto itself does nothing.
bool copyDatabaseFile(const QString& source, const QString& target, CopyFailure* failure);

} // namespace zorva

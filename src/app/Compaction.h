#pragma once
#include <QString>

namespace zorva {

enum class CompactResult { Done, InUse, Failed };

// Compacts the database file `source` through `temporary` (a new file beside it), then puts
// the compacted copy in place of the source with one atomic rename: there is never a moment
// without a database. Refused (InUse) while another running copy of the program uses the
// file. The program's own connections are closed first; they reopen on next use.
CompactResult compactDatabaseFile(const QString& source, const QString& temporary,
                                  QString* error = nullptr);

// Size text of a byte count: below 1024 "n bytes", then "0.00 KB", "0.00 MB", "0.00 GB".
QString fileSizeText(qint64 bytes);

} // namespace zorva

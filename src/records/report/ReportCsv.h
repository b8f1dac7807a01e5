#pragma once
#include "records/report/Report.h"

#include <QByteArray>

namespace zorva::report {

// The report's records as comma-separated values (RFC 4180): a heading line with the column
// headers, then one line per record with the columns the report shows; lines end with CR LF;
// a field holding a comma, a quote or a line break is quoted, quotes doubled; UTF-8, no BOM.
QByteArray reportCsv(const Report& r);
// Writes reportCsv to a file, replacing it only when all was written.
bool writeCsv(const Report& r, const QString& path, QString* error = nullptr);

} // namespace zorva::report

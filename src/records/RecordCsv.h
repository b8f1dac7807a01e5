#pragma once
#include <QString>
#include <functional>
#include <vector>

namespace zorva {

// Writes the address records with those row keys, in that order, with every column of
// IP_Info under a heading line of the column names, to path (replaced only when all was
// written). Dates as the program shows them (dd/MM/yyyy).
// A long export reports (records written, records in all) between its chunks, and stops
// when told (false); the file is then left as it was. headingAlways writes the heading line
// even when no record is written.
struct RecordsCsvOptions {
    std::function<bool(qint64 done, qint64 total)> progress;
    bool headingAlways = false;
};
bool writeRecordsCsv(const std::vector<qint64>& keys, const QString& path, QString* error,
                     const RecordsCsvOptions& options = {});

} // namespace zorva

#pragma once
#include <QString>
#include <vector>

namespace zorva {

// Writes the address records with those row keys, in that order, with every column of
// IP_Info under a heading line of the column names, to path (replaced only when all was
// written). Dates as the program shows them (dd/MM/yyyy).
bool writeRecordsCsv(const std::vector<qint64>& keys, const QString& path, QString* error);

} // namespace zorva

#pragma once
#include <QByteArray>
#include <QStringList>
#include <vector>

namespace zorva {

// One line of comma-separated values (RFC 4180): a field holding a comma, a quote or a line
// break is quoted with its quotes doubled; the line ends with CR LF; UTF-8.
void appendCsvLine(QByteArray& out, const QStringList& fields);

// Writes the address records with those row keys, in that order, with every column of
// IP_Info under a heading line of the column names, to path (replaced only when all was
// written). Dates as the program shows them (dd/MM/yyyy).
bool writeRecordsCsv(const std::vector<qint64>& keys, const QString& path, QString* error);

} // namespace zorva

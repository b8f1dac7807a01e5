#pragma once
#include <QByteArray>
#include <QStringList>

namespace zorva {

// One line of comma-separated values (RFC 4180), appended to out: a field holding a comma, a
// quote or a line break is quoted with its quotes doubled; the line ends with CR LF; UTF-8,
// no byte-order mark.
void appendCsvLine(QByteArray& out, const QStringList& fields);

} // namespace zorva

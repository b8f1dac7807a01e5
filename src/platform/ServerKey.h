#pragma once
// The row key of a server table that serverDdl made: the statements that drop its index and add
// it again. Rows go in faster without it, and one sort then builds it.
#include <QString>

namespace zorva {

struct ServerKeyStatements {
    QString drop, add;
};
ServerKeyStatements serverKeyStatements(const QString& table);

} // namespace zorva

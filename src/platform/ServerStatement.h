#pragma once
#include <QString>
#include <QVariantList>
#include <optional>

class QSqlDriver;

namespace zorva {

// A statement with values as one text for the server: each ? outside quotes becomes its value,
// written by the server's driver exactly as it writes the arguments of a prepared statement's
// EXECUTE (its own quoting and escapes), and numbers and truth values as quoted literals, so
// that the server types every value from its place as it types a parameter. The server's driver
// prepares a statement with values as a named object: PREPARE, EXECUTE and DEALLOCATE are three
// round trips, where this text is one. nullopt when the marks and values do not pair up.
std::optional<QString> statementWithValues(const QSqlDriver* driver, const QString& sql,
                                           const QVariantList& values);

// The same statement with its ? marks (outside quotes) numbered as the server's parameters
// ($1, $2...), for PREPARE; the number of marks in *count.
QString statementWithParameters(const QString& sql, int* count);
// EXECUTE of the prepared statement `name` with the values written as statementWithValues
// writes them.
QString executeWithValues(const QSqlDriver* driver, const QString& name, const QVariantList& values);

// Whether a value goes to the database as NULL (an invalid value, a null text, date or bytes).
bool isNullValue(const QVariant& v);

} // namespace zorva

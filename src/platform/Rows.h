#pragma once
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>
#include <utility>
#include <vector>

class QWidget;

namespace zorva {

// Row helpers of the data-entry forms, on the program's database. Values are bound; table
// and column names come from the program, never from input. Failures are shown in an
// "Error !!!" message box over parent (the form stays usable).

using Columns = std::vector<std::pair<QString, QVariant>>;

// Whether the query returns a row (false also when it fails; the failure is reported).
bool rowExists(QWidget* parent, const QString& sql, const QVariantList& values = {});
// The first row, or nullopt when there is none or the query failed.
std::optional<QSqlRecord> firstRow(QWidget* parent, const QString& sql,
                                   const QVariantList& values = {});
// One column of every row, in the query's order.
QStringList columnValues(QWidget* parent, const QString& sql, const QVariantList& values,
                         const QString& column);
// Inserts a row (isNew) or changes the row with that rowid; true when written.
bool writeRow(QWidget* parent, const QString& table, const Columns& columns, bool isNew,
              const QVariant& rowid);
// Deletes the row with that rowid; true when done.
bool deleteRow(QWidget* parent, const QString& table, const QVariant& rowid);

} // namespace zorva

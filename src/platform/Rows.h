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
// What a write by row key did: true only when done. gone(): no row had that key any more
// (another user deleted it meanwhile); nothing was written and reportChangedMeanwhile has
// been shown. A plain bool converts (false: failed, the error was shown).
class Written {
public:
    enum Outcome { Failed, Done, Gone };
    Written(Outcome outcome) : outcome_(outcome) {}
    Written(bool done) : outcome_(done ? Done : Failed) {}
    explicit operator bool() const { return outcome_ == Done; }
    bool gone() const { return outcome_ == Gone; }

private:
    Outcome outcome_;
};

// The one message of every form whose write or delete by row key found no row.
void reportChangedMeanwhile(QWidget* parent);
// Inserts a row (isNew) or changes the row with that rowid.
Written writeRow(QWidget* parent, const QString& table, const Columns& columns, bool isNew,
                 const QVariant& rowid);
// Deletes the row with that rowid.
Written deleteRow(QWidget* parent, const QString& table, const QVariant& rowid);

} // namespace zorva

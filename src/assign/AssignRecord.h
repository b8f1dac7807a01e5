#pragma once
// Storing one assignment as an IP_Info row.
#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace zorva {

struct AssignRecord {
    QString address;
    int ip4 = 0;
    QString name, type, region, workgroup;
    QString project, remarks, userName, staffNo, lanId, status;
    QString unit; // empty: the column is left unwritten
    QString floor, building, street, postcode, state, city, telNo, faxNo;
    QString stateOwner; // null when the area has no states: left unwritten
    QString cityOwner;
    QString inputBy;
    QDate dateIssue = QDate::currentDate();
};

enum class SaveOutcome {
    Saved,
    AddressTaken, // another copy recorded the address since it was offered; nothing written
    Failed,       // the database refused the row; nothing written
};

// Appends the row. AddressTaken when the address is recorded by now (the unique address index
// refused the row); Failed with the driver's text otherwise.
SaveOutcome saveAssignment(QSqlDatabase db, const AssignRecord& r, QString* error = nullptr);

// The row recorded for address (the fields of a record), or nothing.
std::optional<AssignRecord> recordedAssignment(QSqlDatabase db, const QString& address,
                                               QString* error = nullptr);

// "Selected row of a host name": the address of the first row named so, or empty.
QString addressWithName(QSqlDatabase db, const QString& hostName, QString* error = nullptr);

} // namespace zorva

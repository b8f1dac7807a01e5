#pragma once
// AssignLog.txt: one block of lines per saved assignment, appended in the application folder.
#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zorva {

struct AssignLogFields {
    QString address, hostName, equipment, userName;
    // Only with a unit: the unit and its postal address.
    QString unit, floor, building, street, postcode, city, state;
};

// The entry's bytes (UTF-8, lines ending CR LF): seven lines, twelve with a unit.
QByteArray assignLogEntry(const AssignLogFields& f, const QDateTime& when);

// appFolder + "/AssignLog.txt".
QString assignLogPath();
// Appends the entry; false when the file cannot be opened or written.
bool appendAssignLog(const QByteArray& entry, const QString& path = assignLogPath());
// The whole file as text; false when it cannot be read (a missing file too).
bool readAssignLog(QString* text, const QString& path = assignLogPath());
// Truncates the file to one empty line; false when it cannot be written.
bool clearAssignLog(const QString& path = assignLogPath());

} // namespace zorva

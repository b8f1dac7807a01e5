#pragma once
#include <QString>

namespace zorva {

// From the splash to the main window: the settings file, the database path, locating a
// missing database, the schema upgrade, then the main window.
void StartUp();

// Text of the message shown when Zorva.ini is missing from the application folder.
QString missingIniText(const QString& appFolder);

// Database path for a DatabaseLocation value: a value of only spaces means the application
// folder; any other value is used as read.
QString databasePathFor(const QString& location, const QString& appFolder);

} // namespace zorva

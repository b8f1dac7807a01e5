#pragma once
#include "platform/Schema.h"

#include <QString>

namespace zorva {

// From the splash to the main window: the settings file, the database path, locating a
// missing database, the schema upgrade, then the main window. A long upgrade reports through
// `progress`; an empty text then says that it is over, before any other window shows.
void StartUp(const UpgradeProgress& progress = {});

// Text of the message shown when Zorva.ini is missing from the application folder.
QString missingIniText(const QString& appFolder);

// Database path for a DatabaseLocation value: a value of only spaces means the application
// folder; any other value is used as read.
QString databasePathFor(const QString& location, const QString& appFolder);

} // namespace zorva

#pragma once
#include <QString>

namespace zorva {

// The per-user settings store: QSettings of organisation and application "Zorva", group
// "Settings". Values are text; a value that is missing or empty reads as the default.
QString GetSetting(const QString& key, const QString& defaultValue = {});
void SaveSetting(const QString& key, const QString& value);

// Writes a desktop entry named `name` into the user's applications folder, offered by the file
// manager for any file, that starts `program` with the chosen file's path. fileName is the
// entry's file name ("zorva-split-file.desktop"). Returns whether the entry is in place.
bool writeFileActionEntry(const QString& fileName, const QString& name, const QString& program);
// Where that entry lives.
QString fileActionEntryPath(const QString& fileName);

} // namespace zorva

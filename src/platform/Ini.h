#pragma once
#include <QString>

namespace zorva {

// Private-profile settings file ("Zorva.ini"): sections in brackets, key=value lines.
// Section and key names are case-insensitive, ';' starts a comment line, the first of
// duplicate sections or keys wins, and at most 254 characters of a value are returned.

QString readIniFile(const QString& file, const QString& section, const QString& key);
// Writes key=value into the file, keeping every other line as it was. An empty value keeps
// the key with an empty value. Returns whether the file was really written.
bool writeIniFile(const QString& file, const QString& section, const QString& key,
                  const QString& value);

// The same on the program's settings file, appState().gIniFile.
QString ReadIni(const QString& section, const QString& key);
bool WriteIni(const QString& section, const QString& key, const QString& value);

} // namespace zorva

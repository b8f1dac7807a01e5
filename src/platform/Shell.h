#pragma once
#include <QString>

namespace zorva {

// Hands a file, address or program to the desktop: a program file is started, anything else
// (web page, "mailto:" link, document) is opened with its associated application. Callers pass
// the verb "open", empty parameters and folder and show command 1; the result is ignored.
void ShellOpen(const QString& verb, const QString& file, const QString& parameters = {},
               const QString& folder = {}, int showCommand = 1);

// Closes the database connections and ends the process at once.
void EndProgram();

// The application folder (settings and database, AppFolder.h; no trailing separator).
QString applicationFolder();
// path joined to the application folder.
QString inApplicationFolder(const QString& name);
// name joined to the executable's folder, where its sibling programs are (ZorvaMon, ZorvaUpd).
QString inProgramFolder(const QString& name);

// Shows the hourglass pointer for its lifetime.
class CursorGuard {
public:
    CursorGuard();
    ~CursorGuard();
    CursorGuard(const CursorGuard&) = delete;
    CursorGuard& operator=(const CursorGuard&) = delete;
};

} // namespace zorva

#pragma once
// The import and the export from the command line (zorva-initdb --import / --export), on the
// database that a settings file names.
#include <QString>
#include <QStringList>
#include <cstdio>

namespace zorva {

// Makes the database that the settings file names the program's database: the server of its
// [Database] keys, or the file Zorvadb.mdb in its DatabaseLocation folder (relative to the
// settings file's folder; empty: that folder itself). False with the reason.
bool useDatabaseOfIni(const QString& iniFile, QString* error);

// Runs "--import FILE [--dry-run] [--update|--skip] [--strict-place]" or "--export FILE"
// (args without the program name and without --ini). The exit status: 0 when all went well
// and no row was refused, 1 on a failure (nothing written), 2 for arguments it does not
// understand, 3 when rows were refused (the accepted ones are written unless --dry-run).
// -1 when args are no import or export.
int runImportCommand(const QStringList& args, const QString& iniFile, FILE* out, FILE* err);

} // namespace zorva

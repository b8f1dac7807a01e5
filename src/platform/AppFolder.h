#pragma once
#include <QString>
#include <QStringList>

namespace zorva {

// Where Zorva keeps Zorva.ini, the database, AssignLog.txt and the split utility's defaults.
// A folder holding Zorva.ini beside the executable (a build installed into a folder of its own,
// the tests) is the application folder; an executable without one (installed in /usr/bin by the
// package) keeps everything in the user's data folder instead.
QString applicationFolderFor(const QString& programFolder, const QString& dataFolder);

// The user's data folder: ~/.local/share/Zorva (XDG_DATA_HOME). The same for zorva, ZorvaMon
// and zorva-initdb, whatever their application names.
QString userDataFolder();

// The rule for the running executable.
QString applicationFolderOfProgram();
// The settings file of the running executable's application folder.
QString applicationIniFile();

// What a first start in the user's data folder did.
struct FirstStart {
    QStringList written; // paths written, in order
    QString error;       // why the folder could not be prepared; empty when it was
};

// Prepares a user's data folder whose Zorva.ini is missing: creates the folder, writes the
// initial database (unless a Zorvadb.mdb is there already) and then Zorva.ini as shipped, its
// DatabaseLocation naming this folder. The
// settings file comes last so that an interrupted start tries again. Nothing is done when
// Zorva.ini exists.
FirstStart prepareUserFolder(const QString& folder);

// The message of a first start that wrote files (folder and login named once).
QString firstStartText(const QString& folder, const FirstStart& done);
// The message of a folder that could not be prepared.
QString unwritableFolderText(const QString& folder, const FirstStart& done);

} // namespace zorva

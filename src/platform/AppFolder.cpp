#include "platform/AppFolder.h"
#include "platform/Ini.h"
#include "platform/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace zorva {

namespace {

const QString kIni = QStringLiteral("Zorva.ini");
const QString kDatabase = QStringLiteral("Zorvadb.mdb");

} // namespace

QString applicationFolderFor(const QString& programFolder, const QString& dataFolder) {
    return QFileInfo(QDir(programFolder).filePath(kIni)).isFile() ? programFolder : dataFolder;
}

QString userDataFolder() {
    // Not AppDataLocation: it adds organisation and application names, which differ between
    // the three executables (and would give ~/.local/share/Zorva/Zorva for the program).
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Zorva"));
}

QString applicationFolderOfProgram() {
    return applicationFolderFor(QCoreApplication::applicationDirPath(), userDataFolder());
}

QString applicationIniFile() { return QDir(applicationFolderOfProgram()).filePath(kIni); }

FirstStart prepareUserFolder(const QString& folder) {
    FirstStart done;
    const QDir dir(folder);
    if (QFileInfo(dir.filePath(kIni)).exists()) return done;
    if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
        done.error = QStringLiteral("the folder cannot be created");
        return done;
    }
    const QString database = dir.filePath(kDatabase);
    if (!QFileInfo::exists(database)) {
        QString error;
        if (!createInitialDatabase(database, &error)) {
            QFile::remove(database); // no half-written database is left for the next start
            done.error = QStringLiteral("the initial database cannot be written (%1)").arg(error);
            return done;
        }
        done.written << database;
    }
    // The shipped settings with the database located in this folder: the offer to move the
    // database out of the program's folder is for a database among the program's files, and
    // would come at every start. Written under another name and renamed, so that a settings
    // file is either complete or absent.
    const QString part = dir.filePath(kIni + QStringLiteral(".part"));
    QFile shipped(QStringLiteral(":/zorva/Zorva.ini"));
    QSaveFile ini(part);
    const bool written = shipped.open(QIODevice::ReadOnly) && ini.open(QIODevice::WriteOnly) &&
                         ini.write(shipped.readAll()) >= 0 && ini.commit() &&
                         writeIniFile(part, QStringLiteral("Database"), QStringLiteral("DatabaseLocation"), folder) &&
                         QFile::rename(part, dir.filePath(kIni));
    if (!written) {
        QFile::remove(part);
        done.error = QStringLiteral("Zorva.ini cannot be written there");
        return done;
    }
    done.written << dir.filePath(kIni);
    return done;
}

QString firstStartText(const QString& folder, const FirstStart& done) {
    QString text = QStringLiteral("Zorva keeps its settings and database in your folder\r\n") +
                   QDir::toNativeSeparators(folder) + QStringLiteral("\r\n\r\nThis first start wrote ");
    QStringList names;
    for (const QString& path : done.written) names << QFileInfo(path).fileName();
    text += names.join(QStringLiteral(" and ")) + QStringLiteral(" there.");
    if (done.written.size() == 2)
        text += QStringLiteral("\r\n\r\nLog in as user %1 with the password %2 and change the "
                               "password at once.")
                    .arg(QLatin1String(kInitialUserID), QLatin1String(kInitialPassword));
    return text;
}

QString unwritableFolderText(const QString& folder, const FirstStart& done) {
    return QStringLiteral("Zorva keeps its settings and database in your folder\r\n") +
           QDir::toNativeSeparators(folder) + QStringLiteral("\r\n\r\nbut ") + done.error +
           QStringLiteral(".\r\n\r\nMake that folder writable for you (or set XDG_DATA_HOME to a "
                          "folder that is) and start Zorva again.");
}

} // namespace zorva

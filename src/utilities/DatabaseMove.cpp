#include "utilities/DatabaseMove.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace zorva {

namespace {

bool fail(CopyFailure* failure, int number, const QString& text) {
    if (failure) *failure = {number, text};
    return false;
}

QString canonicalOrAbsolute(const QString& path) {
    const QFileInfo fi(path);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? fi.absoluteFilePath() : c;
}

} // namespace

bool copyDatabaseFile(const QString& source, const QString& target, CopyFailure* failure) {
    if (!QFileInfo(source).isFile())
        return fail(failure, ENOENT, QStringLiteral("File not found: ") + source);
    if (canonicalOrAbsolute(source) == canonicalOrAbsolute(target)) return true;

    const QFileInfo targetInfo(target);
    const QString temporary =
        targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName() + QStringLiteral(".copy");
    QFile::remove(temporary);

    const bool sourceIsOpen = canonicalOrAbsolute(source) == canonicalOrAbsolute(appState().gDbPath);
    const QString connection = QStringLiteral("zorva_copy_source");
    QString error;
    bool copied = false;
    {
        QSqlDatabase db = sourceIsOpen ? database(&error) : openDatabaseFile(source, connection, &error);
        if (db.isValid()) copied = copyDatabaseTo(db, temporary, &error);
    }
    if (!sourceIsOpen) closeConnection(connection);
    if (!copied) {
        QFile::remove(temporary);
        return fail(failure, EIO, error);
    }

    std::optional<ExclusiveDatabaseUse> sole;
    if (QFileInfo::exists(target)) {
        sole.emplace(target);
        if (!sole->acquired()) {
            QFile::remove(temporary);
            return fail(failure, EBUSY,
                        QStringLiteral("The database in that folder is in use by another copy of Zorva"));
        }
        // Our own connection to the replaced file would go on writing to the old one.
        if (canonicalOrAbsolute(target) == canonicalOrAbsolute(appState().gDbPath))
            closeAllConnections();
    }
    if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target).constData()) != 0) {
        const int e = errno;
        QFile::remove(temporary);
        return fail(failure, e, QString::fromLocal8Bit(std::strerror(e)));
    }
    return true;
}

} // namespace zorva

#include "app/Compaction.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zorva {

CompactResult compactDatabaseFile(const QString& source, const QString& temporary,
                                  QString* error) {
    if (!QFileInfo(source).isFile()) {
        if (error) *error = QStringLiteral("Database file '%1' not found.").arg(source);
        return CompactResult::Failed;
    }
    ExclusiveDatabaseUse sole(source);
    if (!sole.acquired()) {
        if (error) *error = QStringLiteral("The database is used by another running copy.");
        return CompactResult::InUse;
    }
    // Our own connections would keep writing to the replaced file.
    closeAllConnections();
    // A temporary file left by an earlier failed compaction is ours to replace.
    if (QFileInfo::exists(temporary) && !QFile::remove(temporary)) {
        if (error) *error = QStringLiteral("Cannot remove '%1'.").arg(temporary);
        return CompactResult::Failed;
    }
    const QString connection = QStringLiteral("zorva_compact");
    bool copied = false;
    {
        QSqlDatabase db = openDatabaseFile(source, connection, error);
        if (db.isValid()) copied = copyDatabaseTo(db, temporary, error);
    }
    closeConnection(connection);
    if (!copied) {
        QFile::remove(temporary);
        return CompactResult::Failed;
    }
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(source).constData()) != 0) {
        if (error) *error = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(temporary);
        return CompactResult::Failed;
    }
    return CompactResult::Done;
}

QString fileSizeText(qint64 bytes) {
    const double s = double(bytes);
    if (bytes < 1024) return QString::number(bytes) + QStringLiteral(" bytes");
    if (bytes < 1048576) return QString::number(s / 1024.0, 'f', 2) + QStringLiteral(" KB");
    if (bytes < 1073741824)
        return QString::number(s / 1048576.0, 'f', 2) + QStringLiteral(" MB");
    return QString::number(s / 1073741824.0, 'f', 2) + QStringLiteral(" GB");
}

} // namespace zorva

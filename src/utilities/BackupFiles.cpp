#include "utilities/BackupFiles.h"
#include "platform/Database.h"
#include "platform/DatabaseUse.h"
#include "platform/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <cstdio>

namespace zorva::backup {

namespace {

FileError pathNotFound() {
    return FileError(FileErrorKind::PathNotFound);
}
FileError fileNotFound() {
    return FileError(FileErrorKind::FileNotFound);
}

FileError fromFileDevice(const QFileDevice& f) {
    switch (f.error()) {
    case QFileDevice::NoError: return {};
    case QFileDevice::ResourceError:
        return FileError(FileErrorKind::DiskFull);
    case QFileDevice::PermissionsError:
        return FileError(FileErrorKind::PermissionDenied);
    default:
        return accessError(f.errorString());
    }
}

FileError fromErrno(int e) {
    switch (e) {
    case 0: return {};
    case ENOENT: return pathNotFound();
    case EACCES:
    case EPERM:
    case EROFS:
        return FileError(FileErrorKind::PermissionDenied);
    case ENOSPC:
        return FileError(FileErrorKind::DiskFull);
    default:
        return accessError();
    }
}

// A name beside target for the copy in progress.
QString besideName(const QString& target) {
    const QFileInfo fi(target);
    return fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QLatin1Char('.') +
           QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".part");
}

// Renames from over to, replacing to in one step.
FileError renameOver(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    const FileError e = fromErrno(errno);
    QFile::remove(from);
    return e;
}

FileError checkFolder(const QString& file) {
    const QFileInfo folder(QFileInfo(file).absolutePath());
    return folder.isDir() ? FileError{} : pathNotFound();
}

} // namespace

namespace {
// The number and text each kind has always been told with.
std::pair<int, const char*> told(FileErrorKind kind) {
    switch (kind) {
    case FileErrorKind::None: break;
    case FileErrorKind::FileNotFound: return {53, "File not found"};
    case FileErrorKind::DiskFull: return {61, "Disk full"};
    case FileErrorKind::PermissionDenied: return {70, "Permission denied"};
    case FileErrorKind::AccessError: return {75, "Path/File access error"};
    case FileErrorKind::PathNotFound: return {76, "Path not found"};
    }
    return {0, ""};
}
} // namespace

FileError::FileError(FileErrorKind k, const QString& text) : kind(k), description(text) {
    if (description.isEmpty()) description = QString::fromLatin1(told(k).second);
}

int FileError::number() const { return told(kind).first; }

FileError accessError(const QString& reason) {
    return FileError(FileErrorKind::AccessError,
                     reason.isEmpty() ? QString()
                                      : QStringLiteral("Path/File access error (%1)").arg(reason));
}

QString inUseDescription() {
    return QStringLiteral("Permission denied (Zorva database is in use by another running copy of Zorva)");
}

QString errorText(const FileError& error, const QString& separator) {
    return QString::number(error.number()) + separator + error.description;
}

QString withSlash(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder;
    return folder + QLatin1Char('/');
}

FileError checkFolderText(const QString& folder) {
    return QDir::isAbsolutePath(folder) ? FileError{} : pathNotFound();
}

bool isRootFolder(const QString& folder) { return folder == QLatin1String("/"); }

bool samePath(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists()) return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

FileError backupDatabase(QSqlDatabase db, const QString& target) {
    if (const FileError e = checkFolder(target); e.failed()) return e;
    if (!db.isValid()) return accessError(QStringLiteral("the database is not open"));
    const QString part = besideName(target);
    QString error;
    if (!copyDatabaseTo(db, part, &error)) {
        QFile::remove(part);
        const bool full = error.contains(QStringLiteral("full"), Qt::CaseInsensitive);
        return full ? FileError(FileErrorKind::DiskFull) : accessError(error);
    }
    return renameOver(part, target);
}

FileError copyFileReplacing(const QString& source, const QString& target) {
    QFile in(source);
    if (!QFileInfo(source).isFile()) return fileNotFound();
    if (const FileError e = checkFolder(target); e.failed()) return e;
    if (!in.open(QIODevice::ReadOnly)) return fromFileDevice(in);
    const QString part = besideName(target);
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fromFileDevice(out);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        const qint64 n = in.read(buffer.data(), buffer.size());
        if (n < 0) {
            const FileError e = fromFileDevice(in);
            out.close();
            QFile::remove(part);
            return e;
        }
        if (n == 0) break;
        if (out.write(buffer.constData(), n) != n) {
            const FileError e = fromFileDevice(out);
            out.close();
            QFile::remove(part);
            return e;
        }
    }
    out.close();
    if (out.error() != QFileDevice::NoError) {
        QFile::remove(part);
        return fromFileDevice(out);
    }
    return renameOver(part, target);
}

FileError restoreDatabase(const QString& backupFile, const QString& dbPath) {
    if (!QFileInfo(backupFile).isFile()) return fileNotFound();
    if (const FileError e = checkFolder(dbPath); e.failed()) return e;
    // Another running copy would go on writing into the replaced file and lose its work.
    ExclusiveDatabaseUse sole(dbPath);
    if (!sole.acquired()) return FileError(FileErrorKind::PermissionDenied, inUseDescription());
    closeAllConnections();
    // Copy first, beside the database, so that the rename below is a single step.
    const QString part = besideName(dbPath);
    QFile::remove(part);
    if (!QFile::copy(backupFile, part)) {
        QFile src(backupFile);
        QFile::remove(part);
        return src.open(QIODevice::ReadOnly) ? fromErrno(EACCES) : fromFileDevice(src);
    }
    // A truncated file, another program's database or one lacking columns never replaces it.
    if (const QString problem = databaseFileProblem(part); !problem.isEmpty()) {
        QFile::remove(part);
        return accessError(problem);
    }
    return renameOver(part, dbPath);
}

} // namespace zorva::backup

#pragma once
#include <QSqlDatabase>
#include <QString>

namespace zorva::backup {

// What went wrong with a file.
enum class FileErrorKind {
    None,
    FileNotFound,
    DiskFull,
    PermissionDenied,
    AccessError,
    PathNotFound
};

// A failed copy, told the way the program always has: an error number and its description
// ("76", "Path not found"). The kind decides both.
struct FileError {
    FileErrorKind kind = FileErrorKind::None;
    QString description;

    FileError() = default;
    // The kind's own description, or the one given (with the reason in it).
    explicit FileError(FileErrorKind k, const QString& text = {});
    bool failed() const { return kind != FileErrorKind::None; }
    // 53 file not found, 61 disk full, 70 permission denied, 75 path/file access error,
    // 76 path not found; 0 when nothing failed.
    int number() const;
};
// A path/file access error with its reason: "Path/File access error (reason)".
FileError accessError(const QString& reason = {});

// Why a restore is refused while another running copy of the program uses the database.
QString inUseDescription();

// "number" + separator + "description".
QString errorText(const FileError& error, const QString& separator);

// folder with a trailing "/" (an empty text stays empty).
QString withSlash(const QString& folder);
// The folder box as typed: an empty or relative text names no folder the user chose (it would
// resolve against the program's working folder), so it counts as a path that is not found.
FileError checkFolderText(const QString& folder);
// Backups are never written into the file-system root.
bool isRootFolder(const QString& folder);
// Whether two paths name the same file, however they are spelled.
bool samePath(const QString& a, const QString& b);

// Writes a consistent copy of the open database db to target, replacing an older copy only
// once the new one is complete.
FileError backupDatabase(QSqlDatabase db, const QString& target);
// Copies a file over target; target is replaced only once the copy is complete.
FileError copyFileReplacing(const QString& source, const QString& target);
// Puts the backup in place of the database at dbPath: the program's own connections are
// closed, the backup is copied beside the database, checked to be a database, and renamed over
// it. The database is untouched when anything fails, and while another running copy of the
// program uses it.
FileError restoreDatabase(const QString& backupFile, const QString& dbPath);

} // namespace zorva::backup

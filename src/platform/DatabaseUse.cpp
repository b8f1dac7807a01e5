#include "platform/DatabaseUse.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zorva {

namespace {

// The mark of this process: the database it uses and the descriptor holding the shared lock.
struct Mark {
    QString path;
    int fd = -1;
};

Mark& mark() {
    static Mark m;
    return m;
}

QString canonical(const QString& dbPath) {
    const QFileInfo fi(dbPath);
    const QString c = fi.canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : c;
}

// Opens the lock file, creating it when the folder allows; read-only when it does not.
int openUseFile(const QString& dbPath) {
    const QByteArray file = QFile::encodeName(databaseUseFile(dbPath));
    int fd = ::open(file.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    return fd;
}

bool lock(int fd, int operation) {
    int r;
    do r = ::flock(fd, operation | LOCK_NB);
    while (r != 0 && errno == EINTR);
    return r == 0;
}

} // namespace

QString databaseUseFile(const QString& dbPath) {
    const QFileInfo fi(canonical(dbPath));
    return fi.absolutePath() + QStringLiteral("/.") + fi.fileName() + QStringLiteral(".inuse");
}

void markDatabaseInUse(const QString& dbPath) {
    Mark& m = mark();
    const QString path = canonical(dbPath);
    if (m.fd >= 0 && m.path == path) return;
    releaseDatabaseInUse();
    const int fd = openUseFile(path);
    if (fd < 0) return;
    if (!lock(fd, LOCK_SH)) {
        ::close(fd);
        return;
    }
    m.path = path;
    m.fd = fd;
}

void releaseDatabaseInUse() {
    Mark& m = mark();
    if (m.fd >= 0) ::close(m.fd);
    m = Mark{};
}

QString markedDatabase() { return mark().fd >= 0 ? mark().path : QString(); }

ExclusiveDatabaseUse::ExclusiveDatabaseUse(const QString& dbPath) {
    Mark& m = mark();
    const QString path = canonical(dbPath);
    if (m.fd >= 0 && m.path == path) {
        // Our own shared lock is turned into the exclusive one; a refused conversion may have
        // dropped it, so it is taken again.
        ownMark_ = true;
        acquired_ = lock(m.fd, LOCK_EX);
        if (!acquired_ && !lock(m.fd, LOCK_SH)) releaseDatabaseInUse();
        return;
    }
    fd_ = openUseFile(path);
    if (fd_ < 0) {
        // No lock file and none can be made: no running copy can have marked it either.
        acquired_ = !QFileInfo::exists(databaseUseFile(path));
        return;
    }
    acquired_ = lock(fd_, LOCK_EX);
}

ExclusiveDatabaseUse::~ExclusiveDatabaseUse() {
    if (ownMark_) {
        Mark& m = mark();
        if (acquired_ && m.fd >= 0 && !lock(m.fd, LOCK_SH)) releaseDatabaseInUse();
        return;
    }
    if (fd_ >= 0) ::close(fd_);
}

} // namespace zorva

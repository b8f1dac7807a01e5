#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace zorva {

QString singleInstanceLockPath(const QString& executablePath) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(executablePath.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return dir + QStringLiteral("/zorva-") + QString::fromLatin1(key) + QStringLiteral(".lock");
}

bool claimSingleInstance() {
    static QLockFile* lock = nullptr;
    if (lock) return true;
    auto* candidate = new QLockFile(singleInstanceLockPath(QCoreApplication::applicationFilePath()));
    // A lock left by a copy that crashed is taken over (its process is gone).
    candidate->setStaleLockTime(0);
    if (!candidate->tryLock(0)) {
        delete candidate;
        return false;
    }
    lock = candidate;
    return true;
}

} // namespace zorva

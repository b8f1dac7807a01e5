#pragma once
#include <QSettings>
#include <QString>

// Points the per-user settings store and the user's applications folder into a test's own
// folder, so that nothing of the real user's is read or written.
inline void isolateUserStore(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder + QStringLiteral("/config"));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder + QStringLiteral("/config"));
    qputenv("XDG_DATA_HOME", (folder + QStringLiteral("/data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (folder + QStringLiteral("/config")).toLocal8Bit());
}

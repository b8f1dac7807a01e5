#include "platform/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace zorva {

namespace {

QSettings store() { return QSettings(QStringLiteral("Zorva"), QStringLiteral("Zorva")); }

// Quoting of a desktop entry's Exec argument: double quotes, with ", `, $ and \ escaped.
QString execQuoted(const QString& program) {
    QString out;
    for (QChar c : program) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        out += c;
    }
    // The entry format itself escapes backslashes once more.
    out.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

} // namespace

QString GetSetting(const QString& key, const QString& defaultValue) {
    QSettings s = store();
    s.beginGroup(QStringLiteral("Settings"));
    const QString v = s.value(key).toString();
    return v.isEmpty() ? defaultValue : v;
}

void SaveSetting(const QString& key, const QString& value) {
    QSettings s = store();
    s.beginGroup(QStringLiteral("Settings"));
    s.setValue(key, value);
}

QString fileActionEntryPath(const QString& fileName) {
    return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation) +
           QLatin1Char('/') + fileName;
}

bool writeFileActionEntry(const QString& fileName, const QString& name, const QString& program) {
    const QString path = fileActionEntryPath(fileName);
    const QByteArray text = QStringLiteral("[Desktop Entry]\n"
                                           "Type=Application\n"
                                           "Name=%1\n"
                                           "Exec=%2 %f\n"
                                           "MimeType=application/octet-stream;\n"
                                           "NoDisplay=true\n"
                                           "Terminal=false\n")
                                .arg(name, execQuoted(program))
                                .toUtf8();
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == text) return true;
    current.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(text) == text.size() && out.commit();
}

} // namespace zorva

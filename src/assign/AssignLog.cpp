#include "assign/AssignLog.h"
#include "platform/AppState.h"

#include <QDir>
#include <QFile>

namespace zorva {

namespace {
const QString kRule = QString(53, QLatin1Char('-'));
const QString kIndent = QStringLiteral("       \t\t  "); // seven blanks, two tabs, two blanks
} // namespace

QByteArray assignLogEntry(const AssignLogFields& f, const QDateTime& when) {
    QStringList lines = {
        QStringLiteral("Date Assign : ") + when.toString(QStringLiteral("dd/MM/yyyy")) +
            QStringLiteral(" (") + when.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(')'),
        kRule,
        QStringLiteral("IP Address\t: ") + f.address,
        QStringLiteral("Hostname\t: ") + f.hostName,
        QStringLiteral("Equipment\t: ") + f.equipment,
        QStringLiteral("Username\t: ") + f.userName,
    };
    if (!f.unit.isEmpty()) {
        lines << QStringLiteral("Unit/Division\t: ") + f.unit
              << QStringLiteral("Address\t\t: ") + f.floor + QStringLiteral(", ") + f.building
              << kIndent + f.street
              << kIndent + f.postcode + QStringLiteral(", ") + f.city
              << kIndent + f.state;
    }
    lines << kRule;
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString assignLogPath() {
    return QDir(appState().appFolder).filePath(QStringLiteral("AssignLog.txt"));
}

bool appendAssignLog(const QByteArray& entry, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    return f.write(entry) == entry.size() && f.flush();
}

bool readAssignLog(QString* text, const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    *text = QString::fromUtf8(f.readAll());
    return f.error() == QFile::NoError;
}

bool clearAssignLog(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write("\r\n") == 2 && f.flush();
}

} // namespace zorva

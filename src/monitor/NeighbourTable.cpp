#include "monitor/NeighbourTable.h"

#include <QFile>
#include <QRegularExpression>

namespace zorva {

QHash<QString, QString> parseNeighbourTable(const QString& text) {
    // "IP address  HW type  Flags  HW address  Mask  Device"; flag 0x2 marks a complete entry.
    static const QRegularExpression mac(QStringLiteral("^([0-9a-fA-F]{2}:){5}[0-9a-fA-F]{2}$"));
    QHash<QString, QString> out;
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines[i].simplified().split(QLatin1Char(' '));
        if (f.size() < 4) continue;
        bool ok = false;
        const uint flags = f[2].toUInt(&ok, 16);
        if (!ok || !(flags & 0x2) || !mac.match(f[3]).hasMatch() || f[3] == QLatin1String("00:00:00:00:00:00"))
            continue;
        out.insert(f[0], f[3].toUpper());
    }
    return out;
}

QHash<QString, QString> readNeighbourTable(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return parseNeighbourTable(QString::fromLatin1(f.readAll()));
}

} // namespace zorva

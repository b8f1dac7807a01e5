#include "assign/AssignParts.h"

namespace zorva {

QString cityRangeEntry(int start, int end) {
    return QStringLiteral("IP Range %1 to %2").arg(start).arg(end);
}

bool isCityRangeEntry(const QString& entry) { return entry.contains(QLatin1String("IP Range ")); }

bool isNetworkEntry(const QString& entry) {
    return entry == kSubnetEntry || isCityRangeEntry(entry);
}

QString sequenceCode(int n) {
    if (n < 10) return QStringLiteral("0%1").arg(qMax(n, 0));
    if (n < 100) return QString::number(n);
    if (n >= 250) return QString::number(n - 250) + QLatin1Char('Q');
    // 100..249: ten numbers per letter from A, O skipped (240..249 are "P").
    static const char kLetters[] = "ABCDEFGHIJKLMNP";
    const int tens = (n - 100) / 10;
    return QString::number(n % 10) + QLatin1Char(kLetters[tens]);
}

int equipmentSequence(int candidate, int last, int equipmentStart) {
    return last != 0 ? candidate - equipmentStart + 1 : 1;
}

QString addressText(int octet1, int octet2, int octet3, int octet4) {
    return QStringLiteral("%1.%2.%3.%4").arg(octet1).arg(octet2).arg(octet3).arg(octet4);
}

QString savedText(int count, const QString& lastAddress) {
    if (count <= 1) return QStringLiteral("Address %1 saved").arg(lastAddress);
    return QStringLiteral("%1 addresses saved (the last %2)").arg(count).arg(lastAddress);
}

QString subnetSavedText(int count, const QString& prefix) {
    if (count <= 0) return {};
    return QStringLiteral("%1 subnet address%2 saved in %3")
        .arg(count)
        .arg(count == 1 ? QString() : QStringLiteral("es"))
        .arg(prefix);
}

} // namespace zorva

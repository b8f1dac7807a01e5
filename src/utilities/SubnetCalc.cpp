#include "utilities/SubnetCalc.h"

#include <QLatin1Char>

namespace zorva::subnet {

namespace {

constexpr int kPow2[8] = {1, 2, 4, 8, 16, 32, 64, 128};

// The whole-number value of an octet box; -1 when it holds anything but 1 to 3 digits.
int octetValue(const QString& text) {
    if (text.isEmpty() || text.size() > 3) return -1;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
    return text.toInt();
}

QString joined(const Octets& octets, const QString& separator, QString (*each)(const QString&)) {
    QStringList parts;
    for (const QString& o : octets) parts << each(o);
    return parts.join(separator);
}

QString plain(const QString& o) { return o; }
QString bits(const QString& o) { return ToBinary8(octetValue(o)); }

} // namespace

bool IsValidMaskOctet(const QString& text) {
    switch (octetValue(text)) {
    case 0: case 128: case 192: case 224: case 240: case 248: case 252: case 254: case 255:
        return true;
    default:
        return false;
    }
}

QString ToBinary8(int value) {
    QString out;
    int sum = 0;
    for (int i = 7; i >= 0; --i) {
        if (value < sum + kPow2[i]) {
            out += QLatin1Char('0');
        } else {
            out += QLatin1Char('1');
            sum += kPow2[i];
        }
    }
    return out;
}

QString AndBinary(const QString& a, const QString& b) {
    QString out;
    for (int i = 0; i < a.size(); ++i) {
        if (a[i] == QLatin1Char('.')) {
            out += QLatin1Char('.');
            continue;
        }
        const bool one = a[i] == QLatin1Char('1') && i < b.size() && b[i] == QLatin1Char('1');
        out += QLatin1Char(one ? '1' : '0');
    }
    return out;
}

QString BinaryToDotted(const QString& bitsText) {
    QStringList out;
    for (const QString& group : bitsText.split(QLatin1Char('.'))) {
        int sum = 0;
        for (int i = 0; i < group.size() && i < 8; ++i)
            if (group[group.size() - 1 - i] == QLatin1Char('1')) sum += kPow2[i];
        out << QString::number(sum);
    }
    return out.join(QLatin1Char('.'));
}

AddressClass ClassOf(const QString& dotted) {
    const QStringList o = dotted.split(QLatin1Char('.'));
    const int o1 = o.value(0).toInt();
    const int o2 = o.value(1).toInt();
    if (o1 <= 127) {
        if (o1 == 10) return {QStringLiteral("A"), QStringLiteral("Reserved")};
        if (o1 == 127) return {QStringLiteral("Loopback"), QStringLiteral("Loopback")};
        return {QStringLiteral("A"), QStringLiteral("Public")};
    }
    if (o1 <= 191) {
        if (o1 == 172 && o2 >= 16 && o2 <= 31) return {QStringLiteral("B"), QStringLiteral("Reserved")};
        return {QStringLiteral("B"), QStringLiteral("Public")};
    }
    if (o1 <= 223) {
        if (o1 == 192 && o2 == 168) return {QStringLiteral("C"), QStringLiteral("Reserved")};
        return {QStringLiteral("C"), QStringLiteral("Public")};
    }
    if (o1 <= 239) return {QStringLiteral("D"), QStringLiteral("Multicast")};
    return {QStringLiteral("E"), QStringLiteral("Experemential")};
}

int PrefixLength(const QString& dottedMask) {
    int total = 0;
    for (const QString& o : dottedMask.split(QLatin1Char('.'))) {
        if (o == QLatin1String("255")) total += 8;
        else if (o == QLatin1String("128")) total += 1;
        else if (o == QLatin1String("192")) total += 2;
        else if (o == QLatin1String("224")) total += 3;
        else if (o == QLatin1String("240")) total += 4;
        else if (o == QLatin1String("248")) total += 5;
        else if (o == QLatin1String("252")) total += 6;
        else if (o == QLatin1String("254")) total += 7;
    }
    return total;
}

QString formatGrouped(qint64 value) {
    if (value == 0) return {};
    QString digits = QString::number(value < 0 ? -value : value);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString HostCount(const QString& maskBits) {
    int zeros = 0;
    for (QChar c : maskBits) zeros += c == QLatin1Char('0');
    return formatGrouped((qint64(1) << zeros) - 2);
}

int LeadingFullOctets(const QString& dottedMask) {
    int n = 0;
    for (const QString& o : dottedMask.split(QLatin1Char('.'))) {
        if (o != QLatin1String("255")) break;
        ++n;
    }
    return n;
}

int BlockSize(const Octets& mask) {
    for (const QString& o : mask) {
        const int v = octetValue(o);
        if (v >= 128 && v <= 254 && IsValidMaskOctet(o)) return 256 - v;
    }
    return 256;
}

QString columnGap(const QString& firstAddress) {
    return firstAddress.size() <= 9 ? QStringLiteral("\t\t\t") : QStringLiteral("\t\t");
}

QString firstColumn(const QString& line) { return line.section(QLatin1Char('\t'), 0, 0); }

QStringList ListSubnets(const QString& netIdWithPrefix, const QString& dottedMask, int blockSize) {
    const int n = LeadingFullOctets(dottedMask);
    const QStringList net = netIdWithPrefix.section(QLatin1Char('/'), 0, 0).split(QLatin1Char('.'));
    QString prefix;
    for (int i = 0; i < n && i < net.size(); ++i) prefix += net[i] + QLatin1Char('.');
    if (blockSize == 0) blockSize = 256;

    QStringList lines;
    auto add = [&lines](const QString& first, const QString& last) {
        lines << first + columnGap(first) + last;
    };
    if (blockSize == 256) {
        if (n >= 4) return lines;
        QStringList zeros, fulls;
        for (int i = n; i < 4; ++i) {
            zeros << QStringLiteral("0");
            fulls << QStringLiteral("255");
        }
        add(prefix + zeros.join(QLatin1Char('.')), prefix + fulls.join(QLatin1Char('.')));
        return lines;
    }
    // The partial octet sits right after the fixed prefix; the octets after it span 0..255.
    QString lowTail, highTail;
    for (int i = n + 1; i < 4; ++i) {
        lowTail += QStringLiteral(".0");
        highTail += QStringLiteral(".255");
    }
    for (int f = 0; f <= 255; f += blockSize)
        add(prefix + QString::number(f) + lowTail,
            prefix + QString::number(f + blockSize - 1) + highTail);
    return lines;
}

QString addressRangeMessage() {
    return QStringLiteral("Number must be between 0 - 255.\rPlease reenter number.");
}

QString maskMessage() {
    return QStringLiteral("Number for mask must be:\r0, 128, 192, 224, 240, 248, 252, 254, or 255\r"
                          "Please reenter number.");
}

Result calculate(const Octets& address, const Octets& mask) {
    Result r;
    bool allZero = true;
    for (int i = 0; i < 4; ++i) {
        const int v = octetValue(address[i]);
        if (v < 0 || v > 255) {
            r.refusal = Result::Refusal::AddressOctet;
            r.box = i;
            return r;
        }
        allZero = allZero && v == 0;
    }
    if (allZero) {
        r.refusal = Result::Refusal::EmptyAddress;
        return r;
    }
    for (int i = 0; i < 4; ++i) {
        if (!IsValidMaskOctet(mask[i])) {
            r.refusal = Result::Refusal::MaskOctet;
            r.box = i;
            return r;
        }
    }
    const QString maskText = joined(mask, QStringLiteral("."), plain);
    const QString addressBits = joined(address, QStringLiteral("."), bits);
    const QString maskBits = joined(mask, QStringLiteral("."), bits);
    const QString netId = BinaryToDotted(AndBinary(addressBits, maskBits));
    const AddressClass cls = ClassOf(netId);
    r.className = cls.name;
    r.addressType = cls.type;
    r.blockSize = BlockSize(mask);
    r.netId = netId + QLatin1Char('/') + QString::number(PrefixLength(maskText));
    r.hosts = HostCount(maskBits);
    r.lines = ListSubnets(r.netId, maskText, r.blockSize);
    r.selectedNetId = netId;
    return r;
}

} // namespace zorva::subnet

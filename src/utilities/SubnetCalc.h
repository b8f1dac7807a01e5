#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace zorva {

// Subnet arithmetic of the subnet calculator. It works the way the calculator always has: each
// octet becomes eight "0"/"1" characters, the mask is applied character by character and the
// result is read back as decimal text. Masks are taken octet by octet, so a mask whose one bits
// are not contiguous (255.0.255.0) is computed as typed.
namespace subnet {

using Octets = std::array<QString, 4>;

// A mask octet must be one of 0, 128, 192, 224, 240, 248, 252, 254, 255.
bool IsValidMaskOctet(const QString& text);
// Eight characters, most significant first.
QString ToBinary8(int value);
// Character-wise product of two bit texts; "." is copied.
QString AndBinary(const QString& a, const QString& b);
// "11000000.10101000..." -> "192.168...".
QString BinaryToDotted(const QString& bits);

struct AddressClass {
    QString name; // "A", "B", "C", "D", "E" or "Loopback"
    QString type; // "Public", "Reserved", "Loopback", "Multicast", "Experemential"
};
AddressClass ClassOf(const QString& dotted);

int PrefixLength(const QString& dottedMask);
// 2^(zero bits) - 2 in the "###,###,###,###" format: zero shows nothing, -1 shows "-1".
QString HostCount(const QString& maskBits);
// "###,###,###,###": digits grouped by commas, zero gives the empty text.
QString formatGrouped(qint64 value);
int LeadingFullOctets(const QString& dottedMask);
// 256 minus the first partial mask octet from the left; 256 when there is none.
int BlockSize(const Octets& mask);

// The separator between the two columns of a subnet line: three tabs after a first address of
// at most 9 characters, two after a longer one, so that the second column lines up.
QString columnGap(const QString& firstAddress);
// The subnet lines ("first" gap "last") that the mask cuts from the surrounding block.
QStringList ListSubnets(const QString& netIdWithPrefix, const QString& dottedMask, int blockSize);
// The first column of a subnet line.
QString firstColumn(const QString& line);

struct Result {
    enum class Refusal { None, EmptyAddress, AddressOctet, MaskOctet };
    Refusal refusal = Refusal::None;
    int box = 0; // the box that caused a refusal
    QString netId; // "192.168.1.0/24"
    QString className;
    QString addressType;
    QString hosts;
    int blockSize = 256;
    QStringList lines;
    QString selectedNetId; // netId before "/"
};

// The whole "Calculate": refusals first (an address of all zeros, an address octet that is not
// a number from 0 to 255, a mask octet that is not allowed), then every result.
Result calculate(const Octets& address, const Octets& mask);

// Message texts of the calculator.
QString addressRangeMessage();
QString maskMessage();

} // namespace subnet
} // namespace zorva

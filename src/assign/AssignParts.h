#pragma once
// The address and host-name pieces of the assignment form that the plan walk does not give:
// the equipment entries, the sequence code, and the sequence number of a candidate.
#include <QString>

namespace zorva {

// The fixed last entry of the equipment list: a /24 laid out in /30 subnets.
inline const QString kSubnetEntry = QStringLiteral("Subnet Mask 252");
// "IP Range 20 to 40": the single equipment entry of a segmented city with its own range.
QString cityRangeEntry(int start, int end);
bool isCityRangeEntry(const QString& entry); // contains "IP Range "
// "Subnet Mask 252" or a city range: the host name starts with "NW" and the sequence number
// is the fourth octet itself.
bool isNetworkEntry(const QString& entry);

// The two-character code of a sequence number: "01".."99", then a digit and a letter per ten
// ("0A" for 100 ... "9P" for 249, the letter O left out), "0Q".."4Q" for 250..254, and the same
// rule on past 254 ("5Q" for 255, "6Q" for 256).
QString sequenceCode(int n);

// The sequence number of a candidate of an ordinary equipment range: its place in the range
// counted from 1, or 1 when the range had no recorded row before it (last == 0).
int equipmentSequence(int candidate, int last, int equipmentStart);

// "a.b.c.d" from the four octets (the form's address preview).
QString addressText(int octet1, int octet2, int octet3, int octet4);

// What the status bar says after a save: "Address 10.1.2.3 saved", then, in a batch,
// "3 addresses saved (the last 10.1.2.5)".
QString savedText(int count, const QString& lastAddress);
// After the rows of a subnet layout: "64 subnet addresses saved in 10.1.2." (none: empty).
QString subnetSavedText(int count, const QString& prefix);

} // namespace zorva

#pragma once
// Finding a free fourth octet: the range in force, the listing of what is recorded in it, and
// the candidate computed from the sorted fourth octets of that listing.
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>

namespace zorva {

struct OctetRange {
    int start = 0;
    int end = 0;
    int size() const { return end - start + 1; } // jumRange
};

// One row of the range listing (the grid of the "IP Address List" tab).
struct ListedAddress {
    QString address;
    QString name;
    QString type;
    QString project;
    QString remarks;
    int ip4 = 0;
};

// The listing query with its three bound values (prefix + "%", start, end), ordered by IP_4.
QString rangeListingSql();
// The rows of prefix (three octets and the full stop) recorded within range, by IP_4. nullopt
// and the driver's text on failure.
std::optional<QList<ListedAddress>> listRange(QSqlDatabase db, const QString& prefix,
                                              OctetRange range, QString* error = nullptr);
QList<int> fourthOctets(const QList<ListedAddress>& rows);

// What the candidate search gives.
struct Candidate {
    bool full = false; // every octet of the range is recorded
    int octet4 = 0;
    // The number the sequence rule starts from: the last recorded octet when the candidate
    // follows it, one below a gap, 0 when the range was empty.
    int last = 0;
};
// The next octet after the highest recorded one when that is below the range end; else the
// lowest gap from the range start; the range start when nothing is recorded; full when no
// octet is left. sortedIp4 holds the recorded octets within the range, ascending.
Candidate findCandidate(OctetRange range, const QList<int>& sortedIp4);

// The appendix of lblJumlah: "   (Not Use : 40, IP Range 1 to 50)".
QString rangeCountsText(OctetRange range, int recorded);

// The echo check of a candidate: true when the address answered (up to four echoes, time-to-
// live 20, 200 ms each, through the program's replaceable pinger).
bool addressAnswers(const QString& address);

} // namespace zorva

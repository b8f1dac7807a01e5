#include "assign/FreeAddress.h"
#include "net/Ping.h"
#include "platform/Database.h"

namespace zorva {

QString rangeListingSql() {
    return QStringLiteral("Select IP_Address,Name,Type,Project,Remarks,IP_4 from IP_Info "
                          "where IP_Address Like ? And (IP_4 >= ? And IP_4 <= ?) "
                          "Order By IP_4 ASC");
}

std::optional<QList<ListedAddress>> listRange(QSqlDatabase db, const QString& prefix,
                                              OctetRange range, QString* error) {
    auto q = runSqlOn(db, rangeListingSql(),
                      {QString(prefix + QLatin1Char('%')), range.start, range.end}, error);
    if (!q) return std::nullopt;
    QList<ListedAddress> rows;
    while (q->next()) {
        rows.append({q->value(0).toString(), q->value(1).toString(), q->value(2).toString(),
                     q->value(3).toString(), q->value(4).toString(), q->value(5).toInt()});
    }
    return rows;
}

QList<int> fourthOctets(const QList<ListedAddress>& rows) {
    QList<int> out;
    out.reserve(rows.size());
    for (const ListedAddress& r : rows) out.append(r.ip4);
    return out;
}

Candidate findCandidate(OctetRange range, const QList<int>& sortedIp4) {
    if (sortedIp4.isEmpty()) return {false, range.start, 0};
    const int last = sortedIp4.last();
    if (last < range.end) return {false, last + 1, last};
    // Gap walk from the bottom. A value seen twice (an older file without the unique address
    // index) is passed over rather than taken for a gap.
    int v = range.start;
    for (int ip4 : sortedIp4) {
        if (ip4 < v) continue;
        if (ip4 != v) return {false, v, v - 1};
        ++v;
        if (v > range.end) break;
    }
    if (v <= range.end) return {false, v, v - 1};
    return {true, 0, 0};
}

QString rangeCountsText(OctetRange range, int recorded) {
    return QStringLiteral("   (Not Use : %1, IP Range %2 to %3)")
        .arg(range.size() - recorded)
        .arg(range.start)
        .arg(range.end);
}

bool addressAnswers(const QString& address) {
    Pinger& p = pinger();
    p.setPingAddress(address);
    return p.probeWithRule(ProbeRule{}).succeeded();
}

} // namespace zorva

#include "assign/SubnetLayout.h"
#include "platform/Database.h"

#include <QDate>

namespace zorva {

QList<SubnetRow> subnetLayoutRows(const QString& entry, const QString& prefix) {
    static const QLatin1String head("Subnet Mask ");
    QList<SubnetRow> rows;
    if (!entry.startsWith(head)) return rows;
    int block = 0;
    switch (entry.mid(head.size()).toInt()) {
    case 128: block = 128; break;
    case 192: block = 64; break;
    case 224: block = 32; break;
    case 240: block = 16; break;
    case 248: block = 8; break;
    case 252: block = 4; break;
    default: return rows;
    }
    for (int network = 0; network < 256; network += block) {
        const int broadcast = network + block - 1;
        rows.append({prefix + QString::number(network), network, QStringLiteral("NetworkIP"),
                     QStringLiteral("Network IP")});
        rows.append({prefix + QString::number(broadcast), broadcast,
                     QStringLiteral("BroadcastIP"), QStringLiteral("Broadcast IP")});
    }
    return rows;
}

int createSubnetRows(QSqlDatabase db, const QString& entry, const QString& prefix,
                     const SubnetPlace& place, QString* error) {
    const QList<SubnetRow> rows = subnetLayoutRows(entry, prefix);
    if (rows.isEmpty()) return 0;
    Transaction t(db);
    // Should another copy lay out the same block meanwhile, the unique address index refuses
    // these rows and the transaction leaves none of them.
    auto used = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_Info WHERE IP_Address Like ?"),
                         {QString(prefix + QLatin1Char('%'))}, error);
    if (!used || !used->next()) return -1;
    if (used->value(0).toLongLong() > 0) return 0;
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    const QString sql = QStringLiteral(
        "INSERT INTO IP_Info (IP_Address, IP_4, Remarks, [Name], [Type], Region, Workgroup, "
        "Status, StateOwner, CityOwner, DateIssue, InputBy) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
    for (const SubnetRow& r : rows) {
        const QVariant state = place.stateOwner.isNull() ? QVariant() : QVariant(place.stateOwner);
        if (!runSqlOn(db, sql,
                      {r.address, r.ip4, r.remarks, r.name, entry, place.region, place.workgroup,
                       QStringLiteral("Permanent"), state, place.cityOwner, today, place.inputBy},
                      error))
            return -1;
    }
    if (!t.commit()) {
        if (error) *error = QStringLiteral("The subnet rows could not be committed.");
        return -1;
    }
    return int(rows.size());
}

} // namespace zorva

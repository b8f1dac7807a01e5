#pragma once
// The network and broadcast rows that reserve a /24 cut into equal subnets.
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace zorva {

struct SubnetRow {
    QString address;
    int ip4 = 0;
    QString name;    // "NetworkIP" or "BroadcastIP"
    QString remarks; // "Network IP" or "Broadcast IP"
};

// The rows for an entry "Subnet Mask 128" ... "Subnet Mask 252": per subnet in ascending order,
// its network row then its broadcast row. Any other entry (a city range) gives none.
QList<SubnetRow> subnetLayoutRows(const QString& entry, const QString& prefix);

// Where the rows are filed and who writes them.
struct SubnetPlace {
    QString region;
    QString workgroup;
    QString stateOwner; // null when the area has no states: the column is left unwritten
    QString cityOwner;
    QString inputBy;
};

// Records the layout of entry in the /24 of prefix, in one transaction, when that block has no
// row yet. Returns the number of rows written (0 when the block was in use or the entry lays
// out nothing); -1 on a database error (nothing written), with the driver's text.
int createSubnetRows(QSqlDatabase db, const QString& entry, const QString& prefix,
                     const SubnetPlace& place, QString* error = nullptr);

} // namespace zorva

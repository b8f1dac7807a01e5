#pragma once
// The hardware addresses the kernel learnt of its neighbours (/proc/net/arp): read from the
// file, so that no process is started. Only complete entries count.
#include <QHash>
#include <QString>

namespace zorva {

// Address -> hardware address (upper case, colons) of the table's text.
QHash<QString, QString> parseNeighbourTable(const QString& text);
QHash<QString, QString> readNeighbourTable(const QString& path = QStringLiteral("/proc/net/arp"));

} // namespace zorva

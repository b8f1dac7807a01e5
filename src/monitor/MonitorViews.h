#pragma once
// What the monitor's sightings say about the inventory, each as rows for a sortable grid (and
// the report renderer). An area user ("Kawasan") passes the own area: records by their Region,
// addresses without a record by the area's octet 1. An empty area means every address.
#include <QList>
#include <QSqlDatabase>
#include <QStringList>
#include <QVariantList>
#include <optional>

namespace zorva {

struct MonitorTable {
    QStringList columns;
    QList<QVariantList> rows;
};

// Addresses that answered in their last sweep but have no record.
std::optional<MonitorTable> liveUnrecorded(QSqlDatabase db, const QString& area, QString* error = nullptr);
// Recorded, watched addresses last seen more than `days` days ago (with their reclaim mark).
std::optional<MonitorTable> recordedNotSeen(QSqlDatabase db, int days, const QString& area, QString* error = nullptr);
// Recorded, watched addresses that never answered.
std::optional<MonitorTable> recordedNeverSeen(QSqlDatabase db, const QString& area, QString* error = nullptr);
// Records whose host name differs from the address's DNS name (first label, case ignored).
std::optional<MonitorTable> nameMismatches(QSqlDatabase db, const QString& area, QString* error = nullptr);
// Hardware addresses seen under several addresses, and addresses whose hardware changed.
std::optional<MonitorTable> hardwareAnomalies(QSqlDatabase db, const QString& area, QString* error = nullptr);
// The changes of the last completed sweep of a watch (of any watch when empty).
std::optional<MonitorTable> lastSweepChanges(QSqlDatabase db, const QString& watch, const QString& area,
                                             QString* error = nullptr);

// The first label of a host name ("pc01.example.org" -> "pc01").
QString firstLabel(const QString& name);

} // namespace zorva

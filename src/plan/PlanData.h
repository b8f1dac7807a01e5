#pragma once
#include "plan/PlanQueries.h"

#include <QString>
#include <QVariant>

class QComboBox;
class QWidget;

namespace zorva {

class RecordCycle;

// Fills an area box. An area user (group "Kawasan") gets only the own area, shown as chosen
// (its choice runs the box's handler); everyone else gets the areas of the Region table in
// name order, none chosen.
void fillAreaBox(QWidget* parent, QComboBox* box, AreaKind kind);

// Replaces the items of a box without running its handler; none chosen, or the only item
// when chooseSingle is set and there is exactly one (that choice runs the handler).
void fillBox(QComboBox* box, const QStringList& items, bool chooseSingle = false);

// The rowid a duplicate check must not count: the row being changed (none for a new row).
QVariant selfKey(const RecordCycle* cycle);

// The text of the preview of an address prefix: each part, or "xxx" while it is unknown,
// then ".xxx" for the fourth octet.
QString prefixPreview(const QString& octet1, const QString& octet2, const QString& octet3);

} // namespace zorva

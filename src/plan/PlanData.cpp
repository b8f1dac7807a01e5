#include "plan/PlanData.h"
#include "platform/RecordCycle.h"
#include "platform/Session.h"

#include <QComboBox>

namespace zorva {

void fillBox(QComboBox* box, const QStringList& items, bool chooseSingle) {
    {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
    }
    if (chooseSingle && items.size() == 1) box->setCurrentIndex(0);
}

void fillAreaBox(QWidget* parent, QComboBox* box, AreaKind kind) {
    if (session().isAreaUser()) {
        fillBox(box, {session().userArea()}, true);
        return;
    }
    fillBox(box, PlanQueries(parent).areaNames(kind));
}

QVariant selfKey(const RecordCycle* cycle) {
    return cycle->isNewRecord() ? QVariant(-1) : cycle->currentKey();
}

QString prefixPreview(const QString& octet1, const QString& octet2, const QString& octet3) {
    auto part = [](const QString& p) { return p.isEmpty() ? QStringLiteral("xxx") : p; };
    return part(octet1) + QLatin1Char('.') + part(octet2) + QLatin1Char('.') + part(octet3) +
           QStringLiteral(".xxx");
}

} // namespace zorva

#include "monitor/MonitorReport.h"
#include "monitor/MonitorStore.h"
#include "records/ReportCommon.h"

#include <QRegularExpression>

namespace zorva {

QString monitorCellText(const QVariant& value) {
    static const QRegularExpression stored(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$"));
    const QString text = value.toString();
    if (!stored.match(text).hasMatch()) return text;
    const QDateTime at = monitor::timeFrom(text);
    return at.isValid() ? at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : text;
}

QVariant monitorSortKey(const QVariant& value) {
    const QString text = value.toString();
    if (const auto n = addressNumber(text); n && text.count(QLatin1Char('.')) == 3) return qint64(*n);
    bool number = false;
    const qint64 v = text.toLongLong(&number);
    if (number) return v;
    return text.toLower();
}

report::Report monitorReport(const QString& title, const QString& scope, const MonitorTable& table) {
    using namespace report;
    Report r = newReport(QStringLiteral("rptMonitor"), QStringLiteral("ZorvaMon : ") + title, 62);
    addTitle(r, QStringLiteral("lblTitle"), title);
    addHeaderField(r, QStringLiteral("Scope :"), QStringLiteral("lblScope"), scope, 0, 32, 60, 440);
    addHeaderField(r, QStringLiteral("Addresses :"), QStringLiteral("lblCount"), formatCount(table.rows.size()), 0, 46, 60);
    const int n = int(table.columns.size());
    const double width = n > 0 ? r.designWidth / n : r.designWidth;
    for (int i = 0; i < n; ++i) {
        const QString at = QString::number(i);
        r.pageHeader.elements << label(QStringLiteral("lblHead") + at, table.columns[i], i * width, 4, width - 4, 8.5, true);
        Element e = label(QStringLiteral("txtField") + at, QString(), i * width, 1, width - 4, 8);
        e.field = i;
        e.maxLines = 3;
        r.detail.elements << e;
        r.columns << std::pair{QStringLiteral("lblHead") + at, QStringLiteral("txtField") + at};
    }
    finishLayout(r);
    r.fields = table.columns;
    for (const QVariantList& row : table.rows) {
        QStringList cells;
        for (const QVariant& v : row) cells << monitorCellText(v);
        r.rows.push_back(cells);
    }
    return r;
}

} // namespace zorva

#pragma once
#include "records/report/Report.h"

#include <QDate>
#include <optional>

class QWidget;

namespace zorva {

// The condition on DateIssue (stored "yyyy-MM-dd") for the days from start to end, both
// included, whatever time of day a stored value may carry.
QString dateRangeCondition();
QVariantList dateRangeValues(const QDate& start, const QDate& end);

// How many records the range holds; nullopt when the query failed (shown over parent).
std::optional<qint64> countDateRecords(QWidget* parent, const QDate& start, const QDate& end);
// The records of the range in date order.
std::optional<std::vector<QStringList>> dateRecords(QWidget* parent, const QDate& start,
                                                    const QDate& end);

// The report of those records, captioned "Zorva : Report by Date"; the dates as the pickers
// show them.
report::Report rptByDate(const QString& startText, const QString& endText,
                         std::vector<QStringList> rows);

} // namespace zorva

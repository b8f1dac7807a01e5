#pragma once
#include "records/report/Report.h"

#include <QVariantList>
#include <optional>

class QWidget;

namespace zorva {

// The columns of IP_Info that the reports can show, in the order their rows hold them.
const QStringList& reportFields();
// The reportFields() of the IP_Info records that match `where` (bound values), in `order`;
// of the fields `needed` only (the others stay empty) when that list is not empty.
// nullopt when the query failed (the failure was shown over parent).
std::optional<std::vector<QStringList>> readReportRecords(QWidget* parent, const QString& where,
                                                          const QVariantList& values,
                                                          const QString& order,
                                                          const QStringList& needed = {});
// A count formatted "#,###,##0": 1234 as "1,234", none as "0".
QString formatCount(qint64 count);

namespace report {

// Builders of the report bands, in points.
Element label(const QString& name, const QString& text, double x, double y, double width,
              double fontSize = 9, bool bold = false);
// The report header's centred title line.
void addTitle(Report& r, const QString& name, const QString& text);
// A caption ("Area :") and its value element (lblArea) on one line of the report header.
void addHeaderField(Report& r, const QString& caption, const QString& name, const QString& value,
                    double x, double y, double captionWidth = 80, double valueWidth = 170);
// A detail field of one column of reportFields(), wrapping over at most three lines.
Element detailField(const QString& name, const QString& field, double x, double width);
// A column of the page header (bold heading) and of the detail band at the same place.
struct Column {
    const char* headerName;
    const char* heading;
    const char* detailName;
    const char* field;
    double x;
    double width;
};
void addColumns(Report& r, std::initializer_list<Column> columns);
// An empty report of that name and caption, 510 points wide, with a report header of that
// height.
Report newReport(const QString& name, const QString& caption, double headerHeight);
// The page header's rule, the page footer ("This report was generate by Zorva system.", the
// printing date and time, "Page : %p/%P"), the empty report footer, and the report's fields.
void finishLayout(Report& r);
// Points the detail element at another column of reportFields().
void bindField(Report& r, const QString& detailName, const QString& field);

} // namespace report
} // namespace zorva

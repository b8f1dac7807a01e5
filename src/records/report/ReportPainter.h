#pragma once
#include "records/report/ReportLayout.h"

#include <QImage>
#include <QPageLayout>

class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace zorva::report {

// Paints page `index` (from 0) of a layout. The painter's unit is the point and its origin the
// top left of the printable area.
void paintPage(QPainter& p, const Report& r, const Layout& layout, int index,
               const TextMeasure& m);

// The page a report is saved on: A4 portrait with 15 mm margins.
QPageLayout reportPageLayout();

// Lays the report out for the device's printable area and paints pages `from` to `to`
// (counted from 1; 0 for the first or the last page), a new page between two. False, with a
// reason, when the device cannot be painted on.
bool paintReport(const Report& r, QPagedPaintDevice& device, QString* error = nullptr,
                 int from = 0, int to = 0);
// The same on a printer, within the page range chosen in its dialog.
bool printReport(const Report& r, QPrinter& printer, QString* error = nullptr);
// Writes the report as a PDF file on reportPageLayout(). The file is replaced only when the
// whole document was written. Returns the page count, or 0 with a reason.
int writePdf(const Report& r, const QString& path, QString* error = nullptr);
// One page as a picture (white background) of a printable area in points.
QImage renderPage(const Report& r, int index, const QSizeF& area, double dpi = 96);

} // namespace zorva::report

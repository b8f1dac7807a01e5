#pragma once
#include "records/report/Report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QSizeF>
#include <unordered_map>

namespace zorva::report {

// Measures texts the same way for the layout and for every paint device: in points, on a
// reference surface of 72 dots per inch, so that a report breaks its lines and pages alike on
// screen, paper and PDF.
class TextMeasure {
public:
    TextMeasure();
    // The element's font in points (on a device of other resolution, scale the point size by
    // 72 / dpi under a painter scaled by dpi / 72).
    static QFont font(const Element& e);
    double lineHeight(const Element& e) const;
    // The lines an element shows within `width` points: one elided line, or up to maxLines
    // wrapped lines with the last one elided.
    QStringList lines(const QString& text, const Element& e, double width) const;

private:
    const QFontMetricsF& metrics(const Element& e) const;
    QImage reference_;
    mutable std::unordered_map<int, QFontMetricsF> metrics_;
};

struct Page {
    qsizetype firstRow = 0;
    qsizetype endRow = 0; // one past the last row
    bool reportHeader = false;
    bool reportFooter = false;
};

// Where every band goes, without painting: row heights, the rows of each page, the page count.
struct Layout {
    QSizeF area;       // printable area of a page, points
    double scaleX = 1; // area width / design width
    std::vector<float> rowHeights;
    std::vector<Page> pages;
    int pageCount() const { return int(pages.size()); }
    // Top of a page's first row (below the report header on page 1 and the page header).
    double detailTop(const Report& r, const Page& page) const;
};

// Space kept between a column's text and the next column.
inline constexpr double kGutter = 2.0;

// The width, in points, of an element on a page of that layout.
double elementWidth(const Element& e, double scaleX);
// Height of one record's detail band, grown to its tallest wrapped element.
double detailHeight(const Report& r, qsizetype row, double scaleX, const TextMeasure& m);
// Lays the report out on pages of that printable area. A row is never cut: a row that does
// not fit goes whole to the next page; every page shows at least one row while rows remain.
Layout layoutReport(const Report& r, const QSizeF& area, const TextMeasure& m);

} // namespace zorva::report

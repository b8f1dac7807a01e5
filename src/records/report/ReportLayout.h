#pragma once
#include "records/report/Report.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRawFont>
#include <QSizeF>
#include <array>
#include <unordered_map>

namespace zorva::report {

// Measures texts the same way for the layout and for every paint device: in points, on a
// reference surface of 72 dots per inch, so that a report breaks its lines and pages alike on
// screen, paper and PDF.
class TextMeasure {
public:
    TextMeasure();
    // The element's font in points (on a device of other resolution, scale the point size by
    // 72 / dpi under a painter scaled by dpi / 72). Kerning is off, so that a Latin text is as
    // wide as the sum of its characters.
    static QFont font(const Element& e);
    const QFontMetricsF& metrics(const Element& e) const;
    double lineHeight(const Element& e) const;
    // Width of a text in points.
    double width(const QString& text, const Element& e) const;
    // The lines an element shows within `width` points: one elided line, or up to maxLines
    // wrapped lines with the last one elided.
    QStringList lines(const QString& text, const Element& e, double width) const;
    // How many lines that is, without building them when the text fits on one.
    int lineCount(const QString& text, const Element& e, double width) const;

    // Font data of one element style: the reference metrics and, for the letters below
    // U+0300, the glyph (0: not in the font) and advance of the raw font at the point size.
    struct Style {
        QFontMetricsF metrics;
        QRawFont raw;
        std::array<quint32, 0x300> glyph{};
        std::array<float, 0x300> advance{};
        quint32 ellipsisGlyph = 0; // U+2026, which ends an elided text
        float ellipsisAdvance = 0;
        quint32 glyphOf(QChar c) const {
            return c.unicode() < glyph.size() ? glyph[c.unicode()]
                                              : c.unicode() == 0x2026 ? ellipsisGlyph : 0;
        }
        float advanceOf(QChar c) const {
            return c.unicode() < advance.size() ? advance[c.unicode()] : ellipsisAdvance;
        }
        // True when every letter of text has its glyph here, so that the text is as wide as
        // the sum of its advances and can be drawn without shaping.
        bool plain(const QString& text) const;
    };
    const Style& style(const Element& e) const;

private:
    QStringList wrapLatin(const QString& text, const Style& s, int maxLines, double width) const;
    QStringList wrapShaped(const QString& text, const Element& e, double width) const;
    QImage reference_;
    mutable std::unordered_map<int, Style> styles_;
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

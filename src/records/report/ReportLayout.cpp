#include "records/report/ReportLayout.h"

#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace zorva::report {

namespace {

constexpr double kPointsPerMetre = 72.0 / 0.0254;

// Line breaks inside a value become the layout's forced breaks (wrapped) or blanks (one line).
QString normalisedBreaks(QString text, bool wrapped) {
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), wrapped ? QChar(QChar::LineSeparator) : QChar(' '));
    return text;
}

} // namespace

TextMeasure::TextMeasure() : reference_(1, 1, QImage::Format_ARGB32) {
    reference_.setDotsPerMeterX(int(std::lround(kPointsPerMetre)));
    reference_.setDotsPerMeterY(int(std::lround(kPointsPerMetre)));
}

QFont TextMeasure::font(const Element& e) {
    QFont f;
    f.setStyleHint(QFont::SansSerif);
    f.setFamily(QStringLiteral("Sans Serif"));
    f.setPointSizeF(e.fontSize);
    f.setBold(e.bold);
    f.setKerning(false);
    // Unhinted advances are the same at every resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const TextMeasure::Style& TextMeasure::style(const Element& e) const {
    const int key = int(std::lround(e.fontSize * 10)) * 2 + (e.bold ? 1 : 0);
    auto it = styles_.find(key);
    if (it == styles_.end()) {
        const QFont f = font(e);
        Style s{QFontMetricsF(f, &reference_), QRawFont::fromFont(f)};
        s.raw.setPixelSize(e.fontSize); // one pixel per point
        for (char16_t u = 0x20; u < s.glyph.size(); ++u) {
            const QList<quint32> g = s.raw.glyphIndexesForString(QString(QChar(u)));
            s.glyph[u] = g.size() == 1 ? g[0] : 0;
            s.advance[u] = s.glyph[u] ? float(s.raw.advancesForGlyphIndexes(g).value(0).x())
                                      : float(s.metrics.horizontalAdvance(QChar(u)));
        }
        const QList<quint32> e = s.raw.glyphIndexesForString(QString(QChar(0x2026)));
        s.ellipsisGlyph = e.size() == 1 ? e[0] : 0;
        s.ellipsisAdvance = s.ellipsisGlyph
                                ? float(s.raw.advancesForGlyphIndexes(e).value(0).x())
                                : float(s.metrics.horizontalAdvance(QChar(0x2026)));
        it = styles_.emplace(key, std::move(s)).first;
    }
    return it->second;
}

bool TextMeasure::Style::plain(const QString& text) const {
    return std::all_of(text.begin(), text.end(), [this](QChar c) {
        return c == QChar(QChar::LineSeparator) || glyphOf(c);
    });
}

const QFontMetricsF& TextMeasure::metrics(const Element& e) const { return style(e).metrics; }

double TextMeasure::lineHeight(const Element& e) const {
    return std::max(e.rect.height(), metrics(e).lineSpacing());
}

double TextMeasure::width(const QString& text, const Element& e) const {
    const Style& s = style(e);
    if (!s.plain(text)) return s.metrics.horizontalAdvance(text);
    double w = 0;
    for (QChar c : text) w += s.advanceOf(c);
    return w;
}

int TextMeasure::lineCount(const QString& text, const Element& e, double width) const {
    if (e.maxLines <= 1) return 1;
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
        this->width(text, e) <= width)
        return 1;
    return int(lines(text, e, width).size());
}

QStringList TextMeasure::lines(const QString& raw, const Element& e, double width) const {
    const bool wrapped = e.maxLines > 1;
    const QString text = normalisedBreaks(raw, wrapped);
    if (!text.contains(QChar(QChar::LineSeparator)) && this->width(text, e) <= width) return {text};
    const Style& s = style(e);
    if (!s.plain(text)) {
        if (!wrapped) return {s.metrics.elidedText(text, Qt::ElideRight, width)};
        return wrapShaped(text, e, width);
    }
    return wrapLatin(text, s, wrapped ? e.maxLines : 1, width);
}

// Greedy wrap at blanks (a word wider than the line is broken anywhere), measured by the sum
// of the letters' advances; the last line allowed takes the rest, elided.
QStringList TextMeasure::wrapLatin(const QString& text, const Style& s, int maxLines,
                                   double width) const {
    const QChar separator(QChar::LineSeparator);
    auto advance = [&s](QChar c) {
        return c == QChar(QChar::LineSeparator) ? 0.f : s.advanceOf(c);
    };
    auto elide = [&](QString rest) {
        rest.replace(separator, QChar(' '));
        rest = rest.trimmed();
        double w = 0;
        for (QChar c : rest) w += advance(c);
        if (w <= width) return rest;
        const double room = width - s.ellipsisAdvance;
        w = 0;
        qsizetype keep = 0;
        while (keep < rest.size() && w + advance(rest[keep]) <= room) w += advance(rest[keep++]);
        return rest.left(keep) + QChar(0x2026);
    };
    QStringList out;
    const qsizetype n = text.size();
    qsizetype pos = 0;
    while (pos < n) {
        if (out.size() == maxLines - 1) {
            out << elide(text.mid(pos));
            break;
        }
        double w = 0;
        qsizetype i = pos, lastBlank = -1;
        for (; i < n && text[i] != separator; ++i) {
            const double a = advance(text[i]);
            if (w + a > width && text[i] != QLatin1Char(' ')) break;
            w += a;
            if (text[i] == QLatin1Char(' ')) lastBlank = i;
        }
        qsizetype end = i, next = i;
        if (i < n && text[i] == separator) {
            next = i + 1;
        } else if (i < n && lastBlank > pos) {
            end = lastBlank;
            next = lastBlank + 1;
        } else if (i == pos) {
            end = next = pos + 1; // not even one letter fits: show it anyway
        }
        QString line = text.mid(pos, end - pos);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        out << line;
        pos = next;
        while (pos < n && text[pos] == QLatin1Char(' ')) ++pos;
    }
    if (out.isEmpty()) out << QString();
    return out;
}

// Scripts that need shaping (accents as marks, joined letters) wrap through the text layout.
QStringList TextMeasure::wrapShaped(const QString& text, const Element& e, double width) const {
    const QFontMetricsF& fm = metrics(e);
    QTextLayout layout(text, font(e), &reference_);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList out;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const qsizetype start = line.textStart();
        if (out.size() == e.maxLines - 1) {
            // The last line allowed: whatever is left, elided.
            QString rest = text.mid(start);
            rest.replace(QChar(QChar::LineSeparator), QChar(' '));
            out << fm.elidedText(rest.trimmed(), Qt::ElideRight, width);
            break;
        }
        QString part = text.mid(start, line.textLength());
        part.remove(QChar(QChar::LineSeparator));
        while (part.endsWith(QLatin1Char(' '))) part.chop(1);
        out << part;
    }
    layout.endLayout();
    if (out.isEmpty()) out << QString();
    return out;
}

double Layout::detailTop(const Report& r, const Page& page) const {
    return (page.reportHeader ? r.reportHeader.height : 0) + r.pageHeader.height;
}

double elementWidth(const Element& e, double scaleX) {
    return std::max(1.0, e.rect.width() * scaleX - kGutter);
}

double detailHeight(const Report& r, qsizetype row, double scaleX, const TextMeasure& m) {
    double height = r.detail.height;
    for (const Element& e : r.detail.elements) {
        if (!e.visible || e.maxLines <= 1) continue;
        const int n = m.lineCount(r.valueOf(e, row), e, elementWidth(e, scaleX));
        height = std::max(height, e.rect.y() + double(n) * m.lineHeight(e));
    }
    return height;
}

Layout layoutReport(const Report& r, const QSizeF& area, const TextMeasure& m) {
    Layout out;
    out.area = area;
    out.scaleX = r.designWidth > 0 ? area.width() / r.designWidth : 1.0;
    const qsizetype count = qsizetype(r.rows.size());
    out.rowHeights.reserve(size_t(count));
    const double bottom = area.height() - r.pageFooter.height;

    Page page;
    page.reportHeader = true;
    double y = out.detailTop(r, page);
    auto nextPage = [&](qsizetype row) {
        out.pages.push_back(page);
        page = Page{row, row, false, false};
        y = out.detailTop(r, page);
    };
    for (qsizetype row = 0; row < count; ++row) {
        const double h = detailHeight(r, row, out.scaleX, m);
        out.rowHeights.push_back(float(h));
        if (y + h > bottom && page.endRow > page.firstRow) nextPage(row);
        page.endRow = row + 1;
        y += h;
    }
    if (y + r.reportFooter.height > bottom && (page.endRow > page.firstRow || page.reportHeader))
        nextPage(count);
    page.reportFooter = true;
    out.pages.push_back(page);
    return out;
}

} // namespace zorva::report

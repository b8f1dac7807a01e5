#include "records/report/ReportLayout.h"

#include <QTextLayout>
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
    // Unhinted advances are the same at every resolution.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QFontMetricsF& TextMeasure::metrics(const Element& e) const {
    const int key = int(std::lround(e.fontSize * 10)) * 2 + (e.bold ? 1 : 0);
    auto it = metrics_.find(key);
    if (it == metrics_.end()) it = metrics_.emplace(key, QFontMetricsF(font(e), &reference_)).first;
    return it->second;
}

double TextMeasure::lineHeight(const Element& e) const {
    return std::max(e.rect.height(), metrics(e).lineSpacing());
}

QStringList TextMeasure::lines(const QString& raw, const Element& e, double width) const {
    const QFontMetricsF& fm = metrics(e);
    const bool wrapped = e.maxLines > 1;
    const QString text = normalisedBreaks(raw, wrapped);
    if (!text.contains(QChar(QChar::LineSeparator)) && fm.horizontalAdvance(text) <= width)
        return {text};
    if (!wrapped) return {fm.elidedText(text, Qt::ElideRight, width)};

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
        const qsizetype n = m.lines(r.valueOf(e, row), e, elementWidth(e, scaleX)).size();
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

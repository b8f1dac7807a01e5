#include "records/report/ReportPainter.h"

#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <cmath>
#include <unordered_map>

namespace zorva::report {

namespace {

// Paints the bands of one page. Texts whose letters the font holds are gathered per style and
// drawn as one glyph run per page: no shaping, and one text object per style in a PDF, which
// makes a long report many times faster. Other texts are drawn one by one, shaped, with the
// fonts made once per device resolution.
class PagePainter {
public:
    PagePainter(QPainter& p, const Report& r, const Layout& l, const TextMeasure& m)
        : p_(p), r_(r), l_(l), m_(m) {
        const int dpi = p.device() ? p.device()->logicalDpiY() : 72;
        fontScale_ = dpi > 0 ? 72.0 / dpi : 1.0;
        // A recorded picture (the print preview) keeps glyph runs only as outlines, slow to
        // record and to show: there texts are drawn as texts.
        const QPaintEngine* engine = p.paintEngine();
        glyphRuns_ = engine && (engine->type() == QPaintEngine::Pdf ||
                                engine->type() == QPaintEngine::Raster);
    }

    void page(int index) {
        const Page& page = l_.pages[size_t(index)];
        const int pageNo = index + 1;
        double y = 0;
        if (page.reportHeader) y += band(r_.reportHeader, y, -1, pageNo);
        y += band(r_.pageHeader, y, -1, pageNo);
        for (qsizetype row = page.firstRow; row < page.endRow; ++row) {
            band(r_.detail, y, row, pageNo);
            y += l_.rowHeights[size_t(row)];
        }
        if (page.reportFooter) band(r_.reportFooter, y, -1, pageNo);
        band(r_.pageFooter, l_.area.height() - r_.pageFooter.height, -1, pageNo);
        flushGlyphs();
    }

private:
    double band(const Band& b, double top, qsizetype row, int pageNo) {
        if (!b.rules.isEmpty()) {
            p_.setPen(QPen(Qt::black, 0.5));
            for (const QLineF& rule : b.rules)
                p_.drawLine(QLineF(rule.x1() * l_.scaleX, top + rule.y1(), rule.x2() * l_.scaleX,
                                   top + rule.y2()));
        }
        p_.setPen(Qt::black);
        for (const Element& e : b.elements) {
            if (!e.visible) continue;
            QString text = r_.valueOf(e, row);
            if (e.field < 0) text = expandCodes(text, pageNo, l_.pageCount(), r_.printedAt);
            element(e, text, top);
        }
        return b.height;
    }

    void element(const Element& e, const QString& text, double top) {
        if (text.isEmpty()) return;
        const double x = e.rect.x() * l_.scaleX;
        const double width = elementWidth(e, l_.scaleX);
        const double lh = m_.lineHeight(e);
        const QFontMetricsF& fm = m_.metrics(e);
        // Lines and positions come from the reference measure, so every device breaks and
        // places them alike.
        double baseline = top + e.rect.y() + (lh - fm.height()) / 2 + fm.ascent();
        const Qt::Alignment h = e.align & Qt::AlignHorizontal_Mask;
        const TextMeasure::Style& style = m_.style(e);
        for (const QString& line : m_.lines(text, e, width)) {
            double left = x;
            if (h & (Qt::AlignRight | Qt::AlignHCenter)) {
                const double spare = std::max(0.0, width - m_.width(line, e));
                left += (h & Qt::AlignRight) ? spare : spare / 2;
            }
            if (glyphRuns_ && style.plain(line)) {
                Glyphs& run = glyphs_[&style];
                for (QChar c : line) {
                    run.indexes << style.glyphOf(c);
                    run.positions << QPointF(left, baseline);
                    left += style.advanceOf(c);
                }
            } else {
                useFont(e);
                p_.drawText(QPointF(left, baseline), line);
            }
            baseline += lh;
        }
    }

    void flushGlyphs() {
        for (auto& [style, run] : glyphs_) {
            if (run.indexes.isEmpty()) continue;
            QGlyphRun glyphRun;
            glyphRun.setRawFont(style->raw);
            glyphRun.setGlyphIndexes(run.indexes);
            glyphRun.setPositions(run.positions);
            p_.drawGlyphRun(QPointF(0, 0), glyphRun);
            run.indexes.clear();
            run.positions.clear();
        }
    }

    void useFont(const Element& e) {
        const int key = int(std::lround(e.fontSize * 10)) * 2 + (e.bold ? 1 : 0);
        if (key == fontKey_) return;
        fontKey_ = key;
        auto it = fonts_.find(key);
        if (it == fonts_.end()) {
            QFont f = TextMeasure::font(e);
            f.setPointSizeF(e.fontSize * fontScale_);
            it = fonts_.emplace(key, f).first;
        }
        p_.setFont(it->second);
    }

    QPainter& p_;
    const Report& r_;
    const Layout& l_;
    const TextMeasure& m_;
    double fontScale_ = 1;
    struct Glyphs {
        QList<quint32> indexes;
        QList<QPointF> positions;
    };
    std::unordered_map<const TextMeasure::Style*, Glyphs> glyphs_;
    std::unordered_map<int, QFont> fonts_;
    int fontKey_ = -1;
    bool glyphRuns_ = false;
};

QSizeF areaInPoints(const QPaintDevice& d) {
    return {d.width() * 72.0 / d.logicalDpiX(), d.height() * 72.0 / d.logicalDpiY()};
}

// Paints the pages of an open painter: scaled to points, a new page between two.
int paintOpen(QPainter& p, QPagedPaintDevice& device, const Report& r, int from, int to) {
    const TextMeasure m;
    const Layout layout = layoutReport(r, areaInPoints(device), m);
    const int last = layout.pageCount();
    from = from <= 0 ? 1 : std::min(from, last);
    to = to <= 0 ? last : std::clamp(to, from, last);
    p.scale(device.logicalDpiX() / 72.0, device.logicalDpiY() / 72.0);
    PagePainter painter(p, r, layout, m);
    for (int page = from; page <= to; ++page) {
        if (page > from) device.newPage();
        painter.page(page - 1);
    }
    return last;
}

} // namespace

void paintPage(QPainter& p, const Report& r, const Layout& layout, int index,
               const TextMeasure& m) {
    if (index < 0 || index >= layout.pageCount()) return;
    PagePainter(p, r, layout, m).page(index);
}

QPageLayout reportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

bool paintReport(const Report& r, QPagedPaintDevice& device, QString* error, int from, int to) {
    QPainter p;
    if (!p.begin(&device)) {
        if (error) *error = QStringLiteral("The report could not be drawn on this device.");
        return false;
    }
    paintOpen(p, device, r, from, to);
    return p.end();
}

bool printReport(const Report& r, QPrinter& printer, QString* error) {
    const bool range = printer.printRange() == QPrinter::PageRange;
    return paintReport(r, printer, error, range ? printer.fromPage() : 0,
                       range ? printer.toPage() : 0);
}

int writePdf(const Report& r, const QString& path, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = file.errorString();
        return 0;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(reportPageLayout());
        writer.setResolution(600);
        writer.setTitle(r.caption);
        writer.setCreator(QStringLiteral("Zorva"));
        QPainter p;
        if (!p.begin(&writer)) {
            if (error) *error = QStringLiteral("The PDF writer could not start.");
            file.cancelWriting();
            return 0;
        }
        pages = paintOpen(p, writer, r, 0, 0);
        p.end();
    }
    if (!file.commit()) {
        if (error) *error = file.errorString();
        return 0;
    }
    return pages;
}

QImage renderPage(const Report& r, int index, const QSizeF& area, double dpi) {
    const double scale = dpi / 72.0;
    QImage image(int(std::ceil(area.width() * scale)), int(std::ceil(area.height() * scale)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    const TextMeasure m;
    const Layout layout = layoutReport(r, area, m);
    QPainter p(&image);
    p.scale(scale, scale);
    paintPage(p, r, layout, index, m);
    return image;
}

} // namespace zorva::report

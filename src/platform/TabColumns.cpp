#include "platform/TabColumns.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>

namespace zorva {

namespace {
QString firstPart(const QString& text) { return text.section(QLatin1Char('\t'), 0, 0); }
QString lastPart(const QString& text) {
    return text.contains(QLatin1Char('\t')) ? text.section(QLatin1Char('\t'), -1) : QString();
}
QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}
} // namespace

TabColumnsDelegate::TabColumnsDelegate(const QString& widestFirst, QObject* parent)
    : QStyledItemDelegate(parent), widestFirst_(widestFirst) {}

int TabColumnsDelegate::secondColumnX(const QFontMetrics& metrics) const {
    // The widest first column and a gap of four blanks.
    return metrics.horizontalAdvance(widestFirst_ + QStringLiteral("    "));
}

QRect TabColumnsDelegate::firstColumnRect(const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QRect r = styleOf(opt)->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    r.setWidth(opt.fontMetrics.horizontalAdvance(firstPart(opt.text)) + 1);
    return r;
}

QRect TabColumnsDelegate::lastColumnRect(const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QRect r = styleOf(opt)->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    r.setLeft(r.left() + secondColumnX(opt.fontMetrics));
    r.setWidth(opt.fontMetrics.horizontalAdvance(lastPart(opt.text)) + 1);
    return r;
}

void TabColumnsDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = styleOf(opt);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget); // background, focus
    const QPalette::ColorRole role = opt.state.testFlag(QStyle::State_Selected)
                                         ? QPalette::HighlightedText
                                         : QPalette::Text;
    const bool enabled = opt.state.testFlag(QStyle::State_Enabled);
    painter->save();
    painter->setFont(opt.font);
    const int align = Qt::AlignLeft | Qt::AlignVCenter;
    style->drawItemText(painter, firstColumnRect(option, index), align, opt.palette, enabled,
                        firstPart(text), role);
    style->drawItemText(painter, lastColumnRect(option, index), align, opt.palette, enabled,
                        lastPart(text), role);
    painter->restore();
}

QSize TabColumnsDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // The item view draws its text this far from either edge.
    const int margin =
        styleOf(opt)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, opt.widget) + 1;
    const QFontMetrics& fm = opt.fontMetrics;
    const int first = fm.horizontalAdvance(firstPart(opt.text));
    const QString last = lastPart(opt.text);
    const int width = last.isEmpty() ? first : secondColumnX(fm) + fm.horizontalAdvance(last);
    size.setWidth(width + 2 * margin);
    return size;
}

void showTabColumns(QAbstractItemView* view, const QString& widestFirst) {
    view->setItemDelegate(new TabColumnsDelegate(widestFirst, view));
}

} // namespace zorva

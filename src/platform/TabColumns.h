#pragma once
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace zorva {

// Draws list lines whose columns are parted by tabs with the columns lined up: the text before
// the first tab at the left edge, the text after the last tab at one place for every line,
// whatever the font and however many tabs a line has. The lines' texts stay as they are.
class TabColumnsDelegate : public QStyledItemDelegate {
public:
    // widestFirst: the widest text the first column can hold (it sets where the second starts).
    TabColumnsDelegate(const QString& widestFirst, QObject* parent);

    // Where each column's text is drawn inside a line's rectangle.
    QRect firstColumnRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    QRect lastColumnRect(const QStyleOptionViewItem& option, const QModelIndex& index) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int secondColumnX(const QFontMetrics& metrics) const;
    QString widestFirst_;
};

// Gives the view a TabColumnsDelegate.
void showTabColumns(QAbstractItemView* view, const QString& widestFirst);

} // namespace zorva

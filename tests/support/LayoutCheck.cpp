#include "support/LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextEdit>
#include <QToolButton>

namespace zorva::test {

namespace {

// One pixel of rounding is not a cut.
constexpr int kSlack = 1;

class Faults {
public:
    explicit Faults(QWidget* form) : form_(form) {}
    QStringList lines;

    void add(const QWidget* w, const QString& what) {
        lines << QStringLiteral("%1: %2 %3").arg(name(form_), name(w), what);
    }
    void tooNarrow(const QWidget* w, const QString& text, int need, int have) {
        add(w, QStringLiteral("'%1' needs %2 px, has %3").arg(text).arg(need).arg(have));
    }

private:
    static QString name(const QWidget* w) {
        QString n = w->objectName();
        if (n.isEmpty()) {
            // An unnamed control: its class and the nearest named parent.
            n = QString::fromLatin1(w->metaObject()->className());
            for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
                if (!p->objectName().isEmpty()) {
                    n += QStringLiteral(" in ") + p->objectName();
                    break;
                }
        }
        return n;
    }
    QWidget* form_;
};

QString withoutMnemonic(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

int textWidth(const QWidget* w, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, w->fontMetrics().horizontalAdvance(line));
    return widest;
}

void checkLabel(Faults& f, const QLabel* l) {
    if (l->text().isEmpty() || !l->pixmap().isNull()) return;
    if (l->wordWrap()) {
        const int need = l->heightForWidth(l->width());
        if (need > l->height() + kSlack) {
            f.add(l, QStringLiteral("'%1' needs %2 px of height, has %3")
                         .arg(l->text()).arg(need).arg(l->height()));
        }
        return;
    }
    const QSize need = l->sizeHint();
    if (need.width() > l->width() + kSlack) f.tooNarrow(l, l->text(), need.width(), l->width());
    if (l->fontMetrics().height() > l->height() + kSlack)
        f.add(l, QStringLiteral("'%1' is cut in height (%2 px)").arg(l->text()).arg(l->height()));
}

void checkButton(Faults& f, const QAbstractButton* b) {
    const QString text = withoutMnemonic(b->text());
    if (text.isEmpty()) return;
    // A picture button shows its text as a tip only.
    if (auto* tool = qobject_cast<const QToolButton*>(b);
        tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly && !tool->icon().isNull())
        return;
    int need = 0;
    if (qobject_cast<const QCheckBox*>(b) || qobject_cast<const QRadioButton*>(b)) {
        need = b->sizeHint().width();
    } else {
        // The text and the icon inside the button's frame.
        const int frame = b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
        const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
        need = textWidth(b, text) + icon + 2 * frame;
    }
    if (need > b->width() + kSlack) f.tooNarrow(b, text, need, b->width());
    if (b->fontMetrics().height() > b->height() + kSlack)
        f.add(b, QStringLiteral("'%1' is cut in height (%2 px)").arg(text).arg(b->height()));
}

void checkGroupBox(Faults& f, const QGroupBox* g) {
    if (g->title().isEmpty()) return;
    const QString title = withoutMnemonic(g->title());
    const int need = textWidth(g, title) + 2 * g->fontMetrics().averageCharWidth();
    if (need > g->width() + kSlack) f.tooNarrow(g, title, need, g->width());
}

void checkLineEdit(Faults& f, const QLineEdit* e) {
    const QString text = e->displayText();
    if (!text.isEmpty() && !e->isEnabled())
        f.add(e, QStringLiteral("shows '%1' disabled, grey on grey").arg(text));
    if (e->isReadOnly() && e->isEnabled() &&
        e->palette().color(QPalette::Base) != e->palette().color(QPalette::Window))
        f.add(e, QStringLiteral("is read-only but looks editable"));
    if (text.isEmpty()) return;
    // The frame and the box's two-pixel text margin on either side.
    const int frame = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, e) : 0;
    const int have = e->contentsRect().width() - 2 * frame - 4;
    const int need = textWidth(e, text);
    if (need > have + kSlack) f.tooNarrow(e, text, need, have);
}

void checkCombo(Faults& f, const QComboBox* c) {
    QStyleOptionComboBox opt;
    opt.initFrom(c);
    opt.editable = c->isEditable();
    opt.frame = c->hasFrame();
    const QRect field =
        c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c);
    const int have = field.width() - 2;
    for (int i = 0; i < c->count(); ++i) {
        const QString text = c->itemText(i);
        const int icon = c->itemIcon(i).isNull() ? 0 : c->iconSize().width() + 4;
        const int need = textWidth(c, text) + icon;
        if (need > have + kSlack) f.tooNarrow(c, text, need, have);
    }
}

void checkItemView(Faults& f, const QAbstractItemView* v) {
    const QAbstractItemModel* model = v->model();
    if (!model) return;
    const QRect room = v->viewport()->rect();
    const int lineHeight = model->rowCount() > 0 ? v->sizeHintForRow(0) : v->fontMetrics().height();
    if (room.height() + kSlack < lineHeight)
        f.add(v, QStringLiteral("shows less than one line (%1 px high)").arg(room.height()));
    const bool list = model->columnCount() == 1;
    for (int r = 0; r < model->rowCount(); ++r) {
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex index = model->index(r, c);
            const QRect cell = v->visualRect(index);
            if (cell.isEmpty() || !cell.intersects(room)) continue;
            QStyleOptionViewItem opt;
            opt.initFrom(v);
            opt.rect = cell;
            const int need = v->itemDelegateForIndex(index)->sizeHint(opt, index).width();
            const int have = list ? room.width() : cell.width();
            if (need > have + kSlack) f.tooNarrow(v, index.data().toString(), need, have);
        }
    }
}

void checkHeader(Faults& f, const QHeaderView* h) {
    if (h->orientation() != Qt::Horizontal || !h->model()) return;
    const int margin = h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h);
    for (int s = 0; s < h->count(); ++s) {
        if (h->isSectionHidden(s)) continue;
        const QString text = h->model()->headerData(s, Qt::Horizontal).toString().trimmed();
        if (text.isEmpty()) continue;
        const int need = textWidth(h, text) + 2 * margin;
        if (need > h->sectionSize(s) + kSlack) f.tooNarrow(h, text, need, h->sectionSize(s));
    }
}

void checkTabBar(Faults& f, const QTabBar* t) {
    for (int i = 0; i < t->count(); ++i) {
        const QString text = withoutMnemonic(t->tabText(i)).trimmed();
        const int need = textWidth(t, text);
        if (need > t->tabRect(i).width() + kSlack) f.tooNarrow(t, text, need, t->tabRect(i).width());
    }
}

template <class Pane> void checkPane(Faults& f, const Pane* p, bool wraps) {
    if (!p->isReadOnly() || wraps) return;
    if (p->horizontalScrollBar()->maximum() > 0)
        f.add(p, QStringLiteral("cuts its lines (%1 px wide)").arg(p->viewport()->width()));
}

bool inLayout(const QLayout* layout, const QWidget* w) {
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == w) return true;
        if (item->layout() && inLayout(item->layout(), w)) return true;
    }
    return false;
}

// Visible siblings placed by one layout must neither overlap nor reach past their parent.
void checkPlacement(Faults& f, const QWidget* parent, const QWidget* form) {
    const QLayout* layout = parent->layout();
    if (!layout) return;
    QList<const QWidget*> placed;
    for (const QObject* o : parent->children()) {
        const auto* w = qobject_cast<const QWidget*>(o);
        if (!w || w->isWindow() || !w->isVisibleTo(form) || !inLayout(layout, w)) continue;
        placed << w;
    }
    for (int i = 0; i < placed.size(); ++i) {
        const QRect g = placed[i]->geometry();
        if (!parent->rect().contains(g))
            f.add(placed[i], QStringLiteral("is cut by the edge of its parent"));
        for (int j = i + 1; j < placed.size(); ++j)
            if (g.intersects(placed[j]->geometry()))
                f.add(placed[i], QStringLiteral("overlaps %1").arg(
                                     placed[j]->objectName().isEmpty()
                                         ? QString::fromLatin1(placed[j]->metaObject()->className())
                                         : placed[j]->objectName()));
    }
}

} // namespace

QStringList layoutFaults(QWidget* form) {
    Faults f(form);
    QList<QWidget*> all = form->findChildren<QWidget*>();
    all.prepend(form);
    for (QWidget* w : all) {
        if (!w->isVisibleTo(form) && w != form) continue;
        if (w != form && w->isWindow()) continue; // a window of its own is checked by itself
        checkPlacement(f, w, form);
        if (auto* l = qobject_cast<QLabel*>(w)) checkLabel(f, l);
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) checkButton(f, b);
        else if (auto* g = qobject_cast<QGroupBox*>(w)) checkGroupBox(f, g);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            // A combo box's own edit field shows the entry; the entries are checked there.
            if (!qobject_cast<QComboBox*>(w->parentWidget())) checkLineEdit(f, e);
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            checkCombo(f, c);
        } else if (auto* h = qobject_cast<QHeaderView*>(w)) {
            checkHeader(f, h);
        } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
            // A combo box's drop-down list is a window of its own and is skipped above.
            checkItemView(f, v);
        } else if (auto* t = qobject_cast<QTabBar*>(w)) {
            checkTabBar(f, t);
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            checkPane(f, p, p->lineWrapMode() != QPlainTextEdit::NoWrap);
        } else if (auto* x = qobject_cast<QTextEdit*>(w)) {
            checkPane(f, x, x->lineWrapMode() != QTextEdit::NoWrap);
        }
    }
    f.lines.removeDuplicates();
    return f.lines;
}

} // namespace zorva::test

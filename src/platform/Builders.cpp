#include "platform/Builders.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>

namespace zorva {

QPushButton* plainButton(QAnyStringView name, const QString& text, QWidget* parent) {
    auto* b = named<QPushButton>(name, text, parent);
    b->setAutoDefault(false);
    return b;
}

QToolButton* pictureButton(QAnyStringView name, const QString& toolTip, QWidget* parent) {
    auto* b = named<QToolButton>(name, parent);
    b->setText(QStringLiteral("..."));
    b->setToolTip(toolTip);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QLabel* addLabelledRow(QGridLayout* grid, QAnyStringView labelName, const QString& caption,
                       QWidget* field, int span) {
    auto* label = named<QLabel>(labelName, caption, grid->parentWidget());
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1, 1, span);
    return label;
}

void addCaptionRows(QGridLayout* grid, std::initializer_list<CaptionRow> rows) {
    for (const CaptionRow& r : rows) {
        addLabelledRow(grid, {}, r.caption, r.field, r.beside ? 1 : 2);
        if (r.beside) grid->addWidget(r.beside, grid->rowCount() - 1, 2);
    }
}

QWidget* inRow(std::initializer_list<QWidget*> widgets) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch(1);
    return box;
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}

QHBoxLayout* addButtonRow(QBoxLayout* layout, QWidget* parent,
                          std::initializer_list<ButtonDef> buttons) {
    auto* row = buttonRow({});
    for (const ButtonDef& entry : buttons) {
        *entry.button = plainButton(entry.name, QString::fromLatin1(entry.caption), parent);
        row->addWidget(*entry.button);
    }
    layout->addLayout(row);
    return row;
}

namespace {
// The focus policy a box had while editable, so that it gets it back.
constexpr char kEditableFocus[] = "zorvaEditableFocus";

bool setBoxReadOnly(QWidget* w, bool readOnly) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) line->setReadOnly(readOnly);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) plain->setReadOnly(readOnly);
    else if (auto* rich = qobject_cast<QTextEdit*>(w)) rich->setReadOnly(readOnly);
    else return false;
    return true;
}
} // namespace

void setEditable(QWidget* control, bool editable) {
    if (!setBoxReadOnly(control, !editable)) {
        control->setEnabled(editable);
        return;
    }
    control->setEnabled(true);
    if (!control->property(kEditableFocus).isValid())
        control->setProperty(kEditableFocus, int(control->focusPolicy()));
    control->setFocusPolicy(editable ? Qt::FocusPolicy(control->property(kEditableFocus).toInt())
                                     : Qt::ClickFocus);
    const QWidget* parent = control->parentWidget();
    const QPalette around = parent ? parent->palette() : QApplication::palette(control);
    QPalette own = control->palette();
    own.setBrush(QPalette::Base, around.brush(editable ? QPalette::Base : QPalette::Window));
    control->setPalette(own);
}

void setEditable(std::initializer_list<QWidget*> controls, bool editable) {
    for (QWidget* w : controls) setEditable(w, editable);
}

bool isEditable(const QWidget* control) {
    if (!control->isEnabled()) return false;
    if (auto* line = qobject_cast<const QLineEdit*>(control)) return !line->isReadOnly();
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(control)) return !plain->isReadOnly();
    if (auto* rich = qobject_cast<const QTextEdit*>(control)) return !rich->isReadOnly();
    return true;
}

void roomForNames(std::initializer_list<QComboBox*> boxes) {
    // "Finance Department", "Kuala Pilah Selatan": names of twenty characters are common.
    constexpr int kNameLength = 20;
    for (QComboBox* box : boxes) {
        box->setMinimumContentsLength(kNameLength);
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
}

void fitWidthToEntries(QAbstractItemView* list) {
    auto fit = [list] {
        const int entries = list->sizeHintForColumn(0);
        if (entries <= 0) return;
        const int frame = 2 * list->frameWidth();
        const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
        list->setMinimumWidth(std::max(list->minimumWidth(), entries + frame + bar));
    };
    // Not on a reset: a list's model resets while the list is being destroyed.
    QAbstractItemModel* model = list->model();
    QObject::connect(model, &QAbstractItemModel::rowsInserted, list, fit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, list, fit);
}

void keepPlaceWhenHidden(std::initializer_list<QWidget*> controls) {
    for (QWidget* w : controls) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }
}

void fitLastColumn(QTableView* grid) {
    QHeaderView* h = grid->horizontalHeader();
    const int last = grid->model()->columnCount() - 1;
    int others = 0;
    for (int c = 0; c < last; ++c) others += h->sectionSize(c);
    const int rest = grid->viewport()->width() - others;
    h->setStretchLastSection(false);
    grid->resizeColumnToContents(last);
    if (h->sectionSize(last) < rest) h->setStretchLastSection(true);
}

} // namespace zorva

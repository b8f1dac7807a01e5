#include "platform/Builders.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
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

} // namespace zorva

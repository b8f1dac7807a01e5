#include "platform/FormParts.h"

#include <QBoxLayout>
#include <QPushButton>

namespace zorva {

QHBoxLayout* addButtonRow(QBoxLayout* layout, QWidget* parent, std::initializer_list<ButtonSpec> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (const ButtonSpec& spec : buttons) {
        auto* b = new QPushButton(QString::fromLatin1(spec.caption), parent);
        b->setObjectName(QString::fromLatin1(spec.name));
        b->setAutoDefault(false);
        row->addWidget(b);
        *spec.button = b;
    }
    layout->addLayout(row);
    return row;
}

} // namespace zorva

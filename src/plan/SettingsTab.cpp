#include "plan/SettingsTab.h"
#include "platform/Events.h"
#include "platform/Input.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace zorva {

SettingsTab::SettingsTab(const QString& frameName, const QString& listName, QWidget* parent)
    : QWidget(parent) {
    auto* outer = new QHBoxLayout(this);
    frame_ = new QGroupBox(QStringLiteral("Location"), this);
    frame_->setObjectName(frameName);
    auto* left = new QVBoxLayout(frame_);
    placeGrid_ = new QGridLayout;
    left->addLayout(placeGrid_);
    list_ = new QListWidget(frame_);
    list_->setObjectName(listName);
    left->addWidget(list_);
    outer->addWidget(frame_, 1);

    right_ = new QWidget(this);
    auto* right = new QVBoxLayout(right_);
    right->setContentsMargins(0, 0, 0, 0);
    fieldGrid_ = new QGridLayout;
    right->addLayout(fieldGrid_);
    outer->addWidget(right_, 2);
}

QString SettingsTab::nameCaption() const { return nameLabel_ ? nameLabel_->text() : QString(); }

QLabel* SettingsTab::addField(const QString& labelName, const QString& caption, QWidget* field,
                              const QString& fieldName, bool inPlaceGrid) {
    QGridLayout* grid = inPlaceGrid ? placeGrid_ : fieldGrid_;
    auto* label = new QLabel(caption, this);
    label->setObjectName(labelName);
    field->setParent(this);
    if (!fieldName.isEmpty()) field->setObjectName(fieldName);
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

QLineEdit* SettingsTab::addLine(const QString& labelName, const QString& caption,
                                const QString& fieldName, bool inPlaceGrid) {
    auto* box = new QLineEdit;
    addField(labelName, caption, box, fieldName, inPlaceGrid);
    attachFocusMoves(box);
    return box;
}

void SettingsTab::addDescription(const QString& labelName) {
    auto* frame = new QGroupBox(QStringLiteral("Description :"), right_);
    auto* layout = new QVBoxLayout(frame);
    description_ = new QLabel(frame);
    description_->setObjectName(labelName);
    description_->setWordWrap(true);
    description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    description_->setMinimumHeight(60);
    layout->addWidget(description_);
    static_cast<QVBoxLayout*>(right_->layout())->addWidget(frame);
}

void SettingsTab::setHelp(QWidget* field, const QString& title, const QString& line) {
    onFocusIn(field, [this, title, line] {
        if (description_) description_->setText(QStringLiteral("\n") + title + QStringLiteral("\n") + line);
    });
}

void SettingsTab::makeCycle(const QString& opsName, const QString& saveName,
                            const QString& suffix, QLabel* nameLabel, QList<QWidget*> fields,
                            RecordCycle::Hooks hooks) {
    nameLabel_ = nameLabel;
    RecordCycle::Widgets w = buildCycleFrames(list_, opsName, saveName, suffix);
    auto* right = static_cast<QVBoxLayout*>(right_->layout());
    right->addStretch(1);
    right->addWidget(w.operations);
    right->addWidget(w.saving);
    hooks.lockForm = [this](bool editing) {
        lockPlace(editing);
        if (lockTabs) lockTabs(editing);
    };
    hooks.closeForm = [this] {
        if (closeForm) closeForm();
    };
    cycle_ = new RecordCycle(this, w, std::move(fields), std::move(hooks));
}

QString SettingsTab::pleaseEnter(const QLabel* label) {
    return QStringLiteral("Please enter ") + label->text() + QStringLiteral(" !");
}

QString SettingsTab::alreadyExists(const QLabel* label) {
    return QStringLiteral("Error at field ") + label->text() + QStringLiteral(" Record already exist !");
}

} // namespace zorva

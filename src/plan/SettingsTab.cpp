#include "plan/SettingsTab.h"
#include "platform/Events.h"
#include "platform/Input.h"
#include "plan/PlanData.h"
#include "platform/Rows.h"

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
    frame_ = named<QGroupBox>(frameName, QStringLiteral("Location"), this);
    auto* left = new QVBoxLayout(frame_);
    placeGrid_ = new QGridLayout;
    left->addLayout(placeGrid_);
    list_ = named<QListWidget>(listName, frame_);
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
    field->setParent(this);
    if (!fieldName.isEmpty()) field->setObjectName(fieldName);
    return addLabelledRow(inPlaceGrid ? placeGrid_ : fieldGrid_, labelName, caption, field);
}

Labelled<QLineEdit> SettingsTab::addLine(const QString& labelName, const QString& caption,
                                         const QString& fieldName, bool inPlaceGrid) {
    auto* box = new QLineEdit;
    QLabel* label = addField(labelName, caption, box, fieldName, inPlaceGrid);
    attachFocusMoves(box);
    return {label, box};
}

void SettingsTab::addDescription(const QString& labelName) {
    auto* frame = new QGroupBox(QStringLiteral("Description :"), right_);
    auto* layout = new QVBoxLayout(frame);
    description_ = named<QLabel>(labelName, frame);
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

void SettingsTab::browseTab(bool addEnabled) {
    cycle_->browse();
    cycle_->setAddEnabled(addEnabled);
    if (lockTabs) lockTabs(false);
}

void SettingsTab::loadGlobalList() {
    cycle_->clearFields();
    if (description_) description_->clear();
    cycle_->refill();
    browseTab(true);
}

void SettingsTab::fillListFrom(const QString& sql, const QVariantList& values,
                               const QString& column) {
    list_->clear();
    list_->addItems(columnValues(this, sql, values, column));
}

QVariant SettingsTab::showColumns(const QString& sql, const QVariantList& values,
                                  const QList<std::pair<QLineEdit*, const char*>>& boxes) {
    auto row = firstRow(this, sql, values);
    if (!row) return {};
    for (const auto& [box, column] : boxes) {
        const QVariant v = row->value(QLatin1String(column));
        box->setText(v.isNull() ? QString() : v.toString());
    }
    return row->value(QStringLiteral("rid"));
}

bool SettingsTab::checkNameAndChange(QLineEdit* name, const QLabel* nameLabel) {
    if (name->text().isEmpty())
        return cycle_->refuse(name, Icon::Warning, QStringLiteral("Error !"), pleaseEnter(nameLabel));
    if (cycle_->unchanged())
        return cycle_->refuse(name, Icon::Warning, QStringLiteral("Error !!!"),
                              QStringLiteral("Record not changed !"));
    return true;
}

bool SettingsTab::checkFilled(QLineEdit* box, const QString& what) {
    if (!box->text().isEmpty()) return true;
    return cycle_->refuse(box, Icon::Warning, QStringLiteral("Error !!!"),
                          QStringLiteral("Please enter ") + what + QStringLiteral(" !"));
}

bool SettingsTab::checkUnique(QLineEdit* box, const QLabel* label, const QString& sql,
                              QVariantList values) {
    if (!cycle_->isNewRecord() && !cycle_->changed(box)) return true;
    values << selfKey(cycle_);
    if (!rowExists(this, sql, values)) return true;
    return cycle_->refuse(box, Icon::Warning, QStringLiteral("Error"), alreadyExists(label));
}

QString SettingsTab::pleaseEnter(const QLabel* label) {
    return QStringLiteral("Please enter ") + label->text() + QStringLiteral(" !");
}

QString SettingsTab::alreadyExists(const QLabel* label) {
    return QStringLiteral("Error at field ") + label->text() + QStringLiteral(" Record already exist !");
}

} // namespace zorva

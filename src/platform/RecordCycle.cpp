#include "platform/RecordCycle.h"
#include "platform/Builders.h"
#include "platform/Shell.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace zorva {

QVariant fieldValue(QWidget* field) {
    if (auto* e = qobject_cast<QLineEdit*>(field)) return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(field)) return b->isChecked();
    if (auto* c = qobject_cast<QComboBox*>(field)) return c->currentText();
    if (auto* p = qobject_cast<QPlainTextEdit*>(field)) return p->toPlainText();
    if (auto* t = qobject_cast<QTextEdit*>(field)) return t->toPlainText();
    return {};
}

void setFieldValue(QWidget* field, const QVariant& value) {
    if (auto* e = qobject_cast<QLineEdit*>(field)) {
        e->setText(value.toString());
    } else if (auto* b = qobject_cast<QAbstractButton*>(field)) {
        // An exclusive option button cannot be unchecked while it is exclusive.
        const bool exclusive = b->autoExclusive();
        b->setAutoExclusive(false);
        b->setChecked(value.toBool());
        b->setAutoExclusive(exclusive);
    } else if (auto* c = qobject_cast<QComboBox*>(field)) {
        c->setCurrentText(value.toString());
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(field)) {
        p->setPlainText(value.toString());
    } else if (auto* t = qobject_cast<QTextEdit*>(field)) {
        t->setPlainText(value.toString());
    }
}

namespace {
QVariant emptyValue(QWidget* field) {
    return qobject_cast<QAbstractButton*>(field) ? QVariant(false) : QVariant(QString());
}
} // namespace

RecordCycle::RecordCycle(QWidget* owner, Widgets widgets, QList<QWidget*> fields, Hooks hooks)
    : QObject(owner), owner_(owner), w_(widgets), fields_(std::move(fields)), h_(std::move(hooks)) {
    connect(w_.add, &QPushButton::clicked, this, &RecordCycle::add);
    connect(w_.update, &QPushButton::clicked, this, &RecordCycle::update);
    connect(w_.remove, &QPushButton::clicked, this, &RecordCycle::remove);
    connect(w_.save, &QPushButton::clicked, this, &RecordCycle::save);
    connect(w_.cancel, &QPushButton::clicked, this, &RecordCycle::cancel);
    connect(w_.close, &QPushButton::clicked, this, &RecordCycle::close);
    connect(w_.close1, &QPushButton::clicked, this, &RecordCycle::close);
    // A click on the line already shown shows it again (after Cancel, Update needs a click).
    connect(w_.list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (mode_ != Mode::Showing || w_.list->row(item) != shownRow_) showSelected();
    });
    // A line chosen by mouse or keys (not the current line a list takes when it gets focus).
    connect(w_.list, &QListWidget::itemSelectionChanged, this, [this] {
        if (!w_.list->selectedItems().isEmpty() && mode_ != Mode::Edit) showSelected();
    });
    remembered_.reserve(fields_.size());
    for (QWidget* f : fields_) remembered_ << emptyValue(f);
}

void RecordCycle::browse() {
    mode_ = Mode::Browse;
    shownRow_ = -1;
    w_.saving->hide();
    w_.operations->show();
    w_.list->setEnabled(true);
    w_.update->setEnabled(false);
    w_.remove->setEnabled(false);
    setFieldsEnabled(false);
}

void RecordCycle::setAddEnabled(bool enabled) { w_.add->setEnabled(enabled); }

void RecordCycle::clearFields() {
    for (QWidget* f : fields_) setFieldValue(f, emptyValue(f));
}

void RecordCycle::setFieldsEnabled(bool enabled) {
    for (QWidget* f : fields_) setEditable(f, enabled && !f->isHidden());
}

void RecordCycle::rememberFields() {
    for (int i = 0; i < fields_.size(); ++i) remembered_[i] = comparable(fields_[i]);
}

void RecordCycle::restoreFields() {
    for (int i = 0; i < fields_.size(); ++i)
        if (remembered_[i].isValid()) setFieldValue(fields_[i], remembered_[i]);
}

QVariant RecordCycle::comparable(QWidget* field) const {
    return field->isHidden() ? QVariant() : fieldValue(field);
}

bool RecordCycle::changed(QWidget* field) const {
    const int i = int(fields_.indexOf(field));
    return i < 0 || comparable(field) != remembered_[i];
}

bool RecordCycle::unchanged() const {
    for (QWidget* f : fields_)
        if (changed(f)) return false;
    return true;
}

QString RecordCycle::rememberedText(QWidget* field) const {
    const int i = int(fields_.indexOf(field));
    return i < 0 ? QString() : remembered_[i].toString();
}

bool RecordCycle::refuse(QWidget* field, Icon icon, const QString& title, const QString& text) {
    ui().message(owner_, icon, title, text);
    if (field) field->setFocus();
    return false;
}

void RecordCycle::showSelected() {
    QListWidgetItem* item = w_.list->currentItem();
    if (!item || !h_.showRow) return;
    const QVariant key = h_.showRow(item->text());
    if (!key.isValid()) return; // the row is gone (another copy of the program deleted it)
    key_ = key;
    mode_ = Mode::Showing;
    shownRow_ = w_.list->row(item);
    w_.update->setEnabled(true);
    w_.remove->setEnabled(true);
    setFieldsEnabled(false);
    rememberFields();
}

void RecordCycle::enterEdit() {
    mode_ = Mode::Edit;
    w_.list->setEnabled(false);
    w_.operations->hide();
    w_.saving->show();
    if (h_.lockForm) h_.lockForm(true);
}

void RecordCycle::leaveEdit() {
    isNewRecord_ = false;
    browse();
    if (h_.lockForm) h_.lockForm(false);
    if (h_.leftEdit) h_.leftEdit();
}

void RecordCycle::add() {
    rememberFields();
    if (h_.beforeAdd) h_.beforeAdd();
    enterEdit();
    setFieldsEnabled(true);
    clearFields();
    if (h_.afterAdd) h_.afterAdd();
    if (!fields_.isEmpty()) fields_.first()->setFocus();
    isNewRecord_ = true;
}

void RecordCycle::update() {
    enterEdit();
    setFieldsEnabled(true);
    if (!fields_.isEmpty()) fields_.first()->setFocus();
    rememberFields();
    isNewRecord_ = false;
}

void RecordCycle::save() {
    if (!isEditing() || (h_.check && !h_.check())) return;
    if (ui().message(owner_, Icon::Question, QStringLiteral("Save record"),
                     QStringLiteral("Save record to Zorva database ?"),
                     Button::Ok | Button::Cancel, Button::Ok) != Button::Ok)
        return;
    {
        CursorGuard hourglass;
        const Written written = h_.write(isNewRecord_, key_);
        if (written.gone()) return rowGone();
        if (!written) return; // reported; the edit goes on
        if (h_.fillList) h_.fillList();
    }
    clearFields();
    leaveEdit();
}

void RecordCycle::rowGone() {
    if (h_.fillList) h_.fillList();
    clearFields();
    leaveEdit();
}

void RecordCycle::cancel() {
    restoreFields();
    if (h_.afterRestore) h_.afterRestore();
    leaveEdit();
}

void RecordCycle::remove() {
    if (mode_ != Mode::Showing) return;
    if (h_.canErase && !h_.canErase(key_)) return;
    if (ui().message(owner_, Icon::Question, deleteTitle_,
                     QStringLiteral("Delete record from Zorva database ?"),
                     Button::Ok | Button::Cancel, Button::Ok) != Button::Ok)
        return;
    {
        CursorGuard hourglass;
        const Written erased = h_.erase(key_);
        if (erased.gone()) return rowGone();
        if (!erased) return;
        if (h_.fillList) h_.fillList();
    }
    clearFields();
    leaveEdit();
}

RecordCycle::Widgets buildCycleFrames(QListWidget* list, const QString& opsName,
                                      const QString& saveName, const QString& suffix) {
    RecordCycle::Widgets w;
    w.list = list;
    fitWidthToEntries(list);
    auto frame = [](const QString& name) {
        auto* f = named<QWidget>(name);
        auto* row = new QHBoxLayout(f);
        row->setContentsMargins(0, 0, 0, 0);
        return f;
    };
    auto button = [&suffix](QWidget* f, const char* name, const char* caption) {
        auto* b = plainButton(QString::fromLatin1(name) + suffix, QString::fromLatin1(caption), f);
        f->layout()->addWidget(b);
        return b;
    };
    w.operations = frame(opsName);
    w.add = button(w.operations, "cmdTambah", "Add");
    w.update = button(w.operations, "cmdKemaskini", "Update");
    w.remove = button(w.operations, "cmdHapus", "Delete");
    w.close = button(w.operations, "cmdTutup", "Close");
    w.saving = frame(saveName);
    w.save = button(w.saving, "cmdSimpan", "Save");
    w.cancel = button(w.saving, "cmdBatal", "Cancel");
    w.close1 = button(w.saving, "cmdTutup1", "Close");
    w.saving->hide();
    return w;
}

void RecordCycle::close() {
    if (h_.closeForm) h_.closeForm();
}

} // namespace zorva

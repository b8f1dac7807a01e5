#pragma once
#include "platform/Rows.h"
#include "platform/Ui.h"

#include <QList>
#include <QObject>
#include <QVariant>
#include <functional>

class QListWidget;
class QPushButton;
class QWidget;

namespace zorva {

// The record cycle of the data-entry forms: a list of rows, input fields, an operations frame
// (Add, Update, Delete, Close) and a save frame (Save, Cancel, Close) that replace each other.
//
// States: browse (list enabled, fields not editable, Update/Delete disabled), showing a row
// (after a list click: fields filled and not editable, Update/Delete enabled) and edit (after
// Add or Update: fields editable, list disabled, save frame shown, the rest of the form
// locked). A text field that is not editable is read-only (setEditable), other fields disabled.
//
// The form supplies its widgets, its fields and hooks; the cycle does the rest:
// - showRow(listText): read the row named by the list line and fill the fields; return a key
//   of that row (its rowid) or an invalid QVariant when it is gone. Update, Save of an existing
//   row and Delete act on that key.
// - check(): the form's checks in their order. Use refuse() for each refusal; the cycle's
//   unchanged(), changed(field) and isNewRecord() give what the checks need.
// - write(isNew, key): insert or change the row; false when it failed (report the error, e.g.
//   with runSqlOrReport). The form then stays in edit and nothing is lost. When the row is
//   gone (writeRow's Written::Gone: another user deleted it meanwhile, the message shown) the
//   form writes nothing more; the cycle reads the list again and returns to browse.
// - erase(key): delete the row; false when it failed, gone as for write.
// - canErase(key): optional; the form's refusals before Delete asks (false: nothing deleted).
// - fillList(): refill the list (after save and delete).
// - lockForm(bool): optional; true when editing begins (lock other tabs, place boxes), false
//   when it ends (unlock by the form's own rules).
// - beforeAdd, afterAdd, afterRestore, leftEdit: optional adjustments around the steps
//   (hide a box before the fields are enabled, prefill a field, reshow a box, hide helpers).
//
// Fields are QLineEdit, QAbstractButton (checked), QComboBox (text), QPlainTextEdit or
// QTextEdit. Clearing empties texts and unchecks buttons; making editable covers only the fields
// that are not hidden. Values are remembered when a row is shown, when Update begins and when Add
// begins (of what was shown); Cancel puts them back and Save compares against them. A hidden
// field counts as empty in that comparison.
class RecordCycle : public QObject {
    Q_OBJECT
public:
    enum class Mode { Browse, Showing, Edit };

    struct Widgets {
        QListWidget* list = nullptr;
        QWidget* operations = nullptr; // frame with Add, Update, Delete, Close
        QWidget* saving = nullptr;     // frame with Save, Cancel, Close
        QPushButton* add = nullptr;
        QPushButton* update = nullptr;
        QPushButton* remove = nullptr;
        QPushButton* close = nullptr;
        QPushButton* save = nullptr;
        QPushButton* cancel = nullptr;
        QPushButton* close1 = nullptr;
    };

    struct Hooks {
        std::function<QVariant(const QString& listText)> showRow;
        std::function<bool()> check;
        std::function<Written(bool isNew, const QVariant& key)> write;
        std::function<Written(const QVariant& key)> erase;
        std::function<bool(const QVariant& key)> canErase;
        std::function<void()> fillList;
        std::function<void()> closeForm;
        std::function<void(bool editing)> lockForm;
        std::function<void()> beforeAdd;
        std::function<void()> afterAdd;
        std::function<void()> afterRestore;
        std::function<void()> leftEdit;
    };

    RecordCycle(QWidget* owner, Widgets widgets, QList<QWidget*> fields, Hooks hooks);

    Mode mode() const { return mode_; }
    bool isEditing() const { return mode_ == Mode::Edit; }
    bool isNewRecord() const { return isNewRecord_; }
    QVariant currentKey() const { return key_; }

    // The browse state: frames, list enabled, Update/Delete disabled, fields disabled. The
    // fields keep their contents.
    void browse();
    // Runs the form's fillList.
    void refill() {
        if (h_.fillList) h_.fillList();
    }
    // Add may be offered only when the form has a place to add to (a chosen state, city ...).
    void setAddEnabled(bool enabled);
    // Title of Delete's question ("Delete Record" unless the form says otherwise).
    void setDeleteTitle(const QString& title) { deleteTitle_ = title; }

    // Field procedures.
    void clearFields();
    void setFieldsEnabled(bool enabled);
    void rememberFields();
    void restoreFields();
    // Whether every field equals its remembered value.
    bool unchanged() const;
    bool changed(QWidget* field) const;
    QString rememberedText(QWidget* field) const;

    // Shows a refusal (icon, title, text), puts the focus into field and returns false.
    bool refuse(QWidget* field, Icon icon, const QString& title, const QString& text);

public slots:
    void showSelected();
    void add();
    void update();
    void save();
    void cancel();
    void remove();
    void close();

private:
    void leaveEdit();
    void enterEdit();
    // After a write or delete that found its row gone: the list read again, browse.
    void rowGone();
    QVariant comparable(QWidget* field) const;

    QWidget* owner_;
    Widgets w_;
    QList<QWidget*> fields_;
    Hooks h_;
    QList<QVariant> remembered_;
    QVariant key_;
    Mode mode_ = Mode::Browse;
    bool isNewRecord_ = false;
    int shownRow_ = -1;
    QString deleteTitle_ = QStringLiteral("Delete Record");
};

// Builds the two frames of the cycle with their buttons: the operations frame (objectName
// opsName) with cmdTambah, cmdKemaskini, cmdHapus, cmdTutup and the save frame (saveName) with
// cmdSimpan, cmdBatal, cmdTutup1, each button name followed by suffix ("Region" gives
// cmdTambahRegion). The caller places the two frames in its layout.
RecordCycle::Widgets buildCycleFrames(QListWidget* list, const QString& opsName,
                                      const QString& saveName, const QString& suffix);

// Fields a row is shown in: value of a field as the cycle sees it, and setting it back.
QVariant fieldValue(QWidget* field);
void setFieldValue(QWidget* field, const QVariant& value);

} // namespace zorva

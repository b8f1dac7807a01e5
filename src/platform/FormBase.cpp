#include "platform/FormBase.h"
#include "platform/Help.h"

#include <QKeyEvent>

namespace zorva {

namespace {

// F1 opens the form's page of the manual. A key its controls leave alone reaches the form, and
// this filter, on its way up. A form inside the main window gets F1 from the main window's Help
// entry, whose key it is.
class HelpKey : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
        auto* form = static_cast<QWidget*>(watched);
        showHelp(form, helpPageOf(form));
        return true;
    }
};

} // namespace

FormBase::FormBase(QWidget* parent) : QDialog(parent) {
    static HelpKey helpKey;
    installEventFilter(&helpKey);
}

void FormBase::runLoad() {
    if (loaded_) return;
    loaded_ = true;
    unloaded_ = false;
    Form_Load();
}

void FormBase::unload(int result) {
    done(result);
}

void FormBase::done(int r) {
    unloaded_ = true;
    QDialog::done(r);
    emit unloaded();
}

void FormBase::showEvent(QShowEvent* event) {
    runLoad();
    QDialog::showEvent(event);
}

} // namespace zorva

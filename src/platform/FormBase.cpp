#include "platform/FormBase.h"

namespace zorva {

FormBase::FormBase(QWidget* parent) : QDialog(parent) {}

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

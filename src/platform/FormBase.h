#pragma once
#include <QDialog>

namespace zorva {

// Base of every form: a dialog that can be shown modally through the UI service or placed
// as a child of the main window. Form_Load runs once, before the form is first shown, whether
// it is shown on screen or driven by a test.
class FormBase : public QDialog {
    Q_OBJECT
public:
    explicit FormBase(QWidget* parent = nullptr);

    // Runs Form_Load once; later calls do nothing.
    void runLoad();
    bool isLoaded() const { return loaded_; }
    // True once the form has unloaded itself (closed, or its load decided not to show it).
    bool isUnloaded() const { return unloaded_; }
    // Closes the form; a modal form returns `result` to whoever showed it.
    void unload(int result = QDialog::Rejected);

signals:
    void unloaded();

protected:
    virtual void Form_Load() {}
    void showEvent(QShowEvent* event) override;
    void done(int r) override;

private:
    bool loaded_ = false;
    bool unloaded_ = false;
};

} // namespace zorva

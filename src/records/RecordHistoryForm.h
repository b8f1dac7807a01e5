#pragma once
#include "platform/FormBase.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

namespace zorva {

class HistoryGridModel;
struct HistoryEntry;

// "Record History": the history searched by address (and who held it at a moment), by user
// over a period, or by action over a period (the records deleted in a month); a deleted record
// restored; the list printed or saved; the old entries purged by a "Sistem" user.
class RecordHistoryForm : public FormBase {
    Q_OBJECT
public:
    explicit RecordHistoryForm(QWidget* parent = nullptr);

    QRadioButton* optByAddress;
    QRadioButton* optByUser;
    QRadioButton* optByAction;
    QLineEdit* txtAddress;
    QCheckBox* chkHeldOn;
    QDateTimeEdit* dtpHeldOn;
    QComboBox* cboUser;
    QComboBox* cboAction;
    QDateEdit* dtpFrom;
    QDateEdit* dtpTo;
    QPushButton* cmdFind;
    QTableView* gridHistory;
    QLabel* lblCount;
    QPushButton* cmdRestore;
    QPushButton* cmdPrint;
    QSpinBox* spnYears;
    QPushButton* cmdPurge;
    QPushButton* cmdClose;

    HistoryGridModel* model() const { return model_; }

public slots:
    void cmdFind_Click();
    void cmdRestore_Click();
    void cmdPrint_Click();
    void cmdPurge_Click();
    void cmdClose_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    void modeChanged();
    const HistoryEntry* selected() const;
    QString searchedText() const;

    HistoryGridModel* model_;
};

} // namespace zorva

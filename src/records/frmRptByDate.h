#pragma once
#include "platform/FormBase.h"

class QDateEdit;
class QLabel;
class QPushButton;

namespace zorva {

// "Zorva : Report by Date": two dates, the count of the records assigned between them (both
// days included), then their report.
class frmRptByDate : public FormBase {
    Q_OBJECT
public:
    explicit frmRptByDate(QWidget* parent = nullptr);

    QDateEdit* DTPickerStart = nullptr;
    QDateEdit* DTPickerEnd = nullptr;
    QLabel* lblTotalZorvaRecords = nullptr;
    QLabel* lblTotalAssignment = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdClose = nullptr;

public slots:
    void cmdOK_Click();
    void cmdClose_Click();
    void DTPickerStart_Change();
    void DTPickerEnd_Change();

protected:
    void Form_Load() override;

private:
    void buildUi();
    void countRange();
    void displayRange();
};

} // namespace zorva

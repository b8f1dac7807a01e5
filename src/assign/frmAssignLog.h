#pragma once
#include "platform/FormBase.h"

class QPlainTextEdit;
class QPushButton;

namespace zorva {

// "Assign Log": the text of AssignLog.txt, with "Clear Log" and "Close".
class frmAssignLog : public FormBase {
    Q_OBJECT
public:
    explicit frmAssignLog(QWidget* parent = nullptr);

    QPlainTextEdit* txtAssignLog = nullptr;
    QPushButton* cmdClearLog = nullptr;
    QPushButton* cmdClose = nullptr;

public slots:
    void cmdClearLog_Click();
    void cmdClose_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    void showFailure();
};

} // namespace zorva

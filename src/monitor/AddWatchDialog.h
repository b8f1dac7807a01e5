#pragma once
// "Add Watch": typed ranges or a part of the plan, how often and how fast to sweep them, and
// an optional daily window. A watch of more than a /16 is added only when confirmed; input
// that is wrong is named and stays in the boxes.
#include "monitor/MonitorRules.h"
#include "platform/FormBase.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimeEdit;

namespace zorva {

class AddWatchDialog : public FormBase {
    Q_OBJECT
public:
    // area: the area user's own area (the plan lists offer it alone); empty for everyone else.
    explicit AddWatchDialog(const QString& area = {}, QWidget* parent = nullptr);

    QLineEdit* txtName = nullptr;
    QRadioButton* optTyped = nullptr;
    QLineEdit* txtRanges = nullptr;
    QRadioButton* optPlan = nullptr;
    QComboBox* cboArea = nullptr;
    QComboBox* cboCity = nullptr;
    QComboBox* cboEquipment = nullptr;
    QSpinBox* spnInterval = nullptr;
    QSpinBox* spnRate = nullptr;
    QCheckBox* chkWindow = nullptr;
    QTimeEdit* tmFrom = nullptr;
    QTimeEdit* tmTo = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdCancel = nullptr;

    // The watch added (after Accepted).
    const QString& added() const { return added_; }
    WatchInput input() const;

public slots:
    void cmdAdd_Click();
    void cboArea_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    void followChoice();

    QString area_;
    QString added_;
};

} // namespace zorva

#pragma once
#include "platform/FormBase.h"

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

// Turns the placeholder plan of a new database (area "Headquarters", city "IT Division") into
// the site's own first entry, from the computer's own address. Shown modally by the
// assignment form when the plan holds only that placeholder.
class frmLocalSetting : public FormBase {
    Q_OBJECT
public:
    explicit frmLocalSetting(QWidget* parent = nullptr);

    // Gives the computer's own IPv4 address; replaceable before the form is shown.
    std::function<QString()> addressProvider;

    QLabel* lblLocalIP;
    QLineEdit* txtRegionName;
    QLineEdit* txtIPOctet1;
    QLineEdit* txtSegmentCode;
    QLabel* lbltxtSegment;
    QLineEdit* txtBandar;
    QLineEdit* txtKodBandar;
    QLineEdit* txtIPOctet2;
    QPushButton* cmdUpdateSetting;
    QPushButton* cmdCancel;

public slots:
    void cmdUpdateSetting_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    // The boxes that must be filled, in order, with their labels.
    QList<std::pair<QLineEdit*, QLabel*>> required_;
};

} // namespace zorva

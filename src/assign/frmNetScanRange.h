#pragma once
#include "platform/FormBase.h"

class QComboBox;
class QPushButton;

namespace zorva {

struct ScanPosition;

// "Network Scan range ...": where a big scan of the range gOctet4Start ... gOctet4End begins.
// Start writes the choice into the scan position of the assignment form; closing the window
// without Start leaves the position as it was.
class frmNetScanRange : public FormBase {
    Q_OBJECT
public:
    explicit frmNetScanRange(ScanPosition& target, QWidget* parent = nullptr);

    QComboBox* cboStartRange = nullptr;
    QPushButton* cmdStart = nullptr;

public slots:
    void cmdStart_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    ScanPosition& target_;
};

} // namespace zorva

#pragma once
#include "platform/FormBase.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

// "Move database ...": copies the application folder's database to a folder of the user's
// choice (typically a shared network folder) and makes the program use it from now on.
class frmChangeFolder : public FormBase {
    Q_OBJECT
public:
    explicit frmChangeFolder(QWidget* parent = nullptr);

    QLabel* lblExplanation = nullptr;
    QGroupBox* frameFolder = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdDirektori = nullptr;
    QPushButton* cmdMapNetwork = nullptr;
    QPushButton* cmdMoveDatabase = nullptr;
    QPushButton* cmdTutup = nullptr;

    static QString explanationText();
    // The desktop's view for connecting network folders.
    static QString networkView() { return QStringLiteral("network:///"); }

public slots:
    void cmdDirektori_Click();
    void cmdMapNetwork_Click();
    void cmdMoveDatabase_Click();
    void cmdTutup_Click();

protected:
    void Form_Load() override;

private:
    void buildUi();
    QString chosenFolder_;
};

} // namespace zorva

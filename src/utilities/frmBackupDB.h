#pragma once
#include "platform/FormBase.h"
#include "utilities/SplitJoin.h"
#include "utilities/frmSplitterSplash.h"

#include <QPointer>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorva {

class ctlProgress;

// "Backup & Restore": copies the database and the settings file into a backup folder and back,
// and splits a file (usually the database backup) into floppy-sized pieces with a batch file
// that joins them, or joins such pieces again.
class frmBackupDB : public FormBase {
    Q_OBJECT
public:
    explicit frmBackupDB(QWidget* parent = nullptr);
    ~frmBackupDB() override;

    // Backup and restore
    QGroupBox* FrameFolder = nullptr;
    QLineEdit* txtPath = nullptr;
    QPushButton* cmdDirektori = nullptr;
    QCheckBox* chkBackupDB = nullptr;
    QCheckBox* chkBackupINI = nullptr;
    QPushButton* cmdBackup = nullptr;
    QPushButton* cmdRestore = nullptr;
    QPushButton* cmdTutup = nullptr;

    // Split and join
    QLineEdit* txtFileName = nullptr;
    QPushButton* cmdSplit = nullptr;
    QPushButton* cmdJoin = nullptr;
    QCheckBox* chkDeleteParts = nullptr;
    QCheckBox* chkOpenExplorer = nullptr;
    QCheckBox* chkCopyToFloppy = nullptr;
    QLabel* lblEstFileCount = nullptr;
    QLabel* lblStart = nullptr;
    QLabel* lblFinish = nullptr;
    QLabel* lblElapsed = nullptr;
    QLabel* lblFileCount = nullptr;
    ctlProgress* ctlProgress1 = nullptr;

    bool SplitFiles(const QString& file, qint64 pieceSize);
    bool JoinFiles(const QString& file);
    // The splash window of the floppy copy, while it exists.
    frmSplitterSplash* splash() const { return splash_; }

public slots:
    void cmdDirektori_Click();
    void cmdBackup_Click();
    void cmdRestore_Click();
    void cmdTutup_Click();
    void cmdSplit_Click();
    void cmdJoin_Click();
    void txtFileName_Change();

protected:
    void Form_Load() override;
    void done(int r) override;

private:
    void buildUi();
    QWidget* buildSplitFrame();
    void setFolder(const QString& folder);
    void enableRestore();
    bool refuseRoot(const QString& folder);
    void reportError(const QString& text);
    // A split or join whose input went away: the buttons follow and the user is told.
    void fileNotFound(const QString& name);
    using Work = std::function<splitjoin::Outcome(const splitjoin::Observer&)>;
    // Runs a split or a join with the hourglass, the buttons off and the statistics filled.
    splitjoin::Outcome runTimed(const Work& work, const QString& finishedCaption);
    void CopyToFloppy(const QString& file, int pieces);
    void saveSplitSettings();

    QString folder_;     // the backup folder, with a trailing "/"
    QString lastFolder_; // the last folder backed up to
    bool busy_ = false;
    QPointer<frmSplitterSplash> splash_;
};

} // namespace zorva

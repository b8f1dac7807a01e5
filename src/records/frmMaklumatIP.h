#pragma once
#include "plan/UserDetailBoxes.h"
#include "plan/frmUnitDivision.h"
#include "platform/FormBase.h"
#include "records/RecordSearch.h"
#include "records/frmIPAddressUsed.h"

#include <QPointer>
#include <QSqlRecord>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

namespace zorva {

class frmCarian;
class RecordHistoryTab;

// "IP Address Details ...": one address record, viewed, corrected or deleted; opened from the
// record search, which it refreshes after a save or a delete.
class frmMaklumatIP : public FormBase, public UserDetailBoxes {
    Q_OBJECT
public:
    explicit frmMaklumatIP(QWidget* parent = nullptr);

    // Set by the search form before the form loads.
    RecordQuery detailQuery;
    QPointer<frmCarian> searchForm;

    QTabWidget* SSTab1;
    QLineEdit* txtIPAddress;
    QLineEdit* txtKodPeralatan;
    QLineEdit* txtNamaPeralatan;
    QComboBox* cboStatus;
    QLineEdit* txtWorkGroup;
    QLineEdit* txtProject;
    QPlainTextEdit* txtRemarks;
    // tab 1: the user details boxes
    QPushButton* cmdKemaskiniSimpan;
    QPushButton* cmdHapus;
    QPushButton* cmdLiveInfo;
    QPushButton* cmdTutup;
    QLabel* lblNotaUpdate;
    // The IP monitor's reclaim mark, when the address has one.
    QLabel* lblReclaim;
    // tab 2: the address's history
    RecordHistoryTab* historyTab;

    // The windows this form opened, while they are open.
    frmIPAddressUsed* liveInfoWindow() const { return liveInfo_; }
    frmUnitDivision* unitDirectory() const { return directory_; }

public slots:
    void cmdKemaskiniSimpan_Click();
    void cmdHapus_Click();
    void cmdLiveInfo_Click();
    void cmdTutup_Click();
    void SSTab1_Click(int tab);
    void cboUnitDivision_Click();
    void PicUnitDivision_Click();
    void Form_Unload();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void recordGone();
    void buildUi();
    void showRecord();
    void lockFields();
    void unlockFields();
    void clearFields();
    void viewMode();
    UnitPlace place() const;
    QList<QWidget*> editableControls() const;

    QSqlRecord record_; // the record as stored
    QVariant key_;
    QString unitName_;  // the remembered unit/division name
    QPointer<frmIPAddressUsed> liveInfo_;
    QPointer<frmUnitDivision> directory_;
};

} // namespace zorva

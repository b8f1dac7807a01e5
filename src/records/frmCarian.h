#pragma once
#include "platform/FormBase.h"
#include "records/RecordSearch.h"
#include "records/frmMaklumatIP.h"

#include <QPointer>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace zorva {

class RecordGridModel;
class SearchLocation;

// "Record Search": finds address records by address, staff number, host name, user, remarks,
// temporary status or place, lists them, opens one in the detail form, deletes a block.
class frmCarian : public FormBase {
    Q_OBJECT
public:
    explicit frmCarian(QWidget* parent = nullptr);
    ~frmCarian() override;

    // The last search run (the detail form runs it again after a save).
    RecordQuery mstrSQL;
    // While set, a search that finds one record does not open it.
    bool dwiKlik = false;

    QGroupBox* FrameType;
    QRadioButton* Option1; // IP Address
    QRadioButton* Option2; // Staff No.
    QRadioButton* Option3; // Location
    QRadioButton* Option4; // Hostname
    QRadioButton* Option5; // Remarks
    QRadioButton* Option6; // Username
    QGroupBox* frameIPAddress;
    QLabel* lblCarian;
    QLineEdit* txtCarian;
    QPushButton* cmdCari;
    QLabel* lblNota;
    QGroupBox* FrameFor;
    QRadioButton* OptCarian1; // Exact Search
    QRadioButton* OptCarian2; // Begin with
    QRadioButton* OptCarian5; // Temporary IP
    QGroupBox* FrameLocation;
    QLabel* lblRegion;
    QComboBox* cboRegion;
    QLabel* lblState;
    QComboBox* cboState;
    QLabel* lblCity;
    QComboBox* cboCity;
    QLabel* lblWorkGroup;
    QComboBox* cboWorkGroup;
    QLineEdit* txtSegment;
    QGroupBox* FrameForLocation;
    QRadioButton* OptCarian3; // WorkGroup/Segment
    QRadioButton* OptCarian4; // City
    QTableView* gridCarian;
    QLabel* lblNotaCarian;
    QPushButton* cmdTutup;

    RecordGridModel* model() const { return model_; }
    // The detail form opened from the grid, while it is open.
    frmMaklumatIP* detailForm() const { return detail_; }

    // Called by the detail form after it saved or deleted its record.
    void refreshAfterSave();
    void refreshAfterDelete();

public slots:
    void cmdCari_Click();
    void paparSenaraiCarian();
    // The location mode (the walk down the address plan).
    void cboRegion_Click();
    void cboState_Click();
    void cboCity_Click();
    void cboWorkGroup_Click();
    void txtSegment_Enter();
    void cariBaseLocation();
    void cariBaseLocation2();
    // Opens the record on a grid line (view row).
    void gridCarian_DblClick(int row);
    // The Delete key on the grid: deletes the selected block of lines.
    void deleteSelectedRows();
    void exportToCsv();
    void cmdTutup_Click();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void buildLocationFrame();
    void applyTextMode(SearchMode mode);
    void applyLocationMode(bool city);
    void matchOptionChosen(bool temporary);
    void clearGrid();
    // Runs mstrSQL and shows what it found; false (after the "Not Found" message) when nothing.
    bool showResult(const QString& notFound, bool beep);
    void openDetail(const QString& address);
    void gridMenu(const QPoint& at);

    RecordGridModel* model_ = nullptr;
    QPointer<frmMaklumatIP> detail_;
    std::unique_ptr<SearchLocation> location_;
};

} // namespace zorva

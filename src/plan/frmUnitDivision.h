#pragma once
#include "plan/LocationCascade.h"
#include "platform/FormBase.h"
#include "platform/Rows.h"

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace zorva {

class RecordCycle;

// Who opened the unit directory and for which place. The main menu leaves it empty. The
// assignment form and the record detail form set their mark, the place (area, state when one
// applies, city) and refresh, which runs when the directory closes so that the caller reloads
// its unit list (their SSTab1_Click(1)).
struct UnitDivisionCaller {
    bool fromAssignment = false;
    bool fromRecordDetail = false;
    QString area;
    QString state; // empty when no state applies (segmented area)
    QString city;
    bool hasState = false;
    std::function<void()> refresh;

    bool fromCaller() const { return fromAssignment || fromRecordDetail; }
};

// The directory of owning units with their postal addresses, filed under a place of the
// address plan. Opened from the menu the place is chosen here; opened by a caller it is fixed.
class frmUnitDivision : public FormBase {
    Q_OBJECT
public:
    explicit frmUnitDivision(QWidget* parent = nullptr);

    // Set before the form is shown.
    UnitDivisionCaller caller;

    QComboBox* cboRegion;
    QComboBox* cboState;
    QComboBox* cboCity;
    QLabel* lblRegion;
    QLabel* lblState;
    QLabel* lblCity;
    QListWidget* lstUnitDivision;
    QLineEdit* txtUnitDivision;
    QLineEdit* txtTingkat;
    QLineEdit* txtBangunan;
    QLineEdit* txtJalan;
    QLineEdit* txtPoskod;
    QLineEdit* txtBandar;
    QLineEdit* txtNegeri;
    RecordCycle* cycle() const { return cycle_; }

public slots:
    void cboRegion_Click();
    void cboState_Click();
    void cboCity_Click();
    void Form_Unload();

protected:
    void Form_Load() override;

private:
    void buildUi();
    bool stateApplies() const;
    void fillList();
    QVariant showRow(const QString& unit);
    Written write(bool isNew, const QVariant& key);
    void lockPlace(bool editing);
    // The place filter of the unit queries: area, state when it applies, city.
    QString placeCondition() const;
    QVariantList placeValues() const;

    RecordCycle* cycle_ = nullptr;
    LocationCascade cascade_{PlanQueries(this)};
};

} // namespace zorva

#pragma once
// The detail boxes of the assignment form (tabs " Equipment " and " User Details ") and what
// the form does with them as a whole: enable, disable, empty, read into a record, show a record.
#include "assign/AssignBatch.h"
#include "assign/AssignLog.h"
#include "assign/AssignRecord.h"
#include "plan/UserDetailBoxes.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QWidget;

namespace zorva {

class AssignDetails : public QObject, public UserDetailBoxes {
    Q_OBJECT
public:
    // Builds the two pages; the form puts them into its tab control.
    explicit AssignDetails(QWidget* form);
    QWidget* equipmentPage = nullptr;
    QWidget* userPage = nullptr;

    // tab 0
    QLineEdit* txtIPAddress;
    QLineEdit* txtKodPeralatan;
    QLineEdit* txtNamaPeralatan;
    QLineEdit* txtWorkGroup;
    QComboBox* cboStatus;
    QLineEdit* txtProject;
    QLineEdit* txtRemarks;
    // tab 1: the user details boxes

    void enableDetails();
    void disableDetails();
    void clearDetails();
    void resetDetails();

    SharedDetails shared() const;
    void putShared(const SharedDetails& d);
    // What the user typed beyond the candidate's own boxes, to be put back over another
    // candidate.
    struct Typed {
        SharedDetails shared;
        QString hostName;
        bool hostNameEdited = false;
    };
    Typed typed(const QString& suggestedHostName) const;
    void putTyped(const Typed& t);

    // The record of the boxes (the place columns are the form's).
    void fillRecord(AssignRecord& r) const;
    AssignLogFields logFields() const;
    // Shows a recorded row (dedicated mode, address already recorded).
    void showRecord(const AssignRecord& r);
    // The status entries, "Permanent" shown.
    void offerStatus();

signals:
    // Enter in the remarks box: the form goes on to the user details.
    void remarksEntered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QLineEdit*> boxes() const;
};

} // namespace zorva

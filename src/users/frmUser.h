#pragma once
#include "net/SmtpClient.h"
#include "platform/FormBase.h"
#include "platform/Rows.h"

class QComboBox;
class QListWidget;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zorva {

class RecordCycle;

// "Zorva User ...": the system administrator's list of the people who may use Zorva, on the
// record cycle. A new user with an e-mail address is sent his identifier and password.
class frmUser : public FormBase {
    Q_OBJECT
public:
    explicit frmUser(QWidget* parent = nullptr);

    QListWidget* lstUserName = nullptr;
    QLineEdit* txtNama = nullptr;
    QLineEdit* txtUserID = nullptr;
    QLineEdit* txtPassword = nullptr;
    QLineEdit* txtEmail = nullptr;
    QRadioButton* optKumpulan1 = nullptr; // "Sistem"
    QRadioButton* optKumpulan2 = nullptr; // "HQ"
    QRadioButton* optKumpulan3 = nullptr; // "Kawasan", with cboRegion
    QComboBox* cboRegion = nullptr;
    QWidget* frameOperasi = nullptr;
    QWidget* frameSimpan = nullptr;
    QPushButton* cmdTambah = nullptr;
    QPushButton* cmdKemaskini = nullptr;
    QPushButton* cmdHapus = nullptr;
    QPushButton* cmdTutup = nullptr;
    QPushButton* cmdSimpan = nullptr;
    QPushButton* cmdBatal = nullptr;
    QPushButton* cmdTutup1 = nullptr;

    // The client of the welcome message (tests shorten its time limit).
    SmtpClient smtp;

    RecordCycle* cycle() const { return cycle_; }
    // The SMTP server and port read at load.
    QString smtpHost() const { return smtpHost_; }

    static QString areaCaption(const QString& area);

public slots:
    void optKumpulan3_Click();
    void cboRegion_Click();

protected:
    void Form_Load() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildUi();
    void fillList();
    QVariant showRow(const QString& name);
    bool check();
    Written write(bool isNew, const QVariant& key);
    bool canErase(const QVariant& key);
    void sendWelcome();
    void afterCancel();
    void leftEdit();
    void hideArea();
    void reserveAreaRoom();
    QString chosenGroup() const;
    // The logged-in user changed his own row: the main window hears of it through the session.
    void ownRenamed(const QString& name);
    // True when the form closes: he gave up user administration at once.
    bool ownGroupChanged(const QString& group);

    RecordCycle* cycle_ = nullptr;
    QString smtpHost_;
    QString smtpPort_;
    QString area_;        // the area last chosen (or the shown row's Tadbir)
    QString nameBefore_;  // the name and identifier of the row when Update was pressed
    QString idBefore_;
    bool adding_ = false;
    bool closeAfterSave_ = false;
};

} // namespace zorva

#pragma once
#include "net/NetBios.h"
#include "platform/FormBase.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QGridLayout;

namespace zorva {

class TelnetProbe;

// What both address-in-use windows share: the address and note handed in by the opener, the
// name-table query started at load, the gather sequence behind "Detail Info ...", and the
// telnet greeting capture. The two windows differ in their field controls and in what they do
// at the start of the gathering and on closing.
class AddressInfoWindow : public FormBase {
    Q_OBJECT
public:
    explicit AddressInfoWindow(QWidget* parent = nullptr);
    ~AddressInfoWindow() override;

    // Set by the opener before the window loads.
    QString liveInfoAddress;
    QString liveInfoNote;

    QPlainTextEdit* txtResult = nullptr;
    QLabel* lblTelahGuna = nullptr;
    QPushButton* cmdGetInfo = nullptr;
    TelnetProbe* objWinsock = nullptr;

    // What the gathering found.
    QString hostName() const { return host_; }
    NetBiosInfo nameTable() const { return table_; }

public slots:
    void cmdGetInfo_Click();
    void objWinsock_DataArrival(const QString& greeting);

protected:
    // The four field controls (QLineEdit or QLabel) in the order host name, work group,
    // LAN ID, MAC address, and the address control.
    struct Fields {
        QWidget* address;
        QWidget* hostName;
        QWidget* workGroup;
        QWidget* lanId;
        QWidget* macAddress;
    };
    // Lays out the labelled fields, the extra-info box, the note and the button.
    void buildCommonUi(const Fields& fields, const QString& note);
    // Shows the note and address and starts the name-table query.
    void loadCommon(bool startQuery);

    // Step after the host lookup; false stops the gathering (after the telnet probe).
    virtual bool afterHostLookup() = 0;
    virtual void showUnreadableTable() = 0;
    virtual void closeWindow() = 0;

    // Connects to the telnet service of the address; the greeting lands in "Extra Info :".
    void startTelnetProbe();
    void finishGathering();
    static void setFieldText(QWidget* field, const QString& text);

private:
    void gather();

    Fields fields_{};
    NameTableQuery* query_ = nullptr;
    QString host_;
    NetBiosInfo table_;
};

} // namespace zorva

#pragma once
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTimer>

class QUdpSocket;

namespace zorva {

// What a machine's NetBIOS name table tells about it.
struct NetBiosInfo {
    bool hostNotFound = true; // no (usable) answer came
    QString computerName;     // its own <00> unique name
    QString workGroup;        // the first <00> group name
    QString lanId;            // the logged-on user: a <03> unique name other than its own
    QString macAddress;       // "00-0C-29-AB-CD-EF"
};

// One entry of a name table.
struct NetBiosName {
    QString name;   // without the blank padding
    quint8 suffix = 0;
    bool group = false;
};

// The node-status request for the name "*" (UDP port 137).
QByteArray nodeStatusRequest(quint16 transactionId);
// Reads a node-status reply. Anything that is not a complete, consistent reply to that
// transaction (truncated, lengths that point past the end, a question, an error code) gives
// hostNotFound and nothing else.
NetBiosInfo parseNodeStatus(const QByteArray& reply, quint16 transactionId);
// The four items from a name table and the adapter address bytes.
NetBiosInfo netBiosInfoFrom(const QList<NetBiosName>& names, const QByteArray& unitId);

// Asks a machine for its name table without blocking; the answer is kept until read. The
// request is repeated a few times within the time limit, as UDP may lose it.
class NameTableQuery : public QObject {
    Q_OBJECT
public:
    explicit NameTableQuery(QObject* parent = nullptr);
    ~NameTableQuery() override;

    // Port of the NetBIOS name service; tests point it at their own responder.
    static quint16 defaultPort;

    void start(const QString& address, quint16 port = defaultPort, int timeoutMs = 1500);
    bool isStarted() const { return started_; }
    bool isFinished() const { return finished_; }
    // Waits (running the event loop) until the answer came or the time limit passed.
    NetBiosInfo waitForResult();
    NetBiosInfo result() const { return result_; }

signals:
    void finished();

private:
    void sendRequest();
    void readReplies();
    void finish();

    QUdpSocket* socket_ = nullptr;
    QTimer resend_;
    QTimer limit_;
    QHostAddress address_;
    quint16 port_ = 137;
    quint16 transaction_ = 0;
    bool started_ = false;
    bool finished_ = false;
    NetBiosInfo result_;
};

// The remark of a host in the list of `smbclient -g -N -L` ("Server|NAME|remark" lines); the
// host name may be a full DNS name of which the first part is the NetBIOS name. Empty if none.
QString neighbourRemark(const QString& listing, const QString& hostName);
// Runs smbclient against the address when it is installed and returns the host's remark.
QString readNeighbourRemark(const QString& address, const QString& hostName, int timeoutMs = 5000);

} // namespace zorva

#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QTcpServer>
#include <QUdpSocket>

#include <functional>

namespace zorva::test {

// One name of a name table as a responder registers it.
struct TableName {
    QByteArray name; // at most 15 characters
    quint8 suffix;
    bool group;
};

// A node-status reply to that transaction with the names and the adapter address.
QByteArray nodeStatusReply(quint16 transactionId, const QList<TableName>& names,
                           const QByteArray& mac);

// Answers NetBIOS node-status queries on 127.0.0.1 (a free port). `answer` turns the request
// into the reply; by default the name table of a Windows machine with a user logged on.
class NetBiosResponder : public QObject {
public:
    NetBiosResponder();
    quint16 port() const { return socket_.localPort(); }
    int queries = 0;
    std::function<QByteArray(const QByteArray& request)> answer;
    static QList<TableName> windowsTable(); // PC-042 in work group FINANCE, user AHMAD
private:
    QUdpSocket socket_;
};

// A telnet service on 127.0.0.1: asks for the terminal type, echo and window size, and greets
// once the terminal type has come; `received` keeps everything the client sent. Like a service
// on a pseudo-terminal it may send the greeting in parts, `partGapMs` apart, and may close
// right after the last.
class TelnetService : public QObject {
public:
    explicit TelnetService(QByteArray greeting);
    quint16 port() const { return server_.serverPort(); }
    QByteArray received;
    int connections = 0;
    QList<QByteArray> laterParts;
    int partGapMs = 40;
    bool closeAfterGreeting = false;
private:
    void sendLaterParts(QTcpSocket* s, QList<QByteArray> parts);
    QTcpServer server_;
    QByteArray greeting_;
};

// A small HTTP server on 127.0.0.1: GET of a known path returns its body; with `silent` it
// accepts connections and never answers.
class HttpServer : public QObject {
public:
    HttpServer();
    quint16 port() const { return server_.serverPort(); }
    QHash<QByteArray, QByteArray> files; // path -> body
    bool silent = false;
    QList<QByteArray> requests; // request lines
private:
    QTcpServer server_;
};

} // namespace zorva::test

#pragma once
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;

namespace zorva {

// The result of walking received telnet bytes: the printable text and the answers to send.
struct TelnetWalk {
    QByteArray text;
    QByteArray replies;
};

// Walks received bytes: text is kept, option requests are answered (we will do binary,
// terminal type and echo; we refuse the rest), the terminal type asked for is "TTY".
// A command cut at the end of a chunk is kept in *pending and finished with the next chunk.
TelnetWalk walkTelnet(const QByteArray& chunk, QByteArray* pending = nullptr);
// The greeting without its "Username :", "Login :" and "Password :" prompts.
QString removeLoginPrompts(QString text);

// Connects to a telnet service, negotiates, and reports the first text it sends (without its
// prompts); then closes. When the connection fails, or no text has come within the time
// limit, it closes and reports nothing.
class TelnetProbe : public QObject {
    Q_OBJECT
public:
    explicit TelnetProbe(QObject* parent = nullptr);
    ~TelnetProbe() override;

    static quint16 defaultPort; // 23; tests point it at their own service

    void connectTo(const QString& address, quint16 port = defaultPort, int timeoutMs = 5000);
    void close();
    bool isClosed() const;

signals:
    void greeting(const QString& text);
    void ended(); // closed, failed or timed out

private:
    void dataArrival();

    QTcpSocket* socket_ = nullptr;
    QTimer limit_;
    QByteArray pending_;
};

} // namespace zorva

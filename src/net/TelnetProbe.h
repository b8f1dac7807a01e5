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

// The greeting's text gathered over several arrivals. A bare carriage return travels as CR NUL;
// the NUL is dropped. A service on a pseudo-terminal often sends its first line end alone and
// the banner a moment later, so the greeting counts as begun only once it holds a visible
// character.
class TelnetGreeting {
public:
    static constexpr qsizetype kMaxSize = 4096; // a service that never stops talking
    void add(const QByteArray& text);
    bool hasVisibleText() const { return visible_; }
    bool isFull() const { return text_.size() >= kMaxSize; }
    const QByteArray& text() const { return text_; }
    void clear() { *this = {}; }

private:
    QByteArray text_;
    bool visible_ = false;
    bool afterCr_ = false;
};

// Connects to a telnet service, negotiates, and reports the text it sends (without its
// prompts) once a visible character has come and the service has been quiet for a moment;
// then closes. When the connection fails, or no text has come within the time limit, it
// closes and reports nothing; blank text only is reported at the time limit.
class TelnetProbe : public QObject {
    Q_OBJECT
public:
    explicit TelnetProbe(QObject* parent = nullptr);
    ~TelnetProbe() override;

    static quint16 defaultPort; // 23; tests point it at their own service
    static constexpr int kQuietMs = 150; // the rest of a banner follows within this time

    void connectTo(const QString& address, quint16 port = defaultPort, int timeoutMs = 5000);
    void close();
    bool isClosed() const;

signals:
    void greeting(const QString& text);
    void ended(); // closed, failed or timed out

private:
    void dataArrival();
    void report(); // the greeting gathered so far, if any; then closes

    QTcpSocket* socket_ = nullptr;
    QTimer limit_;
    QTimer quiet_;
    QByteArray pending_;
    TelnetGreeting text_;
};

} // namespace zorva

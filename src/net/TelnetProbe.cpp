#include "net/TelnetProbe.h"

#include <QTcpSocket>

namespace zorva {

namespace {
constexpr quint8 IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr quint8 OptBinary = 0, OptEcho = 1, OptTerminalType = 24;
} // namespace

TelnetWalk walkTelnet(const QByteArray& chunk, QByteArray* pending) {
    const QByteArray in = (pending ? *pending : QByteArray()) + chunk;
    if (pending) pending->clear();
    TelnetWalk w;
    qsizetype i = 0;
    auto keepRest = [&](qsizetype from) {
        if (pending) *pending = in.mid(from);
    };
    while (i < in.size()) {
        const quint8 b = quint8(in[i]);
        if (b != IAC) {
            w.text.append(char(b));
            ++i;
            continue;
        }
        if (i + 1 >= in.size()) {
            keepRest(i);
            break;
        }
        const quint8 cmd = quint8(in[i + 1]);
        if (cmd == IAC) {
            w.text.append(char(IAC));
            i += 2;
        } else if (cmd == SB) {
            // a sub-negotiation runs to IAC SE; wait for all of it
            qsizetype end = -1;
            for (qsizetype k = i + 2; k + 1 < in.size(); ++k)
                if (quint8(in[k]) == IAC && quint8(in[k + 1]) == SE) {
                    end = k;
                    break;
                }
            if (end < 0 || i + 2 >= in.size()) {
                keepRest(i);
                break;
            }
            if (quint8(in[i + 2]) == OptTerminalType)
                w.replies.append("\xff\xfa\x18\x00TTY\xff\xf0", 9);
            i = end + 2;
        } else if (cmd == DO || cmd == DONT || cmd == WILL || cmd == WONT) {
            if (i + 2 >= in.size()) {
                keepRest(i);
                break;
            }
            const quint8 opt = quint8(in[i + 2]);
            const bool wanted = opt == OptBinary || opt == OptTerminalType || opt == OptEcho;
            const quint8 answer = wanted ? (cmd == DO ? WILL : DO) : (cmd == DO ? WONT : DONT);
            w.replies.append(char(IAC)).append(char(answer)).append(char(opt));
            i += 3;
        } else {
            i += 2; // SE and every other two-byte command
        }
    }
    return w;
}

QString removeLoginPrompts(QString text) {
    for (const char* prompt : {"Username :", "Login :", "Password :"})
        text.remove(QLatin1String(prompt));
    return text;
}

void TelnetGreeting::add(const QByteArray& text) {
    for (const char c : text) {
        if (isFull()) return;
        const bool nulAfterCr = c == '\0' && afterCr_;
        afterCr_ = c == '\r';
        if (nulAfterCr) continue;
        text_.append(c);
        const quint8 b = quint8(c);
        visible_ = visible_ || (b > 0x20 && b != 0x7f);
    }
}

quint16 TelnetProbe::defaultPort = 23;

TelnetProbe::TelnetProbe(QObject* parent) : QObject(parent) {
    limit_.setSingleShot(true);
    quiet_.setSingleShot(true);
    connect(&limit_, &QTimer::timeout, this, &TelnetProbe::report);
    connect(&quiet_, &QTimer::timeout, this, &TelnetProbe::report);
}

TelnetProbe::~TelnetProbe() = default;

void TelnetProbe::connectTo(const QString& address, quint16 port, int timeoutMs) {
    close();
    pending_.clear();
    text_.clear();
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::readyRead, this, &TelnetProbe::dataArrival);
    // A service that closes right after its banner: what came before the end is reported.
    const auto ending = [this] {
        dataArrival();
        report();
    };
    connect(socket_, &QTcpSocket::disconnected, this, ending);
    connect(socket_, &QTcpSocket::errorOccurred, this, ending);
    limit_.start(timeoutMs);
    socket_->connectToHost(address, port);
}

void TelnetProbe::close() {
    limit_.stop();
    quiet_.stop();
    if (!socket_) return;
    QTcpSocket* s = socket_;
    socket_ = nullptr;
    s->disconnect(this);
    s->abort();
    s->deleteLater();
    emit ended();
}

bool TelnetProbe::isClosed() const { return socket_ == nullptr; }

void TelnetProbe::dataArrival() {
    if (!socket_) return;
    const TelnetWalk w = walkTelnet(socket_->readAll(), &pending_);
    if (!w.replies.isEmpty()) socket_->write(w.replies);
    if (w.text.isEmpty()) return;
    text_.add(w.text);
    if (text_.isFull()) report();
    else if (text_.hasVisibleText()) quiet_.start(kQuietMs);
}

void TelnetProbe::report() {
    if (!socket_) return;
    if (!text_.text().isEmpty()) {
        socket_->flush();
        emit greeting(removeLoginPrompts(QString::fromLatin1(text_.text())));
    }
    close();
}

} // namespace zorva

#include "net/NetBios.h"

#include <QEventLoop>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUdpSocket>

namespace zorva {

namespace {

constexpr quint16 kTypeNbstat = 0x0021;
constexpr quint16 kClassIn = 0x0001;

// Bounds-checked reading of a reply.
class Reader {
public:
    explicit Reader(const QByteArray& data) : d_(data) {}
    bool ok() const { return ok_; }
    int pos() const { return pos_; }
    bool has(int n) const { return ok_ && n >= 0 && pos_ + n <= d_.size(); }
    quint8 u8() {
        if (!has(1)) return fail();
        return quint8(d_[pos_++]);
    }
    quint16 u16() {
        if (!has(2)) return fail();
        const quint16 v = quint16(quint8(d_[pos_]) << 8 | quint8(d_[pos_ + 1]));
        pos_ += 2;
        return v;
    }
    QByteArray bytes(int n) {
        if (!has(n)) {
            fail();
            return {};
        }
        const QByteArray b = d_.mid(pos_, n);
        pos_ += n;
        return b;
    }
    void skip(int n) {
        if (!has(n)) fail();
        else pos_ += n;
    }
    // Skips an encoded name: labels ending in a zero byte, or a compression pointer.
    void skipName() {
        for (int labels = 0; labels < 64 && ok_; ++labels) {
            const quint8 len = u8();
            if (!ok_ || len == 0) return;
            if ((len & 0xC0) == 0xC0) {
                skip(1);
                return;
            }
            if (len & 0xC0) {
                fail();
                return;
            }
            skip(len);
        }
        fail();
    }
    quint8 fail() {
        ok_ = false;
        return 0;
    }

private:
    const QByteArray& d_;
    int pos_ = 0;
    bool ok_ = true;
};

} // namespace

QByteArray nodeStatusRequest(quint16 transactionId) {
    QByteArray p;
    p.append(char(transactionId >> 8)).append(char(transactionId & 0xff));
    p.append("\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00", 10); // flags, one question
    p.append(char(0x20));
    QByteArray name(16, '\0');
    name[0] = '*';
    for (char c : name) {
        const quint8 b = quint8(c);
        p.append(char('A' + (b >> 4))).append(char('A' + (b & 0x0f)));
    }
    p.append(char(0));
    p.append(char(kTypeNbstat >> 8)).append(char(kTypeNbstat & 0xff));
    p.append(char(kClassIn >> 8)).append(char(kClassIn & 0xff));
    return p;
}

NetBiosInfo netBiosInfoFrom(const QList<NetBiosName>& names, const QByteArray& unitId) {
    NetBiosInfo info;
    info.hostNotFound = false;
    for (const NetBiosName& n : names) {
        if (n.suffix != 0x00) continue;
        if (!n.group && info.computerName.isEmpty()) info.computerName = n.name;
        if (n.group && info.workGroup.isEmpty()) info.workGroup = n.name;
    }
    for (const NetBiosName& n : names) {
        if (n.suffix != 0x03 || n.group) continue;
        if (n.name.compare(info.computerName, Qt::CaseInsensitive) == 0) continue;
        info.lanId = n.name;
        break;
    }
    // What cannot be a user name is left out: a name that is a blank and nothing after it,
    // and a number above 15.
    const qsizetype blank = info.lanId.indexOf(QLatin1Char(' '));
    if (blank >= 0 && info.lanId.mid(blank + 1).trimmed().isEmpty()) info.lanId.clear();
    bool numeric = false;
    const int number = info.lanId.toInt(&numeric);
    if (numeric && number > 15) info.lanId.clear();
    QStringList hex;
    for (char c : unitId.left(6)) hex << QStringLiteral("%1").arg(quint8(c), 2, 16, QLatin1Char('0')).toUpper();
    info.macAddress = hex.join(QLatin1Char('-'));
    return info;
}

NetBiosInfo parseNodeStatus(const QByteArray& reply, quint16 transactionId) {
    Reader r(reply);
    const quint16 id = r.u16();
    const quint16 flags = r.u16();
    const quint16 questions = r.u16();
    const quint16 answers = r.u16();
    r.skip(4); // authority and additional counts
    // a response (bit 15), opcode query, no error code
    if (!r.ok() || id != transactionId || !(flags & 0x8000) || (flags & 0x7800) ||
        (flags & 0x000f) || questions != 0 || answers < 1)
        return {};
    r.skipName();
    const quint16 type = r.u16();
    const quint16 klass = r.u16();
    r.skip(4); // time to live
    const quint16 rdLength = r.u16();
    if (!r.ok() || type != kTypeNbstat || klass != kClassIn || !r.has(rdLength)) return {};
    const QByteArray rdata = r.bytes(rdLength);
    Reader d(rdata);
    const int count = d.u8();
    QList<NetBiosName> names;
    for (int i = 0; i < count; ++i) {
        const QByteArray raw = d.bytes(15);
        const quint8 suffix = d.u8();
        const quint16 nameFlags = d.u16();
        if (!d.ok()) return {};
        QString name = QString::fromLatin1(raw);
        while (name.endsWith(QLatin1Char(' ')) || name.endsWith(QChar(0))) name.chop(1);
        names << NetBiosName{name, suffix, bool(nameFlags & 0x8000)};
    }
    const QByteArray unitId = d.bytes(6);
    if (!d.ok()) return {};
    return netBiosInfoFrom(names, unitId);
}

quint16 NameTableQuery::defaultPort = 137;

NameTableQuery::NameTableQuery(QObject* parent) : QObject(parent) {
    resend_.setInterval(500);
    limit_.setSingleShot(true);
    connect(&resend_, &QTimer::timeout, this, &NameTableQuery::sendRequest);
    connect(&limit_, &QTimer::timeout, this, &NameTableQuery::finish);
}

NameTableQuery::~NameTableQuery() = default;

void NameTableQuery::start(const QString& address, quint16 port, int timeoutMs) {
    started_ = true;
    finished_ = false;
    result_ = {};
    address_ = QHostAddress(address);
    port_ = port;
    transaction_ = quint16(QRandomGenerator::global()->bounded(1, 0x10000));
    delete socket_;
    socket_ = new QUdpSocket(this);
    if (address_.protocol() != QAbstractSocket::IPv4Protocol ||
        !socket_->bind(QHostAddress(QHostAddress::AnyIPv4), 0)) {
        finish();
        return;
    }
    connect(socket_, &QUdpSocket::readyRead, this, &NameTableQuery::readReplies);
    sendRequest();
    resend_.start();
    limit_.start(timeoutMs);
}

void NameTableQuery::sendRequest() {
    if (socket_ && !finished_) socket_->writeDatagram(nodeStatusRequest(transaction_), address_, port_);
}

void NameTableQuery::readReplies() {
    while (!finished_ && socket_ && socket_->hasPendingDatagrams()) {
        // whole datagrams: a table of many names is several kilobytes long
        const QNetworkDatagram d = socket_->receiveDatagram();
        if (!d.isValid() || !d.senderAddress().isEqual(address_, QHostAddress::TolerantConversion))
            continue;
        const NetBiosInfo info = parseNodeStatus(d.data(), transaction_);
        if (info.hostNotFound) continue; // not an answer we can use; wait for another
        result_ = info;
        finish();
    }
}

void NameTableQuery::finish() {
    if (finished_) return;
    finished_ = true;
    resend_.stop();
    limit_.stop();
    if (socket_) socket_->close();
    emit finished();
}

NetBiosInfo NameTableQuery::waitForResult() {
    if (!started_) return {};
    if (!finished_) {
        QEventLoop loop;
        connect(this, &NameTableQuery::finished, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return result_;
}

QString neighbourRemark(const QString& listing, const QString& hostName) {
    const QString host = hostName.trimmed();
    if (host.isEmpty()) return {};
    const QString shortName = host.section(QLatin1Char('.'), 0, 0);
    const QStringList lines = listing.split(QLatin1Char('\n'));
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        const QStringList f = line.split(QLatin1Char('|'));
        if (f.size() < 3 || f[0] != QLatin1String("Server")) continue;
        const QString name = f[1].trimmed();
        if (name.compare(host, Qt::CaseInsensitive) != 0 &&
            name.compare(shortName, Qt::CaseInsensitive) != 0)
            continue;
        QString remark = f.mid(2).join(QLatin1Char('|'));
        while (remark.startsWith(QLatin1Char(' ')) || remark.startsWith(QLatin1Char('\t')))
            remark.remove(0, 1);
        return remark;
    }
    return {};
}

QString readNeighbourRemark(const QString& address, const QString& hostName, int timeoutMs) {
    const QString smbclient = QStandardPaths::findExecutable(QStringLiteral("smbclient"));
    if (smbclient.isEmpty() || hostName.trimmed().isEmpty()) return {};
    QProcess p;
    p.start(smbclient, {QStringLiteral("-g"), QStringLiteral("-N"), QStringLiteral("-L"), address});
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    return neighbourRemark(QString::fromLocal8Bit(p.readAllStandardOutput()), hostName);
}

} // namespace zorva

#include "support/NetRig.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <cstring>
#include <sched.h>

namespace zorva::test {

QString runIp(const QStringList& args) {
    const QString ip = QStandardPaths::findExecutable(
        QStringLiteral("ip"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                               QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (ip.isEmpty()) return QStringLiteral("the \"ip\" tool (package iproute2) is not installed");
    QProcess p;
    p.start(ip, args);
    if (!p.waitForFinished(10000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("ip %1: %2").arg(args.join(QLatin1Char(' ')),
                                               QString::fromLocal8Bit(p.readAllStandardError()));
    return {};
}

bool setPingGroupRange(const QString& range) {
    QFile f(QStringLiteral("/proc/sys/net/ipv4/ping_group_range"));
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(range.toLatin1() + '\n') > 0;
}

QString enterEmptyNetwork() {
    if (::unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("cannot create a network namespace (%1); run the tests as root")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return runIp({"link", "set", "lo", "up"});
}

QString enterTestNetwork(const QStringList& liveAddresses) {
    if (QString e = enterEmptyNetwork(); !e.isEmpty()) return e;
    const QList<QStringList> steps = {
        {"link", "add", "veth0", "type", "veth", "peer", "name", "veth1"},
        {"link", "set", "veth0", "up"},
        {"link", "set", "veth1", "up"},
        {"addr", "add", "192.0.2.1/24", "dev", "veth0"},
        {"route", "add", "unreachable", "198.51.100.0/24"},
    };
    for (const QStringList& s : steps)
        if (QString e = runIp(s); !e.isEmpty()) return e;
    for (const QString& a : liveAddresses)
        if (QString e = runIp({"addr", "add", a + "/32", "dev", "veth1"}); !e.isEmpty()) return e;
    return {};
}

namespace {

// Starts a process that stands in a network namespace of its own and waits until it does;
// 0 and the reason when it cannot.
qint64 startNamespaceHolder(QString* error) {
    QProcess holder;
    holder.setProgram(QStringLiteral("unshare"));
    holder.setArguments({"-n", "sleep", "600"});
    qint64 pid = 0;
    if (!holder.startDetached(&pid)) {
        *error = QStringLiteral("cannot start \"unshare -n sleep\" (util-linux)");
        return 0;
    }
    const QString mine = QFileInfo(QStringLiteral("/proc/thread-self/ns/net")).symLinkTarget();
    const QString theirs = QStringLiteral("/proc/%1/ns/net").arg(pid);
    for (int i = 0; i < 200 && QFileInfo(theirs).symLinkTarget() == mine; ++i) QThread::msleep(10);
    if (QFileInfo(theirs).symLinkTarget() == mine) {
        *error = QStringLiteral("the peer process did not get a namespace of its own");
        ::kill(pid_t(pid), SIGTERM);
        ::waitpid(pid_t(pid), nullptr, 0);
        return 0;
    }
    return pid;
}

void stopNamespaceHolder(qint64 pid) {
    if (pid <= 0) return;
    ::kill(pid_t(pid), SIGTERM);
    ::waitpid(pid_t(pid), nullptr, 0);
}

// Runs a command in the holder's namespace with `input` on its standard input.
QString runThere(qint64 pid, const QStringList& command, const QByteArray& input = {}) {
    QProcess there;
    there.start(QStringLiteral("nsenter"), QStringList{"-t", QString::number(pid), "-n"} + command);
    there.write(input);
    there.closeWriteChannel();
    if (!there.waitForFinished(30000) || there.exitStatus() != QProcess::NormalExit || there.exitCode() != 0)
        return command.join(QLatin1Char(' ')) + QStringLiteral(": ") + QString::fromLocal8Bit(there.readAllStandardError());
    return {};
}

// Fresh names each time: the pair of an earlier peer may still be on its way out.
std::pair<QString, QString> vethNames() {
    static int serial = 0;
    ++serial;
    return {QStringLiteral("vethP%1a").arg(serial), QStringLiteral("vethP%1b").arg(serial)};
}

} // namespace

TestRouter::TestRouter() {
    qint64 pid = startNamespaceHolder(&error_);
    if (!pid) return;
    pid_ = pid;
    const QString p = QString::number(pid);
    const auto [near, far] = vethNames();
    const QList<QStringList> here = {
        {"link", "add", near, "type", "veth", "peer", "name", far},
        {"link", "set", far, "netns", p},
        {"addr", "replace", "203.0.113.1/24", "dev", near},
        {"link", "set", near, "up"},
        {"route", "replace", "198.18.0.0/23", "via", "203.0.113.2", "dev", near},
    };
    for (const QStringList& s : here)
        if (QString e = runIp(s); !e.isEmpty()) {
            error_ = e;
            return;
        }
    const QString script = QStringLiteral(
        "ip link set lo up && ip addr add 203.0.113.2/24 dev %1 && ip link set %1 up && "
        "ip route add unreachable 198.18.0.0/24 && ip route add 198.18.1.0/24 via 203.0.113.1 && "
        "echo 1 > /proc/sys/net/ipv4/ip_forward").arg(far);
    if (QString e = runThere(pid, {"sh", "-c", script}); !e.isEmpty()) error_ = QStringLiteral("router set-up: ") + e;
}

TestRouter::~TestRouter() { stopNamespaceHolder(pid_); }

PeerBlocks::PeerBlocks(const QStringList& blocks, const QStringList& live) {
    pid_ = startNamespaceHolder(&error_);
    if (!pid_) return;
    const auto [near, far] = vethNames();
    QList<QStringList> here = {
        {"link", "add", near, "type", "veth", "peer", "name", far},
        {"link", "set", far, "netns", QString::number(pid_)},
        {"addr", "replace", "100.64.0.1/30", "dev", near},
        {"link", "set", near, "up"},
    };
    for (const QString& b : blocks) here.append({"route", "replace", b, "via", "100.64.0.2", "dev", near});
    for (const QStringList& step : here)
        if (QString e = runIp(step); !e.isEmpty()) {
            error_ = e;
            return;
        }
    // The moved end may take a moment to show up there.
    for (int i = 0; i < 50 && !runThere(pid_, {"ip", "link", "show", far}).isEmpty(); ++i) QThread::msleep(20);
    QByteArray batch = QStringLiteral("link set lo up\naddr add 100.64.0.2/30 dev %1\nlink set %1 up\n").arg(far).toLatin1();
    for (const QString& b : blocks) batch += "route add blackhole " + b.toLatin1() + '\n';
    if (QString e = runThere(pid_, {"ip", "-batch", "-"}, batch); !e.isEmpty()) {
        error_ = QStringLiteral("peer set-up: ") + e;
        return;
    }
    error_ = setLive(live);
}

QString PeerBlocks::setLive(const QStringList& live) {
    QByteArray batch;
    for (const QString& p : live_)
        if (!live.contains(p)) batch += "route del local " + p.toLatin1() + " dev lo table local\n";
    for (const QString& p : live)
        if (!live_.contains(p)) batch += "route add local " + p.toLatin1() + " dev lo\n";
    live_ = live;
    return batch.isEmpty() ? QString() : runThere(pid_, {"ip", "-batch", "-"}, batch);
}

PeerBlocks::~PeerBlocks() { stopNamespaceHolder(pid_); }

} // namespace zorva::test

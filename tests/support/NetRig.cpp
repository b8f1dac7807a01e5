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

QString enterTestNetwork(const QStringList& liveAddresses) {
    if (::unshare(CLONE_NEWNET) != 0)
        return QStringLiteral("cannot create a network namespace (%1); run the tests as root")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    const QList<QStringList> steps = {
        {"link", "set", "lo", "up"},
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

TestRouter::TestRouter() {
    QProcess holder;
    holder.setProgram(QStringLiteral("unshare"));
    holder.setArguments({"-n", "sleep", "60"});
    qint64 pid = 0;
    if (!holder.startDetached(&pid)) {
        error_ = QStringLiteral("cannot start \"unshare -n sleep\" (util-linux)");
        return;
    }
    pid_ = pid;
    // wait until the child stands in its own namespace
    const QString mine = QFileInfo(QStringLiteral("/proc/thread-self/ns/net")).symLinkTarget();
    const QString theirs = QStringLiteral("/proc/%1/ns/net").arg(pid);
    for (int i = 0; i < 200 && QFileInfo(theirs).symLinkTarget() == mine; ++i) QThread::msleep(10);
    if (QFileInfo(theirs).symLinkTarget() == mine) {
        error_ = QStringLiteral("the router process did not get a namespace of its own");
        return;
    }
    const QString p = QString::number(pid);
    // fresh names each time: the pair of an earlier router may still be on its way out
    static int serial = 0;
    const QString near = QStringLiteral("vethR%1a").arg(++serial);
    const QString far = QStringLiteral("vethR%1b").arg(serial);
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
    QProcess there;
    there.start(QStringLiteral("nsenter"), {"-t", p, "-n", "sh", "-c", script});
    if (!there.waitForFinished(10000) || there.exitCode() != 0)
        error_ = QStringLiteral("router set-up: ") + QString::fromLocal8Bit(there.readAllStandardError());
}

TestRouter::~TestRouter() {
    if (pid_ > 0) {
        ::kill(pid_t(pid_), SIGTERM);
        ::waitpid(pid_t(pid_), nullptr, 0);
    }
}

} // namespace zorva::test

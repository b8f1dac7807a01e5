#include "support/NetRig.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
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

} // namespace zorva::test

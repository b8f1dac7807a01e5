// Probes a /24 of which a handful of addresses answer, once one address after the other with
// the assignment form's rule and once with the parallel sweep, inside a private network
// namespace, and checks that both give the same answers.
#include "net/IcmpEcho.h"
#include "support/NetRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace zorva;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList live = {"192.0.2.10", "192.0.2.20", "192.0.2.77", "192.0.2.150",
                              "192.0.2.254"};
    if (const QString why = test::enterTestNetwork(live); !why.isEmpty()) {
        std::fprintf(stderr, "scan_sweep: %s\n", qPrintable(why));
        return 2;
    }
    QStringList addresses;
    for (int i = 1; i <= 254; ++i) addresses << QStringLiteral("192.0.2.%1").arg(i);
    IcmpPinger pinger;
    QElapsedTimer t;
    t.start();
    const QList<PingResult> serial = pinger.Pinger::sweep(addresses);
    const double serialS = t.nsecsElapsed() / 1e9;
    t.restart();
    const QList<PingResult> parallel = pinger.sweep(addresses);
    const double parallelS = t.nsecsElapsed() / 1e9;
    int differences = 0, answering = 0;
    for (int i = 0; i < addresses.size(); ++i) {
        if (serial[i].message != parallel[i].message) {
            ++differences;
            std::fprintf(stderr, "%s: serial \"%s\", parallel \"%s\"\n", qPrintable(addresses[i]),
                         qPrintable(serial[i].message), qPrintable(parallel[i].message));
        }
        if (!parallel[i].failed) ++answering;
    }
    std::printf("answering: %d of %d (expected %d, with the namespace's own 192.0.2.1)\n",
                answering, int(addresses.size()), int(live.size()) + 1);
    std::printf("same answers: %s\n", differences ? "NO" : "yes");
    std::printf("scan_sweep: serial %.2f s, parallel %.2f s, ratio %.1f\n", serialS, parallelS,
                serialS / parallelS);
    return differences || answering != live.size() + 1 ? 1 : 0;
}

// The scan of a /24 (1-254) with a handful of live hosts, none recorded, in a private network
// namespace: walked by the assignment form's scan walk once with one echo after the other and
// once as the program does it (a parallel sweep first), answering Yes to every pause and
// going on after each offered host as after a save. Both must offer the same hosts in order.
// "built" as the only argument skips the slow one-by-one walk.
#include "assign/ScanWalk.h"
#include "support/NetRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <cstdio>

using namespace zorva;

namespace {
const QString kPrefix = QStringLiteral("192.0.2.");

// Says Yes to every pause and remembers the offered hosts.
struct BenchHost : ScanHost {
    QList<int> offers;
    bool done = false;
    int pauses = 0;
    void scanShowAddress(const QString&) override {}
    void scanShowProgress(const QString&) override {}
    bool scanAskProceed() override {
        ++pauses;
        return true;
    }
    void scanOffer(int octet4) override { offers << octet4; }
    void scanFinished(bool) override { done = true; }
};

struct Run {
    QList<int> offers;
    int pauses = 0;
    double seconds = 0;
};

Run walkRange(ScanWalk::Probing probing) {
    BenchHost host;
    ScanPosition position;
    ScanWalk walk(host, position);
    walk.setProbing(probing);
    ScanPlan plan;
    plan.prefix = kPrefix;
    plan.start = 1;
    plan.end = 254;
    plan.jumRange = 254;
    QElapsedTimer t;
    t.start();
    walk.prepare(plan.start);
    if (walk.bigScanDue(plan.jumRange)) walk.startChosen(); // the first start of the dialog
    while (!host.done) {
        QEventLoop loop;
        QObject::connect(&walk, &ScanWalk::ended, &loop, &QEventLoop::quit);
        walk.run(plan);
        loop.exec();
        walk.prepare(plan.start); // nothing saved: the walk goes on after the offered host
    }
    return {host.offers, host.pauses, t.nsecsElapsed() / 1e9};
}

QString octets(const QList<int>& list) {
    QStringList s;
    for (int o : list) s << QString::number(o);
    return s.join(QLatin1Char(' '));
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool builtOnly = app.arguments().contains(QStringLiteral("built"));
    const QStringList live = {"192.0.2.10", "192.0.2.20", "192.0.2.77", "192.0.2.150",
                              "192.0.2.254"};
    if (const QString why = test::enterTestNetwork(live); !why.isEmpty()) {
        std::fprintf(stderr, "scan_mode: %s\n", qPrintable(why));
        return 2;
    }
    const Run built = walkRange(ScanWalk::Probing::Swept);
    std::printf("built: offered %s, %d pauses, %.2f s\n", qPrintable(octets(built.offers)),
                built.pauses, built.seconds);
    if (builtOnly) return 0;
    const Run serial = walkRange(ScanWalk::Probing::OneByOne);
    std::printf("serial: offered %s, %d pauses, %.2f s\n", qPrintable(octets(serial.offers)),
                serial.pauses, serial.seconds);
    const bool same = serial.offers == built.offers && serial.pauses == built.pauses;
    std::printf("scan_mode: serial %.2f s, built %.2f s, ratio %.1f, same hosts %s\n",
                serial.seconds, built.seconds, serial.seconds / built.seconds, same ? "yes" : "no");
    return same ? 0 : 1;
}

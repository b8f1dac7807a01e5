// The assignment form's free-address search on a large inventory: for 200 random ranges, the
// range listing plus the candidate (the form's own functions, without the echo). Also times a
// few listings with the former index on IP_4 alone put back, the plain way it replaced.
//   bench_assign_candidate [--pg] [inventory file: written there on the first run, reused (and
//   upgraded) on the next ones]
// With --pg (inside tools/with-postgres.sh) the inventory is migrated to the server and timed
// there.
#include "assign/FreeAddress.h"
#include "platform/Database.h"
#include "platform/Schema.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <ctime>

using namespace zorva;

namespace {

struct Timing {
    double median = 0, worst = 0, p95 = 0, worstCpu = 0;
};

double threadCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

Timing measure(QSqlDatabase db, const QStringList& prefixes, int samples, quint32 seed,
               int* offered) {
    std::mt19937 rng(seed);
    std::vector<double> ms, cpu;
    for (int i = 0; i < samples; ++i) {
        const QString prefix = prefixes[int(rng() % prefixes.size())];
        int a = int(rng() % 256), b = int(rng() % 256);
        if (a > b) std::swap(a, b);
        QElapsedTimer t;
        const double cpu0 = threadCpuMs();
        t.start();
        const auto rows = listRange(db, prefix, {a, b});
        if (!rows) {
            std::fprintf(stderr, "listing failed\n");
            std::exit(1);
        }
        const Candidate c = findCandidate({a, b}, fourthOctets(*rows));
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(threadCpuMs() - cpu0);
        if (!c.full) ++*offered;
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back(), ms[ms.size() * 95 / 100],
            *std::max_element(cpu.begin(), cpu.end())};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Zorvadb.mdb"));
    bench::InventoryOptions options;
    QStringList prefixes;
    if (args.size() > 1) path = args.at(1);
    if (args.size() > 1 && QFile::exists(path)) {
        QSqlDatabase db = openDatabaseFile(path, QStringLiteral("prefixes"));
        auto q = runSqlOn(db, QStringLiteral("SELECT DISTINCT substr(IP_Address, 1, "
                                             "length(IP_Address) - length(IP_4)) FROM IP_Info"));
        while (q && q->next()) prefixes << q->value(0).toString();
    } else {
        QString error;
        const bench::Inventory inv = bench::createInventoryFile(path, options, &error);
        if (inv.rows != options.rows) {
            std::fprintf(stderr, "inventory: %s\n", qPrintable(error));
            return 1;
        }
        prefixes = inv.prefixes;
    }
    if (prefixes.isEmpty()) {
        std::fprintf(stderr, "inventory: %s holds no addresses\n", qPrintable(path));
        return 1;
    }
    QString error;
    std::optional<DatabaseServer> server;
    if (onServer && !(server = bench::benchServer(path, &error))) {
        std::fprintf(stderr, "server: %s\n", qPrintable(error));
        return 1;
    }
    QSqlDatabase db = server ? openDatabaseServer(*server, QStringLiteral("bench"))
                             : openDatabaseFile(path, QStringLiteral("bench"));
    if (!upgradeSchema(db, &error)) {
        std::fprintf(stderr, "upgrade: %s\n", qPrintable(error));
        return 1;
    }
    qint64 rows = 0;
    if (auto q = runSqlOn(db, QStringLiteral("SELECT count(*) FROM IP_Info")); q && q->next())
        rows = q->value(0).toLongLong();
    int offered = 0;
    measure(db, prefixes, 20, 7, &offered); // warm the cache
    offered = 0;
    const Timing now = measure(db, prefixes, 200, 20240601, &offered);

    // The plain way: the same listings with the single-column IP_4 index present.
    runSqlOn(db, QStringLiteral("CREATE INDEX bench_IP_4 ON IP_Info (IP_4)"));
    int ignored = 0;
    const Timing plain = measure(db, prefixes, 10, 20240601, &ignored);
    runSqlOn(db, QStringLiteral("DROP INDEX bench_IP_4"));
    QElapsedTimer t;
    t.start();
    upgradeSchema(db, &error);
    const double upgradeMs = t.nsecsElapsed() / 1e6;

    std::printf("offered a candidate in %d of 200 ranges\n", offered);
    std::printf("with an index on IP_4 alone: median %.2f ms, worst %.2f ms (10 ranges); "
                "ratio of medians %.0f\n",
                plain.median, plain.worst, plain.median / now.median);
    std::printf("95th percentile %.2f ms; worst processor time of one search %.2f ms (the rest "
                "of a worse wall time is the shared machine)\n",
                now.p95, now.worstCpu);
    std::printf("UpgradeSchema on the upgraded file: %.1f ms\n", upgradeMs);
    std::printf("assign_candidate%s: rows %lld, median %.2f ms, worst %.2f ms\n",
                server ? " pg" : "", rows, now.median, now.worst);
    db = {};
    closeAllConnections();
    if (server) bench::dropBenchServer(*server);
    return 0;
}

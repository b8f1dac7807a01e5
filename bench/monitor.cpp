// What the monitor costs: a sweep of 127.0.0.0/24 and of 127.0.0.0/16 at 20,000 echoes per
// second (every loopback address answers), with the longest time the owning thread's event
// loop was held up (a window would freeze that long); the write of 65,536 results; the views
// over an inventory of a million records, with the plan each engine chose.
// Usage: bench_monitor [--pg] [records] (inside tools/with-postgres.sh for --pg)
#include "monitor/MonitorSweep.h"
#include "monitor/MonitorViews.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/SqlDialect.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace zorva;

namespace {

// The process's peak resident memory in MB.
double peakMb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

struct Swept {
    double seconds = 0;
    qint64 live = 0;
    qint64 stallMs = 0;
    bool ok = false;
};

// One sweep of the watch, timing the gaps between ticks of a 10 ms timer meanwhile.
Swept sweep(const QString& watch) {
    MonitorSweep s(database());
    SweepOptions o;
    o.lookupNames = false;
    o.timeoutMs = 1000;
    o.attempts = 1;
    s.setOptions(o);
    QElapsedTimer gap;
    qint64 longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = qMax(longest, gap.restart());
    });
    gap.start();
    tick.start(10);
    const auto outcome = s.run(watch);
    // The record of the results ends the run: the loop stops before a tick could tell of it.
    longest = qMax(longest, gap.elapsed());
    tick.stop();
    if (outcome != MonitorSweep::Outcome::Done)
        std::fprintf(stderr, "monitor: %s: %s\n", qPrintable(watch), qPrintable(s.message()));
    return {s.seconds(), s.counts().live, longest, outcome == MonitorSweep::Outcome::Done};
}

void explain(const QString& sql) {
    QSqlDatabase db = database();
    const QString prefix = isServer(db) ? QStringLiteral("EXPLAIN ") : QStringLiteral("EXPLAIN QUERY PLAN ");
    QSqlQuery q(db);
    if (!q.exec(prefix + sqlFor(db, sql))) return;
    while (q.next()) std::printf("    %s\n", qPrintable(q.value(q.record().count() - 1).toString()));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("Zorvadb.mdb"));
    QString error;
    bench::InventoryOptions options;
    options.rows = args.size() > 1 ? qMax(1000, args[1].toInt()) : 1000000;
    if (bench::createInventoryFile(path, options, &error).rows != options.rows) {
        std::fprintf(stderr, "monitor: %s\n", qPrintable(error));
        return 1;
    }
    appState().gDbPath = path;
    if (onServer && !(serverInUse() = bench::benchServer(path, &error))) {
        std::fprintf(stderr, "monitor: %s\n", qPrintable(error));
        return 1;
    }
    MonitorStore store(database());
    for (const auto& [name, scope] : {std::pair{"slash24", "127.0.0.0/24"}, std::pair{"slash16", "127.0.0.0/16"},
                                      std::pair{"inventory", "10.0.0.0/16"}}) {
        Watch w;
        w.name = QString::fromLatin1(name);
        w.scope = QString::fromLatin1(scope);
        w.rateLimit = 20000;
        if (!store.addWatch(w, &error)) {
            std::fprintf(stderr, "monitor: %s\n", qPrintable(error));
            return 1;
        }
    }
    const Swept small = sweep(QStringLiteral("slash24"));
    const Swept large = sweep(QStringLiteral("slash16"));
    std::printf("sweep /24: %.2f s, %lld live; /16: %.2f s, %lld live, event loop held up at most %lld ms\n",
                small.seconds, static_cast<long long>(small.live), large.seconds, static_cast<long long>(large.live),
                static_cast<long long>(large.stallMs));

    // The write of a /16 of results over recorded addresses, as a sweep of 10.0.0.0/16 leaves it.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    store.takeLease(QStringLiteral("inventory"), QStringLiteral("bench"), now.addSecs(600), false);
    SweepResult r;
    r.watch = QStringLiteral("inventory");
    r.holder = QStringLiteral("bench");
    r.startedAt = r.endedAt = now;
    r.spans = parseWatchRange(QStringLiteral("10.0.0.0/16"))->spans;
    for (quint32 n = 10u << 24; n < (10u << 24) + 65536; ++n)
        r.sightings.append({n, n % 7 != 0, 1, n % 5 == 0 ? QStringLiteral("h%1.example").arg(n) : QString(), {}});
    QElapsedTimer t;
    t.start();
    const auto counts = store.recordSweep(r, &error);
    std::printf("write of 65536 results: %lld ms%s\n", static_cast<long long>(t.elapsed()),
                counts ? "" : qPrintable(QStringLiteral(" (failed: %1)").arg(error)));

    const QList<std::pair<const char*, std::function<std::optional<MonitorTable>()>>> views = {
        {"live unrecorded", [] { return liveUnrecorded(database(), {}); }},
        {"not seen for 30 days", [] { return recordedNotSeen(database(), 30, {}); }},
        {"never seen", [] { return recordedNeverSeen(database(), {}); }},
        {"names differ", [] { return nameMismatches(database(), {}); }},
        {"hardware", [] { return hardwareAnomalies(database(), {}); }},
        {"last sweep's changes", [] { return lastSweepChanges(database(), {}, {}); }},
    };
    qint64 slowest = 0;
    for (const auto& [name, view] : views) {
        t.restart();
        const auto rows = view();
        const qint64 ms = t.elapsed();
        slowest = qMax(slowest, ms);
        std::printf("view %-22s %6lld ms, %lld rows\n", name, static_cast<long long>(ms),
                    static_cast<long long>(rows ? rows->rows.size() : -1));
    }
    std::printf("plan of \"live unrecorded\":\n");
    explain(QStringLiteral("SELECT s.IP_Address FROM Monitor_Seen s WHERE s.State = 'up' AND s.IP_Num BETWEEN 0 AND 4294967295 "
                           "AND NOT EXISTS (SELECT 1 FROM IP_Info i WHERE i.IP_Address = s.IP_Address)"));
    std::printf("plan of \"not seen for 30 days\":\n");
    explain(QStringLiteral("SELECT s.IP_Address FROM Monitor_Seen s JOIN IP_Info i ON i.IP_Address = s.IP_Address "
                           "WHERE s.LastSeen < '2026-01-01' AND ('' = '' OR i.Region = '') ORDER BY s.IP_Num"));
    if (serverInUse()) bench::dropBenchServer(*serverInUse());
    std::printf("slowest view %lld ms%s\n", static_cast<long long>(slowest), onServer ? " (server)" : "");
    std::printf("monitor: slash24 %.2f s, slash16 %.2f s, live %lld, peak %.0f MB, longest stall %lld ms\n",
                small.seconds, large.seconds, static_cast<long long>(large.live), peakMb(),
                static_cast<long long>(large.stallMs));
    return small.ok && large.ok && counts ? 0 : 1;
}

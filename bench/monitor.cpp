// What the monitor costs: a sweep of a /24 at the defaults and of a /16 at 20,000 echoes per
// second, with the longest time the owning thread's event loop was held up (a window would
// freeze that long) and the peak memory by then; the write of 65,536 results; the views over an
// inventory of a million records, with the plan each engine chose.
// Usage: bench_monitor [--pg] [--rig] [records] (inside tools/with-postgres.sh for --pg)
//   without --rig: 127.0.0.0/24 and 127.0.0.0/16, where every address answers;
//   --rig (root): in network namespaces of their own, 10.99.1.0/24 with 10 live addresses and
//   10.98.0.0/16 with 4,096, compared with what `fping -a` finds there (when installed).
#include "monitor/MonitorSweep.h"
#include "monitor/MonitorViews.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/SqlDialect.h"
#include "support/Inventory.h"
#include "support/NetRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
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

// One sweep of the watch at the defaults, timing the gaps between ticks of a 10 ms timer meanwhile.
Swept sweep(const QString& watch) {
    MonitorSweep s(database());
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


// The live addresses of a block as the monitor recorded them.
QSet<QString> recordedLive(const AddressSpan& span) {
    QSet<QString> out;
    auto q = runSql(QStringLiteral("SELECT IP_Address FROM Monitor_Seen WHERE State = 'up' AND IP_Num BETWEEN ? AND ?"),
                    {qint64(span.first), qint64(span.last)});
    while (q && q->next()) out.insert(q->value(0).toString());
    return out;
}

// What fping finds alive from the first to the last address of the block, every address
// included (its default time-out, two retries, 10,000 echoes per second: faster, it loses answers); nullopt
// when fping is not installed or fails.
std::optional<QSet<QString>> fpingLive(const AddressSpan& block, double* seconds) {
    const QString fping = QStandardPaths::findExecutable(QStringLiteral("fping"), {"/usr/bin", "/usr/sbin", "/bin", "/sbin"});
    if (fping.isEmpty()) return std::nullopt;
    QProcess p;
    QElapsedTimer t;
    t.start();
    p.start(fping, {"-a", "-q", "-r", "2", "-i", "0.1", "-g", addressText(block.first), addressText(block.last)});
    if (!p.waitForFinished(600000)) return std::nullopt;
    *seconds = t.elapsed() / 1000.0;
    QSet<QString> out;
    for (const QByteArray& line : p.readAllStandardOutput().split('\n'))
        if (!line.trimmed().isEmpty()) out.insert(QString::fromLatin1(line.trimmed()));
    return out;
}

QString macOf(quint32 device) {
    QStringList bytes = {QStringLiteral("02"), QStringLiteral("00")};
    for (int shift = 24; shift >= 0; shift -= 8) bytes << QStringLiteral("%1").arg((device >> shift) & 255, 2, 16, QLatin1Char('0'));
    return bytes.join(QLatin1Char(':'));
}

bool fail(const QString& why) {
    std::fprintf(stderr, "monitor: %s\n", qPrintable(why));
    return false;
}

// A database of `rows` records at `path` (moved to a server schema with --pg), in use.
bool useInventory(const QString& path, int rows, bool onServer) {
    closeAllConnections();
    if (serverInUse()) bench::dropBenchServer(*std::exchange(serverInUse(), std::nullopt));
    QString error;
    bench::InventoryOptions options;
    options.rows = rows;
    if (bench::createInventoryFile(path, options, &error).rows != options.rows) return fail(error);
    appState().gDbPath = path;
    if (onServer && !(serverInUse() = bench::benchServer(path, &error))) return fail(error);
    return true;
}

bool addWatch(const QString& name, const QString& scope, int rate) {
    Watch w;
    w.name = name;
    w.scope = scope;
    w.rateLimit = rate;
    QString error;
    return MonitorStore(database()).addWatch(w, &error) || fail(error);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    const bool rig = args.removeAll(QStringLiteral("--rig")) > 0;
    const int records = args.size() > 1 ? qMax(1000, args[1].toInt()) : 1000000;
    QTemporaryDir temp;
    QString error;

    // The sweeps first, on a small inventory: the peak memory is then the sweeps' own.
    const QString block24 = rig ? QStringLiteral("10.99.1.0/24") : QStringLiteral("127.0.0.0/24");
    const QString block16 = rig ? QStringLiteral("10.98.0.0/16") : QStringLiteral("127.0.0.0/16");
    std::unique_ptr<test::PeerBlocks> peer;
    if (rig) {
        if (const QString e = test::enterEmptyNetwork(); !e.isEmpty()) return fail(e), 1;
        QStringList live;
        for (int i = 1; i <= 10; ++i) live << QStringLiteral("10.99.1.%1/32").arg(i * 23);
        for (int i = 0; i < 256; ++i) live << QStringLiteral("10.98.%1.%2/28").arg(i).arg(16 * (i % 16));
        peer = std::make_unique<test::PeerBlocks>(QStringList{block24, block16}, live);
        if (!peer->error().isEmpty()) return fail(peer->error()), 1;
    }
    if (!useInventory(temp.filePath(QStringLiteral("sweeps.mdb")), 1000, onServer) ||
        !addWatch(QStringLiteral("slash24"), block24, 500) || !addWatch(QStringLiteral("slash16"), block16, 20000))
        return 1;
    const Swept small = sweep(QStringLiteral("slash24"));
    const Swept large = sweep(QStringLiteral("slash16"));
    const double peak = peakMb();
    const qint64 stall = qMax(small.stallMs, large.stallMs);
    std::printf("sweep /24 at the defaults: %.2f s, %lld live; /16 at 20,000 per second: %.2f s, %lld live, "
                "event loop held up at most %lld ms (/24) and %lld ms (/16), peak %.0f MB\n",
                small.seconds, static_cast<long long>(small.live), large.seconds, static_cast<long long>(large.live),
                static_cast<long long>(small.stallMs), static_cast<long long>(large.stallMs), peak);
    QString same = QStringLiteral("not compared");
    if (rig) {
        double fpingSeconds = 0;
        const AddressSpan span = parseWatchRange(block16)->spans.first();
        const auto theirs = fpingLive(span, &fpingSeconds);
        const QSet<QString> ours = recordedLive(span);
        if (theirs) {
            same = ours == *theirs ? QStringLiteral("yes") : QStringLiteral("no");
            std::printf("fping -a over %s: %lld live in %.1f s; ours %lld, only ours %lld, only fping's %lld\n",
                        qPrintable(block16), static_cast<long long>(theirs->size()), fpingSeconds,
                        static_cast<long long>(ours.size()), static_cast<long long>((ours - *theirs).size()),
                        static_cast<long long>((*theirs - ours).size()));
        } else {
            std::printf("fping is not installed (apt-get install fping): no comparison\n");
        }
    }

    if (!useInventory(temp.filePath(QStringLiteral("Zorvadb.mdb")), records, onServer) ||
        !addWatch(QStringLiteral("inventory"), QStringLiteral("10.1.0.0/16"), 20000))
        return 1;
    MonitorStore store(database());
    // Two sweeps of results over a /16 of recorded addresses, forty days apart, so that every
    // view has rows: some addresses went quiet since, some never answered, names that differ from
    // the records, hardware addresses shared by two addresses or changed. The second write is timed.
    const quint32 base = (10u << 24) | (1u << 16);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    std::optional<SweepCounts> counts;
    qint64 writeMs = 0;
    for (const int round : {0, 1}) {
        SweepResult r;
        r.watch = QStringLiteral("inventory");
        r.holder = QStringLiteral("bench");
        r.startedAt = r.endedAt = round == 0 ? now.addDays(-40) : now;
        store.takeLease(r.watch, r.holder, now.addSecs(600), false);
        r.spans = {AddressSpan{base, base + 65535}};
        for (quint32 n = base; n <= base + 65535; ++n) {
            const bool up = n % 13 != 0 && (round == 0 || n % 7 != 0);
            const quint32 device = (n % 9 == 0 && round == 1) ? n + 1000000 : n / 2;
            r.sightings.append({n, up, 1, up && n % 5 == 0 ? QStringLiteral("h%1.example").arg(n) : QString(),
                                up && n % 3 == 0 ? macOf(device) : QString()});
        }
        QElapsedTimer t;
        t.start();
        counts = store.recordSweep(r, &error);
        writeMs = t.elapsed();
        if (!counts) break;
    }
    std::printf("write of 65536 results over the last ones: %lld ms%s\n", static_cast<long long>(writeMs),
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
    QElapsedTimer t;
    for (const auto& [name, view] : views) {
        t.start();
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
    peer.reset();
    std::printf("slowest view %lld ms%s\n", static_cast<long long>(slowest), onServer ? " (server)" : "");
    std::printf("monitor: slash24 %.2f s, slash16 %.2f s, live %lld, same as fping %s, peak %.0f MB, "
                "longest stall %lld ms\n",
                small.seconds, large.seconds, static_cast<long long>(large.live), qPrintable(same), peak,
                static_cast<long long>(stall));
    return small.ok && large.ok && counts ? 0 : 1;
}

// Times every search type of the record search on the benchmark inventory through the code the
// search form runs (the grid model), until the count of the note and the first screen of grid
// cells are ready: bench_search [--pg] [database path] [runs]. A path that does not exist yet gets
// a new inventory of 1,000,000 records (kept for later runs); without one a temporary file is
// used. With --pg (inside tools/with-postgres.sh) the file is searched, then migrated to the
// server (timed) and searched there, and each search's time on the server is set against the
// file's of the same run. "lookup" is one statement that reads a record by its address.
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/Schema.h"
#include "records/RecordGridModel.h"
#include "records/RecordSearch.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

constexpr int kScreen = 40; // grid lines on a first screen

long rssKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// One search: run, then every cell of the first screen, as the view asks for them.
qint64 screenOf(const RecordQuery& query, qint64* count) {
    RecordGridModel model;
    if (!model.run(query)) return -1;
    const int lines = std::min(model.rowCount(), kScreen);
    for (int r = 0; r < lines; ++r)
        for (int c = 0; c < RecordGridModel::kColumns; ++c) model.data(model.index(r, c));
    *count = model.count();
    return 0;
}

double medianMs(const RecordQuery& query, int runs, qint64* count) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (screenOf(query, count) < 0) return -1;
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString sample(const QString& column, qint64 rows) {
    auto q = runSql(QStringLiteral("SELECT %1 FROM IP_Info WHERE rowid = ?").arg(column), {rows / 2 + 7});
    return q && q->next() ? q->value(0).toString() : QString();
}

struct Timing {
    const char* name;
    double ms;
};
using Timings = std::vector<Timing>;

// One lookup of a record by its address as the program makes it (one statement, its row read):
// the median of many.
// kept: through runLookup, the statement kept prepared on a server.
double lookupMs(const QString& address, bool kept) {
    std::vector<double> times;
    const QString sql = QStringLiteral("SELECT * FROM IP_Info WHERE IP_Address = ?");
    for (int i = 0; i < 2001; ++i) {
        QElapsedTimer t;
        t.start();
        auto q = kept ? runLookup(sql, {address}) : runSql(sql, {address});
        if (!q || !q->next()) return -1;
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Every search on the database in use (the file, or the server in use); empty on a failure.
Timings searchAll(int runs, bool server) {
    const char* who = server ? "search pg" : "search";
    QString error;
    if (!database(&error).isValid() || !upgradeSchema(database(), &error)) {
        // As at start-up: an older file gains the indexes of this version.
        std::fprintf(stderr, "%s: %s\n", who, qPrintable(error));
        return {};
    }
    auto rowsQ = runSql(QStringLiteral("SELECT count(*) FROM IP_Info"));
    const qint64 rows = rowsQ && rowsQ->next() ? rowsQ->value(0).toLongLong() : 0;
    rowsQ.reset();
    const QString address = sample(QStringLiteral("IP_Address"), rows);
    const QString block = address.section(QLatin1Char('.'), 0, 2) + QLatin1Char('.');
    const auto ip = SearchMode::IPAddress;
    const struct {
        const char* name;
        RecordQuery query;
    } cases[] = {
        {"exact", textSearch(ip, MatchOption::Exact, address).query},
        {"begin24", textSearch(ip, MatchOption::BeginWith, block).query},
        {"begin8", textSearch(ip, MatchOption::BeginWith, QStringLiteral("10.")).query},
        {"staff", textSearch(SearchMode::StaffNo, MatchOption::Exact,
                             sample(QStringLiteral("StaffNo"), rows)).query},
        {"host", textSearch(SearchMode::Hostname, MatchOption::Exact,
                            sample(QStringLiteral("[Name]"), rows)).query},
        {"contains", textSearch(SearchMode::Username, MatchOption::Exact, QStringLiteral("all")).query},
        {"contains_remarks", textSearch(SearchMode::Remarks, MatchOption::Exact, QStringLiteral("Lab")).query},
        {"temporary_all", textSearch(ip, MatchOption::Temporary, QStringLiteral("ALL")).query},
        {"location", prefixQuery(block)},
        {"location_city", cityQuery(sample(QStringLiteral("Region"), rows),
                                    sample(QStringLiteral("CityOwner"), rows))},
    };
    Timings out;
    QStringList last;
    std::printf("%s:\n", who);
    for (const auto& c : cases) {
        qint64 count = 0;
        const double ms = medianMs(c.query, runs, &count);
        std::printf("%-16s %8.2f ms  (%lld found)\n", c.name, ms, count);
        out.push_back({c.name, ms});
        if (QByteArray(c.name) != "contains_remarks" && QByteArray(c.name) != "location_city")
            last << QStringLiteral("%1 %2").arg(QLatin1String(c.name)).arg(ms, 0, 'f', 1);
    }
    const double lookup = lookupMs(address, false);
    std::printf("%-16s %8.3f ms  (one statement)\n", "lookup", lookup);
    out.push_back({"lookup", lookup});
    const double kept = lookupMs(address, true);
    std::printf("%-16s %8.3f ms  (one statement, kept prepared)\n", "lookup_kept", kept);
    out.push_back({"lookup_kept", kept});
    // Memory of a grid over the largest result, scrolled to its end.
    const long before = rssKb();
    {
        RecordGridModel model;
        model.run(textSearch(ip, MatchOption::Temporary, QStringLiteral("ALL")).query);
        QElapsedTimer t;
        t.start();
        const int n = model.rowCount();
        for (int r = std::max(0, n - kScreen); r < n; ++r) model.data(model.index(r, 0));
        std::printf("temporary_all: %d lines, scrolled to the end in %lld ms, grid memory %ld KB\n",
                    n, qint64(t.elapsed()), rssKb() - before);
    }
    std::printf("%s: rows %lld, %s, lookup %.3f\n", who, rows,
                qPrintable(last.join(QStringLiteral(", "))), lookup);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    QTemporaryDir temp;
    const QString path = args.size() > 1 ? args[1] : temp.filePath(QStringLiteral("Zorvadb.mdb"));
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 7;
    if (!QFileInfo::exists(path)) {
        QElapsedTimer t;
        t.start();
        QString error;
        bench::InventoryOptions options;
        if (bench::createInventoryFile(path, options, &error).rows != options.rows) {
            std::fprintf(stderr, "search: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("inventory written in %.1f s\n", t.elapsed() / 1000.0);
    }
    appState().gDbPath = path;
    // With --pg the file is searched first and then the server, in the same run.
    const Timings onFile = searchAll(runs, false);
    if (onFile.empty()) return 1;
    if (!onServer) return 0;
    closeAllConnections();
    QString error;
    if (!(serverInUse() = bench::benchServer(path, &error))) {
        std::fprintf(stderr, "search: %s\n", qPrintable(error));
        return 1;
    }
    const Timings there = searchAll(runs, true);
    bool within = !there.empty();
    std::printf("%-16s %9s %9s %7s\n", "", "file", "server", "ratio");
    for (size_t i = 0; i < there.size() && i < onFile.size(); ++i) {
        const double ratio = there[i].ms / std::max(onFile[i].ms, 0.001);
        std::printf("%-16s %7.2f ms %7.2f ms %6.1fx\n", there[i].name, onFile[i].ms, there[i].ms, ratio);
        within = within && ratio <= 2.0;
    }
    std::printf("server within 2x of the file in every case: %s\n", within ? "yes" : "no");
    closeAllConnections();
    if (serverInUse()) bench::dropBenchServer(*serverInUse());
    return 0;
}

// Times every search type of the record search on the benchmark inventory through the code the
// search form runs (the grid model), until the count of the note and the first screen of grid
// cells are ready: bench_search [--pg] [database path] [runs]. A path that does not exist yet gets
// a new inventory of 1,000,000 records (kept for later runs); without one a temporary file is
// used. With --pg (inside tools/with-postgres.sh) the inventory is migrated to the server and
// searched there.
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
    QString error;
    if (onServer && !(serverInUse() = bench::benchServer(path, &error))) {
        std::fprintf(stderr, "search: %s\n", qPrintable(error));
        return 1;
    }
    if (!database(&error).isValid()) {
        std::fprintf(stderr, "search: %s\n", qPrintable(error));
        return 1;
    }
    // As at start-up: an older file gains the indexes of this version.
    if (!upgradeSchema(database(), &error)) {
        std::fprintf(stderr, "search: %s\n", qPrintable(error));
        return 1;
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
    QStringList last;
    for (const auto& c : cases) {
        qint64 count = 0;
        const double ms = medianMs(c.query, runs, &count);
        std::printf("%-16s %8.1f ms  (%lld found)\n", c.name, ms, count);
        if (QByteArray(c.name) != "contains_remarks" && QByteArray(c.name) != "location_city")
            last << QStringLiteral("%1 %2").arg(QLatin1String(c.name)).arg(ms, 0, 'f', 1);
    }
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
    std::printf("search%s: rows %lld, %s\n", serverInUse() ? " pg" : "", rows,
                qPrintable(last.join(QStringLiteral(", "))));
    closeAllConnections();
    if (serverInUse()) bench::dropBenchServer(*serverInUse());
    return 0;
}

// What the check of a database file costs: an inventory of 100,000 addresses; the check at
// start-up (header, tables, columns), the thorough one of locate and restore (plus the engine's
// quick check) and an upgrade with nothing to do, against a plain open. Five runs each.
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <class F>
double timed(F f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Zorvadb.mdb"));
    if (!createInitialDatabase(path)) return 1;
    appState().gDbPath = path;
    {
        Transaction t;
        for (int i = 0; i < 100000; ++i)
            runSql(QStringLiteral("INSERT INTO IP_Info (IP_Address, IP_4, [Name], Region, CityOwner, "
                                  "Username, StaffNo, DateIssue) VALUES (?, ?, ?, 'North', 'Ipoh', "
                                  "'Some Person', ?, '2026-03-07')"),
                   {QStringLiteral("10.%1.%2.%3").arg(i / 65536).arg(i / 256 % 256).arg(i % 256),
                    i % 256, QStringLiteral("PC%1").arg(i), QString::number(100000 + i)});
        t.commit();
    }
    closeAllConnections();
    std::vector<double> open, quick, check, upgrade;
    for (int run = 0; run < 5; ++run) {
        open.push_back(timed([&] {
            openDatabaseFile(path, QStringLiteral("plain"));
            closeConnection(QStringLiteral("plain"));
        }));
        quick.push_back(timed([&] { databaseFileProblem(path, false); }));
        check.push_back(timed([&] { databaseFileProblem(path); }));
        upgrade.push_back(timed([&] { UpgradeSchema(); }));
        closeAllConnections();
    }
    std::printf("100,000 addresses, median of 5 runs:\n  plain open %.1f ms\n"
                "  check at start-up (header, tables, columns) %.1f ms\n"
                "  thorough check (locate, restore) %.1f ms\n  upgrade with nothing to do %.1f ms\n",
                median(open), median(quick), median(check), median(upgrade));
    return 0;
}

// The first start on an older inventory without the search aids: how long the upgrade takes
// that builds them, how long the longest step between two progress reports is (the splash
// paints between steps), and what the second start's upgrade costs. For comparison, the same
// aids filled by the engine in one statement each (no report possible in between).
// Usage: bench_first_start [rows] [inventory file to create or reuse]
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/Schema.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

using namespace zorva;

namespace {

const char* const kDropAids[] = {
    "DROP TRIGGER IF EXISTS IP_Info_Search_Insert", "DROP TRIGGER IF EXISTS IP_Info_Search_Delete",
    "DROP TRIGGER IF EXISTS IP_Info_Text_Update",   "DROP TRIGGER IF EXISTS IP_Info_Block_Update",
    "DROP TABLE IF EXISTS IP_Info_Text",            "DROP TABLE IF EXISTS IP_Info_Block"};

bool dropAids() {
    for (const char* sql : kDropAids)
        if (!runSql(QString::fromLatin1(sql))) return false;
    return runSql(QStringLiteral("VACUUM")).has_value();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bench::InventoryOptions options;
    if (args.size() > 1) options.rows = args[1].toLongLong();
    QTemporaryDir dir;
    const QString path = args.size() > 2 ? args[2] : dir.filePath(QStringLiteral("Zorvadb.mdb"));
    QString error;
    if (!QFile::exists(path)) bench::createInventoryFile(path, options, &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    appState().gDbPath = path;

    // The engine's own one-statement fill, as before.
    if (!dropAids()) return 1;
    QElapsedTimer t;
    t.start();
    {
        Transaction tx;
        runSql(QStringLiteral("CREATE VIRTUAL TABLE IP_Info_Text USING fts5(Username, Remarks, "
                              "content='IP_Info', content_rowid='rowid', tokenize='trigram')"));
        runSql(QStringLiteral("INSERT INTO IP_Info_Text (IP_Info_Text) VALUES ('rebuild')"));
        tx.commit();
    }
    const double oneStatement = t.nsecsElapsed() / 1e9;

    // The upgrade as the program runs it, with its reports.
    if (!dropAids()) return 1;
    closeAllConnections();
    qint64 longestGap = 0, reports = 0;
    QElapsedTimer gap;
    t.start();
    gap.start();
    const bool ok = UpgradeSchema(&error, [&](const QString&, int) {
        longestGap = std::max(longestGap, gap.restart());
        ++reports;
    });
    longestGap = std::max(longestGap, gap.elapsed());
    const double first = t.nsecsElapsed() / 1e9;
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    closeAllConnections();
    t.start();
    UpgradeSchema(&error);
    const double second = t.nsecsElapsed() / 1e6;
    std::printf("first start: rows %lld, upgrade %.2f s in %lld reports (longest step %lld ms); "
                "full-text fill in one statement %.2f s; second start upgrade %.1f ms\n",
                static_cast<long long>(options.rows), first, static_cast<long long>(reports),
                static_cast<long long>(longestGap), oneStatement, second);
    return 0;
}

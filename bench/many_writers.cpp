// Many administrators assigning at once: writers (separate processes, as separate running copies
// are) each take the next free address of the same ranges and save it through the assignment's
// own rules, while a reader keeps searching: bench_many_writers [--pg] [writers] [saves each].
// Defaults 10 x 200, over ten /24 ranges of an inventory of 20,000 records (more addresses than
// one range holds, so the writers spread). With --pg (inside tools/with-postgres.sh) the
// inventory is migrated to the server and the writers work there.
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/Schema.h"
#include "support/Inventory.h"
#include "support/ManyWriters.h"
#include "support/TestServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

using namespace zorva;

namespace {

int fail(const QString& what) {
    std::fprintf(stderr, "many writers: %s\n", qPrintable(what));
    return 1;
}

QString journalMode() {
    if (serverInUse()) return QStringLiteral("server");
    auto q = runSql(QStringLiteral("PRAGMA journal_mode"));
    return q && q->next() ? q->value(0).toString() : QStringLiteral("?");
}

} // namespace

int main(int argc, char** argv) {
    if (const auto writer = test::runIfAssignWriter()) return *writer;
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    test::WritersOptions o;
    o.writers = args.size() > 1 ? std::max(1, args[1].toInt()) : 10;
    o.each = args.size() > 2 ? std::max(1, args[2].toInt()) : 200;
    for (int i = 0; i < 10; ++i) o.prefixes << QStringLiteral("172.16.%1.").arg(i);

    QTemporaryDir temp;
    o.folder = temp.path();
    const QString path = temp.filePath(QStringLiteral("Zorvadb.mdb"));
    QString error;
    bench::InventoryOptions inventory;
    inventory.rows = 20000;
    if (bench::createInventoryFile(path, inventory, &error).rows != inventory.rows) return fail(error);
    appState().gDbPath = path;
    appState().gIniFile = temp.filePath(QStringLiteral("Zorva.ini"));
    if (onServer && !(serverInUse() = bench::benchServer(path, &error))) return fail(error);
    {
        // The writers read where the database is as the program does, from Zorva.ini.
        QFile ini(appState().gIniFile);
        if (!ini.open(QIODevice::WriteOnly)) return fail(QStringLiteral("Zorva.ini not written"));
        ini.write("[Database]\r\n");
        if (serverInUse()) ini.write(test::serverIniLines(*serverInUse()).toUtf8());
    }
    if (!database(&error).isValid() || !upgradeSchema(database(), &error)) return fail(error);
    std::printf("%d writers x %d saves, %d ranges of %d addresses, journal %s\n", o.writers, o.each,
                int(o.prefixes.size()), o.range.size(), qPrintable(journalMode()));

    const test::WritersRun run = test::runWriters(o);
    const QStringList stored = test::storedAddresses(database(), o.prefixes);
    const QSet<QString> storedSet(stored.begin(), stored.end());
    const QSet<QString> savedSet(run.saved.begin(), run.saved.end());
    const qsizetype duplicates = (stored.size() - storedSet.size()) + (run.saved.size() - savedSet.size());
    qsizetype lost = 0;
    for (const QString& a : savedSet) lost += storedSet.contains(a) ? 0 : 1;
    const int historyMissing = test::historyMissing(database(), stored);
    for (const QString& f : run.failures.mid(0, 10)) std::printf("failure: %s\n", qPrintable(f));
    std::printf("failures %lld, rows stored %lld, searches %d, %.1f s\n", qlonglong(run.failures.size()),
                qlonglong(stored.size()), run.searches, run.seconds);
    std::printf("save p50 %.1f ms, p90 %.1f ms, p99 %.1f ms, longest %.1f ms\n",
                test::quantile(run.saveMs, 0.5), test::quantile(run.saveMs, 0.9),
                test::quantile(run.saveMs, 0.99), test::quantile(run.saveMs, 1.0));
    std::printf("many writers%s: saves %lld, duplicates %lld, lost %lld, races %lld, history missing "
                "%d, %.0f saves/s, p50 %.1f ms, p99 %.1f ms, reader blocked at most %.0f ms\n",
                serverInUse() ? " pg" : "", qlonglong(run.saved.size()), qlonglong(duplicates),
                qlonglong(lost), qlonglong(run.taken.size()), historyMissing,
                run.saved.size() / run.seconds, test::quantile(run.saveMs, 0.5),
                test::quantile(run.saveMs, 0.99), run.readerLongestMs);
    if (serverInUse()) {
        closeAllConnections();
        bench::dropBenchServer(*serverInUse());
    }
    return run.failures.isEmpty() && duplicates == 0 && lost == 0 && historyMissing == 0 ? 0 : 1;
}

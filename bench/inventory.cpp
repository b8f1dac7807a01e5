// Writes a benchmark inventory database: bench_inventory <path> [rows]. Prints the time it took
// and how the rows spread, so that other benchmarks' figures can be read against it.
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace zorva;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: bench_inventory <new database path> [rows]\n");
        return 2;
    }
    bench::InventoryOptions options;
    if (args.size() > 2) options.rows = args[2].toLongLong();
    QElapsedTimer t;
    t.start();
    QString error;
    const bench::Inventory inv = bench::createInventoryFile(args[1], options, &error);
    if (inv.rows != options.rows) {
        std::fprintf(stderr, "inventory: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("inventory: rows %lld in %lld blocks, written in %.1f s\n", inv.rows,
                qint64(inv.prefixes.size()), t.elapsed() / 1000.0);
    return 0;
}

// What the spreadsheet import costs: a realistic inventory file (quotes, commas, accents, line
// breaks in remarks, a few refused rows) checked and then written into a fresh database, with
// the process's peak memory.
// Usage: bench_import [--pg] [rows]   (default 100000; inside tools/with-postgres.sh for --pg)
#include "import/RecordImport.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/Schema.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

using namespace zorva;

namespace {

// Peak resident memory of this process, in MB.
double peakMegabytes() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

bool writeInventoryCsv(const QString& path, qint64 rows) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    static const char* const kNames[] = {"Jos\xc3\xa9 Mar\xc3\xada", "Ahmad bin Ali", "O'Connor, Sean", "Chen \xe9\x99\x88",
                                         "Siti \"Ctie\" Nur"};
    static const char* const kUnits[] = {"IT Unit", "Finance, North", "H\xc3\xb4tel de Ville", "Stores"};
    QRandomGenerator rng(2024);
    QByteArray out = "IP Address,Host name,Type,Status,User Name,Staff No,Unit/Division,Floor,Phone,Date,Remarks\r\n";
    for (qint64 i = 0; i < rows; ++i) {
        const QByteArray address = i % 997 == 5 ? QByteArray("10.0.0.300") // refused
                                                : QStringLiteral("10.%1.%2.%3").arg(i / 64516 + 1).arg(i / 254 % 254).arg(i % 254 + 1).toUtf8();
        out += address + ",PC" + QByteArray::number(i) + ",PC," + (rng.bounded(3) ? "Permanent" : "temporary") + ",\"" +
               QByteArray(kNames[rng.bounded(5)]).replace("\"", "\"\"") + "\",S" + QByteArray::number(100000 + i / 4) + ",\"" +
               kUnits[rng.bounded(4)] + "\"," + QByteArray::number(rng.bounded(20)) + ",03-" +
               QByteArray::number(10000000 + rng.bounded(9000000)) + "," +
               QDate(2015, 1, 1).addDays(rng.bounded(3650)).toString(QStringLiteral("dd/MM/yyyy")).toLatin1() + "," +
               (i % 10 == 0 ? "\"moved from \"\"old\"\" block,\r\nsee ticket\"" : "") + "\r\n";
        if (out.size() > (1 << 20)) {
            f.write(out);
            out.clear();
        }
    }
    return f.write(out) == out.size() && f.flush();
}

int failed(const QString& why) {
    std::fprintf(stderr, "import: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    const qint64 rows = args.size() > 1 ? std::max<qint64>(1000, args[1].toLongLong()) : 100000;
    QTemporaryDir temp;
    const QString db = temp.filePath(QStringLiteral("Zorvadb.mdb"));
    const QString csv = temp.filePath(QStringLiteral("inventory.csv"));
    QString error;
    if (!createInitialDatabase(db, &error)) return failed(error);
    if (!writeInventoryCsv(csv, rows)) return failed(QStringLiteral("cannot write the file"));
    appState().gDbPath = db;
    appState().gUserID = QStringLiteral("BENCH");
    appState().gUserName = QStringLiteral("Bench");
    if (onServer && !(serverInUse() = bench::benchServer(db, &error))) return failed(error);

    RecordImport import;
    ImportOptions options;
    options.inputBy = QStringLiteral("BENCH");
    qint64 calls = 0;
    const ImportProgress progress = [&calls](qint64, qint64) { return ++calls > 0; };
    QElapsedTimer t;
    t.start();
    if (!import.open(csv, &error) || !import.check(options, progress, &error)) return failed(error);
    const double dry = t.nsecsElapsed() / 1e9;
    t.restart();
    if (!import.write(options, progress, &error)) return failed(error);
    const double written = t.nsecsElapsed() / 1e9;
    const ImportCounts c = import.counts();
    auto q = runSql(QStringLiteral("SELECT count(*) FROM IP_Info"));
    const qint64 stored = q && q->next() ? q->value(0).toLongLong() : -1;
    q.reset();
    std::printf("file %.1f MB, added %lld, refused %lld, warnings %lld, stored %lld, progress calls %lld\n",
                QFile(csv).size() / 1048576.0, static_cast<long long>(c.added), static_cast<long long>(c.refused),
                static_cast<long long>(c.warnings), static_cast<long long>(stored), static_cast<long long>(calls));
    if (onServer) {
        closeAllConnections();
        bench::dropBenchServer(*serverInUse());
    }
    std::printf("import%s: rows %lld, dry run %.2f s, import %.2f s, peak %.0f MB\n", onServer ? " pg" : "",
                static_cast<long long>(c.rows), dry, written, peakMegabytes());
    return stored == c.added ? 0 : 1;
}

// Writes the initial Zorva database, or puts the inventory on a PostgreSQL server.
//   zorva-initdb <path of Zorvadb.mdb>          the initial database file (never overwritten)
//   zorva-initdb --server [--ini FILE]          the initial database on the server that the
//                                               [Database] keys of FILE name
//   zorva-initdb --migrate <Zorvadb.mdb> [--ini FILE]
//                                               copies that file into the server, every table
//                                               and row, and prints the rows per table
//   zorva-initdb --import <file.csv> [--ini FILE] [--dry-run] [--update|--skip] [--strict-place]
//                                               brings a spreadsheet's rows into the inventory
//                                               (all or nothing); prints the counts, and each
//                                               refused row with its line and reason; exits 0
//                                               only when no row was refused and nothing failed
//   zorva-initdb --export <file.csv> [--ini FILE]
//                                               every record, every column, in address order
// FILE is Zorva.ini of the application folder unless named: beside the executable when it is
// there, else in the user's data folder (~/.local/share/Zorva, platform/AppFolder.h). --server and --migrate need a server
// that holds none of Zorva's tables yet; --import and --export use the database FILE names
// (the server, or the file in its DatabaseLocation folder, relative to FILE's folder).
#include "import/ImportCommand.h"
#include "platform/AppFolder.h"
#include "platform/DatabaseServer.h"
#include "platform/Migration.h"
#include "platform/Schema.h"
#include "platform/SchemaServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

int usage() {
    std::fprintf(stderr, "usage: zorva-initdb <path of Zorvadb.mdb>\n"
                         "       zorva-initdb --server [--ini Zorva.ini]\n"
                         "       zorva-initdb --migrate <path of Zorvadb.mdb> [--ini Zorva.ini]\n"
                         "       zorva-initdb --import <file.csv> [--ini Zorva.ini] [--dry-run] [--update|--skip] [--strict-place]\n"
                         "       zorva-initdb --export <file.csv> [--ini Zorva.ini]\n");
    return 2;
}

int failed(const QString& why) {
    std::fprintf(stderr, "zorva-initdb: %s\n", qPrintable(why));
    return 1;
}

int initialFile(const QString& path) {
    if (QFileInfo::exists(path)) return failed(path + QStringLiteral(" exists already; it is left as it is"));
    QString error;
    if (!zorva::createInitialDatabase(path, &error)) return failed(error);
    std::printf("zorva-initdb: wrote %s (user %s, password %s)\n", qPrintable(path),
                zorva::kInitialUserID, zorva::kInitialPassword);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString ini = zorva::applicationIniFile();
    if (const qsizetype at = args.indexOf(QStringLiteral("--ini")); at >= 0) {
        if (at + 1 >= args.size()) return usage();
        ini = args.at(at + 1);
        args.remove(at, 2);
    }
    if (const int status = zorva::runImportCommand(args, ini, stdout, stderr); status >= 0)
        return status == 2 ? usage() : status;
    const bool server = args.value(0) == QLatin1String("--server") && args.size() == 1;
    const bool migrate = args.value(0) == QLatin1String("--migrate") && args.size() == 2;
    if (!server && !migrate) {
        if (args.size() != 1 || args.at(0).startsWith(QLatin1String("--"))) return usage();
        return initialFile(args.at(0));
    }
    if (!QFileInfo(ini).isFile()) return failed(ini + QStringLiteral(" not found"));
    QString error;
    const auto target = zorva::readDatabaseServer(ini, &error);
    if (!target)
        return failed(error.isEmpty() ? ini + QStringLiteral(": no server named ([Database] Driver=PostgreSQL)") : error);
    if (server) {
        if (!zorva::createInitialServerDatabase(*target, &error)) return failed(error);
        std::printf("zorva-initdb: created the tables on %s (user %s, password %s)\n",
                    qPrintable(target->description()), zorva::kInitialUserID, zorva::kInitialPassword);
        return 0;
    }
    const auto copied = zorva::migrateToServer(args.at(1), *target, &error);
    if (!copied) return failed(error + QStringLiteral(" (nothing was copied)"));
    std::printf("zorva-initdb: copied %s into %s\n", qPrintable(args.at(1)), qPrintable(target->description()));
    for (const zorva::CopiedTable& t : *copied)
        std::printf("%-14s %lld rows\n", qPrintable(t.table), static_cast<long long>(t.rows));
    if (!zorva::serverGuardsAddresses(*target))
        std::printf("note: the file records some addresses twice; until they are resolved the "
                    "server cannot refuse a second save of one address (the start of Zorva adds "
                    "that guard once they are)\n");
    return 0;
}

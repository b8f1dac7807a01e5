// ZorvaMon, the IP monitor. Without a command it opens the login and then its window (as the
// main window's "IP Monitor" entry starts it); with one it runs headless:
//   ZorvaMon [--ini FILE]
//   ZorvaMon --sweep [--watch NAME] [--no-names] [--timeout MS] [--ini FILE]
//   ZorvaMon --add-watch NAME SCOPE [--interval MIN] [--rate PPS] [--window HH:mm-HH:mm] [--yes] [--ini FILE]
//   ZorvaMon --list-watches [--ini FILE]
//   ZorvaMon --help
// FILE is Zorva.ini in the application folder unless named. Exit status: 0 done (a sweep that
// another monitor runs is skipped, not failed), 1 the database or the network failed or a
// watch was refused, 2 arguments not understood.
#include "import/ImportCommand.h"
#include "monitor/MonitorRules.h"
#include "monitor/MonitorStart.h"
#include "monitor/MonitorSweep.h"
#include "platform/AppFolder.h"
#include "platform/Database.h"
#include "platform/Icons.h"
#include "platform/Schema.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "usage: ZorvaMon --sweep [--watch NAME] [--no-names] [--timeout MS] [--ini Zorva.ini]\n"
    "       ZorvaMon --add-watch NAME SCOPE [--interval MIN] [--rate PPS] [--window HH:mm-HH:mm] [--yes] [--ini Zorva.ini]\n"
    "       ZorvaMon --list-watches [--ini Zorva.ini]\n"
    "       ZorvaMon --help\n"
    "       ZorvaMon [--ini Zorva.ini]\n"
    "\n"
    "  (no command)     log in and open the monitor's window\n"
    "  --sweep          sweep every watch that is due (or the one named by --watch, due or not)\n"
    "                   once, print a summary per sweep and exit\n"
    "  --no-names       no reverse lookups of the live addresses\n"
    "  --timeout MS     time-out of one echo (default 500)\n"
    "  --add-watch      add a watch; SCOPE is one or more ranges separated by commas\n"
    "                   (10.1.2.0/24, 10.1.2.10-200, 10.1.2.10-10.1.3.20, 10.1.2.7) or a part of\n"
    "                   the address plan: area:AREA, city:AREA/CITY, equipment:AREA/CITY/EQUIPMENT\n"
    "  --interval MIN   minutes between two sweeps of the watch (default 15)\n"
    "  --rate PPS       echoes per second (default 500)\n"
    "  --window         sweep only between these local times\n"
    "  --yes            confirm a watch of more than 65536 addresses\n"
    "  --list-watches   list the watches\n"
    "  --ini FILE       the settings file naming the database (default: Zorva.ini in the\n"
    "                   application folder)\n";

int usage(FILE* to, int status) {
    std::fputs(kUsage, to);
    return status;
}

int failed(const QString& why) {
    std::fprintf(stderr, "ZorvaMon: %s\n", qPrintable(why));
    return 1;
}

// The value after an option, removed from args with it; nullopt when the option is absent,
// an empty text when its value is missing.
std::optional<QString> take(QStringList& args, const QString& option, bool* missing) {
    const qsizetype at = args.indexOf(option);
    if (at < 0) return std::nullopt;
    if (at + 1 >= args.size() || args.at(at + 1).startsWith(QLatin1String("--"))) {
        *missing = true;
        args.remove(at);
        return QString();
    }
    const QString value = args.at(at + 1);
    args.remove(at, 2);
    return value;
}

bool takeFlag(QStringList& args, const QString& flag) { return args.removeAll(flag) > 0; }

QString timeText(const QDateTime& utc) {
    return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("-");
}

int listWatches() {
    QString error;
    const auto watches = zorva::MonitorStore(zorva::database()).watches(&error);
    if (!watches) return failed(error);
    std::printf("%-20s %-10s %-30s %8s %6s %-11s %-16s %-16s\n", "watch", "kind", "scope", "interval", "rate",
                "window", "last sweep", "next due");
    for (const zorva::Watch& w : *watches) {
        const QString window = w.windowFrom.isEmpty() ? QStringLiteral("-") : w.windowFrom + QLatin1Char('-') + w.windowTo;
        std::printf("%-20s %-10s %-30s %8d %6d %-11s %-16s %-16s\n", qPrintable(w.name),
                    qPrintable(zorva::watchKindText(w.kind)), qPrintable(w.scope), w.intervalMinutes, w.rateLimit,
                    qPrintable(window), qPrintable(timeText(w.lastSweep)), qPrintable(timeText(w.nextDue)));
    }
    return 0;
}

int addWatch(QStringList args, bool* bad) {
    if (args.size() < 2) return *bad = true, 2;
    zorva::Watch w;
    w.name = args.takeFirst();
    w.kind = zorva::watchKindOfText(args.takeFirst(), &w.scope);
    const auto interval = take(args, QStringLiteral("--interval"), bad);
    const auto rate = take(args, QStringLiteral("--rate"), bad);
    const auto window = take(args, QStringLiteral("--window"), bad);
    const bool confirmed = takeFlag(args, QStringLiteral("--yes"));
    bool ok = true;
    if (interval) w.intervalMinutes = interval->toInt(&ok);
    if (rate && ok) w.rateLimit = rate->toInt(&ok);
    if (window) {
        w.windowFrom = window->section(QLatin1Char('-'), 0, 0);
        w.windowTo = window->section(QLatin1Char('-'), 1);
        if (w.windowTo.isEmpty()) w.windowTo = QStringLiteral("?"); // refused below as a half window
    }
    if (!ok || !args.isEmpty() || *bad) return *bad = true, 2;
    QString error;
    const auto range = zorva::resolveWatch(w.kind, w.scope, &error);
    if (!range) return failed(QStringLiteral("the watch \"%1\" covers no addresses: %2").arg(w.name, error));
    if (range->needsConfirmation() && !confirmed)
        return failed(QStringLiteral("the watch \"%1\" covers %2 addresses, more than %3; add --yes to watch them all")
                          .arg(w.name).arg(range->count()).arg(zorva::kConfirmAbove));
    if (!zorva::MonitorStore(zorva::database()).addWatch(w, &error)) return failed(error);
    std::printf("ZorvaMon: added the watch \"%s\" (%llu addresses, every %d minutes, %d echoes per second)\n",
                qPrintable(w.name), static_cast<unsigned long long>(range->count()), w.intervalMinutes, w.rateLimit);
    return 0;
}

int sweep(QStringList args, bool* bad) {
    const auto named = take(args, QStringLiteral("--watch"), bad);
    const auto timeout = take(args, QStringLiteral("--timeout"), bad);
    zorva::SweepOptions options;
    options.lookupNames = !takeFlag(args, QStringLiteral("--no-names"));
    bool ok = true;
    if (timeout) options.timeoutMs = timeout->toInt(&ok);
    if (!ok || options.timeoutMs < 1 || !args.isEmpty() || *bad) return *bad = true, 2;
    QStringList names;
    if (named) {
        names << *named;
    } else {
        QString error;
        const auto watches = zorva::MonitorStore(zorva::database()).watches(&error);
        if (!watches) return failed(error);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        for (const zorva::Watch& w : *watches)
            if (zorva::watchIsDue(w, now)) names << w.name;
        if (names.isEmpty()) std::printf("ZorvaMon: no watch is due\n");
    }
    int status = 0;
    bool networkFailed = false;
    for (const QString& name : names) {
        zorva::MonitorSweep s(zorva::database());
        s.setOptions(options);
        switch (s.run(name, !named)) {
        case zorva::MonitorSweep::Outcome::Done: {
            const zorva::SweepCounts& c = s.counts();
            std::printf("%s: %lld addresses, %lld live, %lld new, %lld went down, %.1f s\n", qPrintable(s.watchName()),
                        static_cast<long long>(c.addresses), static_cast<long long>(c.live),
                        static_cast<long long>(c.fresh), static_cast<long long>(c.wentDown), s.seconds());
            break;
        }
        case zorva::MonitorSweep::Outcome::Skipped:
            std::printf("%s: skipped: %s\n", qPrintable(name), qPrintable(s.message()));
            break;
        case zorva::MonitorSweep::Outcome::NetworkFailed:
            networkFailed = true;
            status = failed(QStringLiteral("%1: no echo could be sent: %2").arg(name, s.message()));
            break;
        default:
            status = failed(QStringLiteral("%1: %2").arg(name, s.message()));
        }
        std::fflush(stdout);
    }
    if (networkFailed) std::fprintf(stderr, "ZorvaMon: %s", qPrintable(zorva::icmpHint()));
    return status;
}

// The settings file used when none is named.
// Zorva.ini of the application folder: beside the program, or the user's data folder.
QString defaultIni() { return zorva::applicationIniFile(); }

// No command (at most the settings file named): the window.
bool windowWanted(int argc, char** argv) {
    return argc == 1 || (argc == 3 && std::strcmp(argv[1], "--ini") == 0);
}

int runWindow(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorva"));
    QApplication::setOrganizationName(QStringLiteral("Zorva"));
    QApplication::setWindowIcon(zorva::appIcon());
    const QString ini = argc == 3 ? QString::fromLocal8Bit(argv[2]) : defaultIni();
    QString error;
    if (!zorva::useDatabaseOfIni(ini, &error) || !zorva::UpgradeSchema(&error)) {
        zorva::ui().message(nullptr, zorva::Icon::Critical, QStringLiteral("IP Monitor"), error);
        return 1;
    }
    if (!zorva::openMonitorWindow()) return 0;
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (windowWanted(argc, argv)) return runWindow(argc, argv);
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) return usage(stdout, 0);
    bool bad = false;
    const QString ini = take(args, QStringLiteral("--ini"), &bad).value_or(defaultIni());
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    const QStringList known = {QStringLiteral("--sweep"), QStringLiteral("--add-watch"), QStringLiteral("--list-watches")};
    if (bad || !known.contains(command) || (command == known[2] && !args.isEmpty())) return usage(stderr, 2);
    QString error;
    if (!zorva::useDatabaseOfIni(ini, &error)) return failed(error);
    // A database of an earlier version gets the monitor's tables here, as at the program's start.
    if (!zorva::UpgradeSchema(&error)) return failed(error);
    int status = 0;
    if (command == known[0]) status = sweep(args, &bad);
    else if (command == known[1]) status = addWatch(args, &bad);
    else status = listWatches();
    return bad ? usage(stderr, 2) : status;
}

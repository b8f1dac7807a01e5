// What the history of the addresses costs: a save with its entry against a save without (the
// triggers away), over many saves in turns; the history of one address, who held one at a
// moment, and the first page of a user's changes in a month, among a million entries; and the
// bytes an entry adds to the database.
// Usage: bench_history [--pg] [saves] (inside tools/with-postgres.sh for --pg)
#include "assign/AssignRecord.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/History.h"
#include "platform/Schema.h"
#include "platform/SqlDialect.h"
#include "support/Inventory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace zorva;

namespace {

constexpr qint64 kEntries = 1000000;
constexpr int kUsers = 20;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

QString stamp(qint64 i) {
    // A million entries over three years, in order.
    const QDateTime start(QDate(2023, 1, 1), QTime(0, 0), QTimeZone::utc());
    return start.addSecs(i * 94).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString addressOf(qint64 i) { return QStringLiteral("10.%1.%2.%3").arg(i / 65536 % 256).arg(i / 256 % 256).arg(i % 254 + 1); }

// A million entries, about three per address, from twenty users.
bool fillHistory(QString* error) {
    Transaction t;
    QSqlQuery q(database());
    q.prepare(QStringLiteral("INSERT INTO IP_History (ChangedAt, UserID, UserName, Computer, Action, "
                             "IP_Address, OldValues, NewValues) VALUES (?, ?, ?, 'bench-pc', ?, ?, ?, ?)"));
    QRandomGenerator rng(42);
    for (qint64 i = 0; i < kEntries; ++i) {
        const qint64 a = rng.bounded(kEntries / 3);
        const int user = int(rng.bounded(kUsers));
        const bool added = rng.bounded(3) == 0;
        q.bindValue(0, stamp(i));
        q.bindValue(1, QStringLiteral("U%1").arg(user, 2, 10, QLatin1Char('0')));
        q.bindValue(2, QStringLiteral("User number %1").arg(user));
        q.bindValue(3, added ? history::kAdded : history::kChanged);
        q.bindValue(4, addressOf(a));
        // As the triggers write them: an addition keeps no values, a change the changed ones.
        q.bindValue(5, added ? QVariant() : QVariant(QStringLiteral("{\"Username\":\"User %1\"}").arg(i % 4000)));
        q.bindValue(6, added ? QVariant() : QVariant(QStringLiteral("{\"Username\":\"User %1\"}").arg(i % 5000)));
        if (!q.exec()) {
            if (error) *error = sqlErrorText(q);
            return false;
        }
    }
    return t.commit();
}

bool setTriggers(bool on, QString* error) {
    if (on) return upgradeSchema(database(), error);
    const QStringList off = isServer(database())
                                ? QStringList{QStringLiteral("DROP TRIGGER ip_history_entry ON ip_info")}
                                : QStringList{QStringLiteral("DROP TRIGGER IP_History_Added"),
                                              QStringLiteral("DROP TRIGGER IP_History_Changed"),
                                              QStringLiteral("DROP TRIGGER IP_History_Deleted")};
    for (const QString& sql : off)
        if (!runSql(sql, {}, error)) return false;
    return true;
}

qint64 databaseBytes() {
    auto q = isServer(database())
                 ? runSql(QStringLiteral("SELECT pg_total_relation_size('ip_info') + pg_total_relation_size('ip_history')"))
                 : runSql(QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()"));
    return q && q->next() ? q->value(0).toLongLong() : 0;
}

// `count` saves of new addresses 172.<n>.x.y, each its own transaction as the form's.
double saveMs(int count, int& next) {
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < count; ++i, ++next) {
        AssignRecord r;
        r.address = QStringLiteral("172.%1.%2.%3").arg(16 + next / 65536).arg(next / 256 % 256).arg(next % 256);
        r.ip4 = next % 256;
        r.name = QStringLiteral("BENCH%1").arg(next);
        r.type = QStringLiteral("PC");
        r.region = QStringLiteral("Northern");
        r.cityOwner = QStringLiteral("Ipoh");
        r.userName = QStringLiteral("Bench user");
        r.status = QStringLiteral("Permanent");
        r.inputBy = QStringLiteral("Bench");
        if (saveAssignment(database(), r) != SaveOutcome::Saved) std::fprintf(stderr, "save failed\n");
    }
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool onServer = bench::takeServerOption(args);
    const int saves = args.size() > 1 ? std::max(100, args[1].toInt()) : 10000;
    QTemporaryDir temp;
    const QString path = temp.filePath(QStringLiteral("Zorvadb.mdb"));
    QString error;
    bench::InventoryOptions options;
    options.rows = 100000;
    if (bench::createInventoryFile(path, options, &error).rows != options.rows) {
        std::fprintf(stderr, "history: %s\n", qPrintable(error));
        return 1;
    }
    appState().gDbPath = path;
    appState().gUserID = QStringLiteral("BENCH");
    appState().gUserName = QStringLiteral("Bench");
    if (!fillHistory(&error)) {
        std::fprintf(stderr, "history: %s\n", qPrintable(error));
        return 1;
    }
    closeAllConnections();
    if (onServer && !(serverInUse() = bench::benchServer(path, &error))) {
        std::fprintf(stderr, "history: %s\n", qPrintable(error));
        return 1;
    }

    // Saves in turns without and with the history, so that the machine's mood weighs on both.
    double without = 0, with = 0;
    qint64 grownWith = 0, grownWithout = 0;
    int next = 0;
    const int turn = std::max(50, saves / 10);
    for (int done = 0; done < saves; done += 2 * turn) {
        if (!setTriggers(false, &error)) break;
        qint64 before = databaseBytes();
        without += saveMs(turn, next);
        grownWithout += databaseBytes() - before;
        if (!setTriggers(true, &error)) break;
        before = databaseBytes();
        with += saveMs(turn, next);
        grownWith += databaseBytes() - before;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "history: %s\n", qPrintable(error));
        return 1;
    }
    const double ratio = without > 0 ? with / without : 0;

    QRandomGenerator rng(7);
    std::vector<double> address, held, byUser;
    for (int i = 0; i < 41; ++i) {
        const QString a = addressOf(rng.bounded(kEntries / 3));
        QElapsedTimer t;
        t.start();
        historyOf(database(), a);
        address.push_back(t.nsecsElapsed() / 1e6);
        const QDateTime when = QDateTime::fromString(stamp(rng.bounded(kEntries)), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        t.restart();
        heldAt(database(), a, when);
        held.push_back(t.nsecsElapsed() / 1e6);
        const QDate month(2023 + int(rng.bounded(3)), 1 + int(rng.bounded(12)), 1);
        const QString user = QStringLiteral("U%1").arg(int(rng.bounded(kUsers)), 2, 10, QLatin1Char('0'));
        t.restart();
        readHistory(database(), historyByUser(user, QDateTime(month, QTime(0, 0), QTimeZone::utc()),
                                              QDateTime(month.addMonths(1), QTime(0, 0), QTimeZone::utc())),
                    0, 200);
        byUser.push_back(t.nsecsElapsed() / 1e6);
    }
    auto rows = runSql(QStringLiteral("SELECT count(*) FROM IP_History"));
    const qint64 total = rows && rows->next() ? rows->value(0).toLongLong() : 0;
    rows.reset();
    const int perTurnSaves = next / 2;
    std::printf("saves: %d with history in %.0f ms, %d without in %.0f ms; the database grew %.0f bytes "
                "per save with its entry, %.0f without\n",
                perTurnSaves, with, perTurnSaves, without, double(grownWith) / perTurnSaves,
                double(grownWithout) / perTurnSaves);
    std::printf("history%s: rows %lld, save ratio %.2f, address %.2f ms, held %.2f ms, by user %.2f ms\n",
                serverInUse() ? " pg" : "", static_cast<long long>(total), ratio, median(address),
                median(held), median(byUser));
    closeAllConnections();
    if (serverInUse()) bench::dropBenchServer(*serverInUse());
    return 0;
}

#include "support/ManyWriters.h"
#include "assign/AssignRecord.h"
#include "platform/AppState.h"
#include "platform/Database.h"
#include "platform/DatabaseServer.h"
#include "platform/History.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

namespace zorva::test {

namespace {

const char* const kWriterVariable = "ZORVA_ASSIGN_WRITER";

QString goFile(const QString& folder) { return folder + QStringLiteral("/go"); }

void useFolder(const QString& folder) {
    appState().gIniFile = folder + QStringLiteral("/Zorva.ini");
    appState().gDbPath = folder + QStringLiteral("/Zorvadb.mdb");
    serverInUse() = readDatabaseServer(appState().gIniFile);
}

// The writer's work. Prints "ready", then one line for each save: "saved <address> <ms>",
// "taken <address>" or "failed <text>" (it goes on after a failure, to count them all).
int assignWriter(const QString& folder, const QString& tag, int count, const QStringList& prefixes,
                 OctetRange range) {
    useFolder(folder);
    QString error;
    QSqlDatabase db = database(&error);
    if (!db.isValid()) {
        std::printf("failed %s\n", qPrintable(error));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (!QFileInfo::exists(goFile(folder))) QThread::usleep(500);
    int prefix = 0;
    int failures = 0;
    for (int saved = 0; saved < count;) {
        QElapsedTimer sinceOffer; // the user's wait: a lost race costs another offer
        sinceOffer.start();
        for (;;) {
            const auto rows = listRange(db, prefixes[prefix], range, &error);
            if (!rows) {
                std::printf("failed listing: %s\n", qPrintable(error));
                return 1;
            }
            const Candidate c = findCandidate(range, fourthOctets(*rows));
            if (c.full) {
                if (++prefix == prefixes.size()) {
                    std::printf("failed every range is full\n");
                    return 3;
                }
                continue;
            }
            AssignRecord r;
            r.address = prefixes[prefix] + QString::number(c.octet4);
            r.ip4 = c.octet4;
            r.name = QStringLiteral("%1-%2").arg(tag).arg(saved);
            const SaveOutcome outcome = saveAssignment(db, r, &error);
            if (outcome == SaveOutcome::Saved) {
                std::printf("saved %s %.3f\n", qPrintable(r.address), sinceOffer.nsecsElapsed() / 1e6);
                ++saved;
            } else if (outcome == SaveOutcome::AddressTaken) {
                std::printf("taken %s\n", qPrintable(r.address));
            } else {
                std::printf("failed %s\n", qPrintable(error.simplified()));
                if (++failures == 20) return 1;
                ++saved; // that save is given up, as the user would after the message
            }
            std::fflush(stdout);
            if (outcome != SaveOutcome::AddressTaken) break;
        }
    }
    return 0;
}

// The reader: the range listing, the assignment form's indexed search, over and over, each
// timed, on a connection of its own thread.
void readLoop(const WritersOptions& o, const std::atomic<bool>& stop, WritersRun& run) {
    const QString name = QStringLiteral("zorva_many_writers_reader");
    {
        QSqlDatabase db = serverInUse() ? openDatabaseServer(*serverInUse(), name)
                                        : openDatabaseFile(appState().gDbPath, name);
        while (db.isValid() && !stop) {
            for (const QString& prefix : o.prefixes) {
                QElapsedTimer t;
                t.start();
                QString error;
                if (!listRange(db, prefix, o.range, &error))
                    run.failures << QStringLiteral("reader: ") + error;
                run.readerLongestMs = std::max(run.readerLongestMs, t.nsecsElapsed() / 1e6);
                ++run.searches;
            }
            QThread::msleep(5);
        }
        if (!db.isValid()) run.failures << QStringLiteral("reader: no connection");
    }
    closeConnection(name);
}

} // namespace

std::optional<int> runIfAssignWriter() {
    const QString work = qEnvironmentVariable(kWriterVariable);
    if (work.isEmpty()) return std::nullopt;
    const QStringList p = work.split(QLatin1Char('|'));
    return assignWriter(p.value(0), p.value(1), p.value(2).toInt(),
                        p.value(3).split(QLatin1Char(',')), {p.value(4).toInt(), p.value(5).toInt()});
}

WritersRun runWriters(const WritersOptions& o) {
    WritersRun run;
    QFile::remove(goFile(o.folder));
    std::vector<std::unique_ptr<QProcess>> writers;
    std::vector<QByteArray> output(o.writers);
    for (int i = 0; i < o.writers; ++i) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kWriterVariable),
                   QStringList{o.folder, QStringLiteral("W%1").arg(i), QString::number(o.each),
                               o.prefixes.join(QLatin1Char(',')), QString::number(o.range.start),
                               QString::number(o.range.end)}
                       .join(QLatin1Char('|')));
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(), {});
        writers.push_back(std::move(p));
    }
    // Every writer connected before any starts: they then race from the first save.
    for (int i = 0; i < o.writers; ++i) {
        while (!output[i].contains("ready\n") && writers[i]->state() != QProcess::NotRunning)
            if (writers[i]->waitForReadyRead(100)) output[i] += writers[i]->readAllStandardOutput();
    }
    std::atomic<bool> stop{false};
    WritersRun readerRun;
    std::thread reader;
    if (o.reader) reader = std::thread([&] { readLoop(o, stop, readerRun); });
    QElapsedTimer clock;
    clock.start();
    QFile go(goFile(o.folder));
    go.open(QIODevice::WriteOnly);
    go.close();
    for (int i = 0; i < o.writers; ++i) {
        QProcess& p = *writers[i];
        if (!p.waitForFinished(600000)) run.failures << QStringLiteral("writer %1 did not end").arg(i);
        output[i] += p.readAllStandardOutput();
        if (p.exitCode() != 0 || p.exitStatus() != QProcess::NormalExit)
            run.failures << QStringLiteral("writer %1 ended with %2: %3")
                                .arg(i).arg(p.exitCode()).arg(QString::fromUtf8(p.readAllStandardError()));
    }
    run.seconds = clock.nsecsElapsed() / 1e9;
    stop = true;
    if (reader.joinable()) reader.join();
    run.readerLongestMs = readerRun.readerLongestMs;
    run.searches = readerRun.searches;
    run.failures << readerRun.failures;
    for (const QByteArray& out : output) {
        for (const QString& line : QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QStringList w = line.split(QLatin1Char(' '));
            if (w[0] == QLatin1String("saved")) {
                run.saved << w.value(1);
                run.saveMs << w.value(2).toDouble();
            } else if (w[0] == QLatin1String("taken")) {
                run.taken << w.value(1);
            } else if (w[0] == QLatin1String("failed")) {
                run.failures << line.mid(7);
            }
        }
    }
    return run;
}

QStringList storedAddresses(QSqlDatabase db, const QStringList& prefixes) {
    QStringList out;
    for (const QString& prefix : prefixes) {
        auto q = runSqlOn(db, QStringLiteral("SELECT IP_Address FROM IP_Info WHERE IP_Address LIKE ?"),
                          {QString(prefix + QLatin1Char('%'))});
        while (q && q->next()) out << q->value(0).toString();
    }
    return out;
}

int historyMissing(QSqlDatabase db, const QStringList& addresses) {
    QSet<QString> added;
    auto q = runSqlOn(db, QStringLiteral("SELECT IP_Address FROM IP_History WHERE Action = ?"),
                      {history::kAdded});
    while (q && q->next()) added.insert(q->value(0).toString());
    if (!q) return int(addresses.size());
    return int(std::count_if(addresses.begin(), addresses.end(),
                             [&](const QString& a) { return !added.contains(a); }));
}

double quantile(QList<double> values, double q) {
    if (values.isEmpty()) return 0;
    std::sort(values.begin(), values.end());
    const qsizetype rank = qsizetype(std::ceil(q * values.size()));
    return values[std::clamp<qsizetype>(rank - 1, 0, values.size() - 1)];
}

} // namespace zorva::test

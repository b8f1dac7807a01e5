#pragma once
// Shared pieces of the monitor's tests: a pinger whose answers the test switches between
// sweeps, a reverse lookup table, the plan rows of a small site, a sweep run to its end.
#include "monitor/MonitorSweep.h"
#include "net/HostLookup.h"
#include "net/Ping.h"
#include "platform/Database.h"
#include "support/Fixture.h"

#include <QMutex>
#include <QProcess>
#include <QSet>
#include <QTest>

namespace zorva::test {

// Answers "Success" for the live addresses, a time-out for the others; with noSocket, fails as
// a machine without an ICMP socket does. Sweeps run in the monitor's thread: the sets are
// changed only between sweeps.
class SwitchPinger : public Pinger {
public:
    SwitchPinger() { setPinger(this); }
    ~SwitchPinger() override { setPinger(nullptr); }
    QSet<QString> live;
    bool noSocket = false;
    QList<ProbeRule> rules; // of every sweep call
    PingResult pingAddress(qint32, qint32 timeoutMs) override {
        PingResult r;
        r.status = PingStatus::TimedOut;
        r.replyTimeMs = timeoutMs;
        return r;
    }
    QList<PingResult> sweep(const QStringList& addresses, const ProbeRule& rule) override {
        {
            QMutexLocker lock(&mutex);
            rules << rule;
        }
        QList<PingResult> out;
        for (const QString& a : addresses) {
            PingResult r;
            r.status = noSocket ? PingStatus::GeneralFailure
                                : live.contains(a) ? PingStatus::Success : PingStatus::TimedOut;
            r.message = noSocket ? QStringLiteral("no ICMP socket may be opened here") : QString();
            r.replyTimeMs = r.status == PingStatus::Success ? 3 : rule.timeoutMs;
            out << r;
        }
        return out;
    }
    QMutex mutex;
};

// Reverse names from a table (read by several lookup threads at once, never written then).
class NameTable : public HostLookup {
public:
    NameTable() { setHostLookup(this); }
    ~NameTable() override { setHostLookup(nullptr); }
    QHash<QString, QString> names;
    QString nameOfAddress(const QString& dotted) override { return names.value(dotted); }
    QString addressOfName(const QString&, int* errorNumber) override {
        if (errorNumber) *errorNumber = 1;
        return {};
    }
    QString localHostName(int*) override { return QStringLiteral("monitor-test"); }
};

inline void addWatch(const QString& name, const QString& scope, int rate = 1000) {
    Watch w;
    w.name = name;
    w.kind = watchKindOfText(scope, &w.scope);
    w.rateLimit = rate;
    QString error;
    QVERIFY2(MonitorStore(database()).addWatch(w, &error), qPrintable(error));
}

// Runs one sweep of the watch to its end with short time-outs and no waiting for names.
inline MonitorSweep::Outcome sweepOnce(const QString& watch, SweepCounts* counts = nullptr, QString* message = nullptr) {
    MonitorSweep s(database());
    SweepOptions o;
    o.timeoutMs = 200;
    o.attempts = 1;
    s.setOptions(o);
    const auto outcome = s.run(watch);
    if (counts) *counts = s.counts();
    if (message) *message = s.message();
    return outcome;
}

// A site: area "North" on octet 10 with the cities Alpha (octet 2 = 1) and Beta (2); the
// segmented area "South" on 20 whose city Gamma owns 20.5.7.100-150; equipment "Lab Printer" 200-210.
inline void addPlan(AppFixture& app) {
    app.exec("INSERT INTO Region (Region, AssignIP, Segment_ip, Abbr_segment) VALUES ('North', 10, 0, ''), ('South', 20, 1, 'S')");
    app.exec("INSERT INTO City (City_name, Abbr_city, IP_octet2, [Offset], StartIPRange, ToIPRange, Abbr_state, Region) VALUES "
             "('Alpha', 'ALP', 1, 0, 0, 0, 'NS', 'North'), ('Beta', 'BET', 2, 0, 0, 0, 'NS', 'North'), "
             "('Gamma', 'GAM', 5, 7, 100, 150, 'S', 'South')");
    app.exec("INSERT INTO Equipment (Eqp_name, Eqp_code, Octet4_start, Octet4_end) VALUES ('Lab Printer', 'P', 200, 210), "
             "('Lab Phone', 'T', 120, 130)");
}

inline void addRecord(AppFixture& app, const QString& address, const QString& name, const QString& region) {
    app.exec("INSERT INTO IP_Info (IP_Address, IP_4, [Name], Region) VALUES (?, ?, ?, ?)",
             {address, address.section('.', 3).toInt(), name, region});
}

// What a run of ZorvaMon as a process gave back.
struct MonRun {
    int status = -1; // -1: it crashed or did not end within a minute
    QString out, err;
};

// Runs ZorvaMon (in this thread's network namespace); `before` runs it through another
// program with those arguments (setpriv ...).
inline MonRun runMon(const QStringList& args, const QStringList& before = {}) {
    QProcess p;
    const QString bin = qEnvironmentVariable("ZORVA_MON_BIN");
    if (before.isEmpty())
        p.start(bin, args);
    else
        p.start(before.first(), before.mid(1) + QStringList{bin} + args);
    if (!p.waitForFinished(60000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace zorva::test

// Echoes and sweeps on a private network: live and silent addresses, unreachable routes, both
// kinds of ICMP socket, a user who may open none, and the reverse lookup of a name-less address.
#include "net/HostLookup.h"
#include "net/IcmpEcho.h"
#include "net/Ping.h"
#include "platform/AppState.h"
#include "records/HostName.h"
#include "support/Fixture.h"
#include "support/NetRig.h"

#include <QElapsedTimer>
#include <QtTest>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

using namespace zorva;

namespace {
const QStringList kLive = {"192.0.2.10", "192.0.2.20", "192.0.2.30"};
const QString kTimedOut = QStringLiteral("'' error code : Requested IP timed out");

// Runs the check in a child process as the unprivileged user "nobody"; its exit code
// (0: the check held, 1: it did not, 2: the user could not be changed).
int exitAsNobody(const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
} // namespace

class TestSweep : public test::ZorvaTest {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString why = test::enterTestNetwork(kLive);
        if (!why.isEmpty()) QSKIP(qPrintable("no private test network: " + why));
    }

    void liveSilentUnreachable_data() {
        QTest::addColumn<int>("kind");
        QTest::newRow("raw") << int(IcmpSocketKind::Raw);
        QTest::newRow("datagram") << int(IcmpSocketKind::Datagram);
    }
    void liveSilentUnreachable() {
        QFETCH(int, kind);
        QVERIFY(test::setPingGroupRange(QStringLiteral("0 0")));
        IcmpPinger p{IcmpSocketKind(kind)};
        p.setPingAddress(QStringLiteral("192.0.2.20"));
        PingResult r = p.pingAddress(20, 200);
        QCOMPARE(r.message, QStringLiteral("Success"));

        p.setPingAddress(QStringLiteral("192.0.2.55"));
        QElapsedTimer t;
        t.start();
        r = p.pingAddress(20, 200);
        QCOMPARE(r.message, "Faild to ping : ''192.0.2.55" + kTimedOut);
        QCOMPARE(r.replyTimeMs, 200);
        QVERIFY(r.failed);
        QVERIFY2(t.elapsed() >= 195 && t.elapsed() < 600, qPrintable(QString::number(t.elapsed())));

        p.setPingAddress(QStringLiteral("198.51.100.7"));
        t.restart();
        r = p.pingAddress(20, 200);
        QCOMPARE(r.message, QStringLiteral("Faild to ping : ''198.51.100.7'' error code : "
                                           "Destination host unreachable"));
        QVERIFY(t.elapsed() < 150); // known at once, no waiting for the time-out
    }

    void errorsFromARouter_data() { liveSilentUnreachable_data(); }
    void errorsFromARouter() {
        // ICMP errors sent back by another machine, read from either kind of socket
        QFETCH(int, kind);
        QVERIFY(test::setPingGroupRange(QStringLiteral("0 0")));
        test::TestRouter router;
        if (!router.error().isEmpty()) QFAIL(qPrintable(router.error()));
        IcmpPinger p{IcmpSocketKind(kind)};
        p.setPingAddress(QStringLiteral("198.18.0.5"));
        PingResult r = p.pingAddress(20, 1000);
        QCOMPARE(r.message, QStringLiteral("Faild to ping : ''198.18.0.5'' error description : "
                                           "Destination host unreachable"));
        QCOMPARE(r.replyTimeMs, 1000);
        p.setPingAddress(QStringLiteral("198.18.1.5"));
        r = p.pingAddress(1, 1000);
        QCOMPARE(r.message, QStringLiteral("Faild to ping : ''198.18.1.5'' error description : "
                                           "Time to live expired transmition"));
        QVERIFY(r.failed);
    }

    void routerErrorsDoNotSpoilOtherAddresses() {
        // An ICMP error that comes back while a sweep is still sending belongs to its own
        // address only: the addresses sent after it still get their real answers.
        QVERIFY(test::setPingGroupRange(QStringLiteral("0 0")));
        test::TestRouter router;
        if (!router.error().isEmpty()) QFAIL(qPrintable(router.error()));
        IcmpPinger p{IcmpSocketKind::Datagram};
        p.setPingAddress(QStringLiteral("198.18.0.9"));
        QVERIFY(p.pingAddress(20, 1000).message.endsWith("Destination host unreachable"));
        QStringList addresses;
        for (int k = 1; k <= 5; ++k) {
            addresses << QStringLiteral("198.18.0.%1").arg(k);
            for (int i = 1; i <= 10; ++i) addresses << QStringLiteral("127.0.0.%1").arg(k * 10 + i);
        }
        const QList<PingResult> r = p.sweep(addresses, ProbeRule{20, 300, 1});
        QCOMPARE(r[0].message, QStringLiteral("Faild to ping : ''198.18.0.1'' error description : "
                                              "Destination host unreachable"));
        for (int i = 0; i < addresses.size(); ++i)
            if (addresses[i].startsWith(QLatin1String("127.")))
                QVERIFY2(!r[i].failed, qPrintable(addresses[i] + ": " + r[i].message));
    }

    void noSocketAllowed() {
        // An ordinary user who may open neither kind of ICMP socket gets a clear failure.
        QVERIFY(test::setPingGroupRange(QStringLiteral("1 0")));
        QCOMPARE(exitAsNobody([] {
                     IcmpPinger p;
                     p.setPingAddress(QStringLiteral("192.0.2.10"));
                     const PingResult r = p.pingAddress(20, 200);
                     return r.failed && r.replyTimeMs == 200 &&
                            r.message.startsWith("Faild to ping : ''192.0.2.10'' error code : "
                                                 "General failure - no ICMP socket") &&
                            r.message.contains("sysctl -w net.ipv4.ping_group_range=") &&
                            r.message.contains("setcap cap_net_raw+ep " +
                                               QCoreApplication::applicationFilePath());
                 }),
                 0);
        // allowed again: the same user gets real answers through a datagram socket
        QVERIFY(test::setPingGroupRange(QStringLiteral("0 2147483647")));
        QCOMPARE(exitAsNobody([] {
                     IcmpPinger p;
                     p.setPingAddress(QStringLiteral("192.0.2.10"));
                     return p.pingAddress(20, 500).message == QLatin1String("Success");
                 }),
                 0);
    }

    void sweepMatchesOneByOne() {
        const QStringList addresses = {"192.0.2.9",  "192.0.2.10", "192.0.2.1",
                                       "192.0.2.11", "192.0.2.30", "10.1.2"};
        IcmpPinger real;
        const QList<PingResult> parallel = real.sweep(addresses);
        // the base class walks them one after the other with the same rule
        QList<PingResult> serial = real.Pinger::sweep(addresses);
        QCOMPARE(parallel.size(), addresses.size());
        for (int i = 0; i < addresses.size(); ++i) {
            QCOMPARE(parallel[i].message, serial[i].message);
            QCOMPARE(parallel[i].failed, serial[i].failed);
        }
        QCOMPARE(parallel[1].message, QStringLiteral("Success"));
        QCOMPARE(parallel[2].message, QStringLiteral("Success")); // the pair's own address
        QCOMPARE(parallel[0].message, "Faild to ping : ''192.0.2.9" + kTimedOut);
        QCOMPARE(parallel[0].replyTimeMs, 200);
        QCOMPARE(parallel[5].message,
                 QStringLiteral("Faild to ping : ''10.1.2'' error code : Bad destination"));
    }

    void sweepOfAWholeBlock() {
        QStringList addresses;
        for (int i = 1; i <= 254; ++i) addresses << QStringLiteral("192.0.2.%1").arg(i);
        IcmpPinger p;
        QElapsedTimer t;
        t.start();
        const QList<PingResult> r = p.sweep(addresses);
        const qint64 ms = t.elapsed();
        QStringList live;
        for (int i = 0; i < r.size(); ++i)
            if (!r[i].failed) live << addresses[i];
        QCOMPARE(live, QStringList({"192.0.2.1", "192.0.2.10", "192.0.2.20", "192.0.2.30"}));
        // about one time-out per round (bench/scan_sweep measures it); some room for a busy machine
        QVERIFY2(ms < 2000, qPrintable(QString::number(ms)));
        QVERIFY(ms >= 4 * 200 - 20); // four rounds for the silent ones
    }

    void reverseLookupWithoutName() {
        // the name service cannot be reached from here: the address has no name
        QCOMPARE(hostNameFromAddress(QStringLiteral("192.0.2.10")), QString());
        QVERIFY(sui().takeText(QStringLiteral("Host Name not Found."), QStringLiteral("Zorva")));
        QVERIFY(appState().gHostNotFound);
        const AddressLookup none = addressFromHostName(QStringLiteral("no-such-host.invalid"));
        QVERIFY(none.address.isEmpty());
        QVERIFY(none.error.startsWith(QStringLiteral("Windows Sockets error ")));
        QVERIFY(none.error.endsWith(
            QStringLiteral(" has occurred. Unable to successfully get Host Name.\r\n")));
    }
};

QTEST_MAIN(TestSweep)
#include "tst_sweep.moc"

#pragma once
#include <QString>
#include <QStringList>

namespace zorva::test {

// A private network for the probe tests. The calling thread (and every process or thread it
// starts afterwards) moves into a new network namespace with lo up and a veth pair:
// veth0 carries 192.0.2.1/24, veth1 the given live addresses, so that they answer while the
// other addresses of 192.0.2.0/24 stay silent (their ARP requests die on the pair). The
// namespace also has an "unreachable" route for 198.51.100.0/24. No packet leaves the machine.
// Returns an empty text on success, else why the network could not be made.
QString enterTestNetwork(const QStringList& liveAddresses);

// Moves the calling thread into a new network namespace with only lo, up.
QString enterEmptyNetwork();

// Runs the "ip" tool inside the current namespace; the error output on failure.
QString runIp(const QStringList& args);

// Sets net.ipv4.ping_group_range of the current namespace (who may open ICMP datagram sockets).
bool setPingGroupRange(const QString& range);

// A router beside the test network, in a namespace of its own (a child process): reached over
// 203.0.113.0/24, it is the gateway for 198.18.0.0/24, which it answers with "host unreachable",
// and for 198.18.1.0/24, which it forwards back (so an echo with time-to-live 1 expires there).
// Call after enterTestNetwork. The process ends with the object.
class TestRouter {
public:
    TestRouter();
    ~TestRouter();
    QString error() const { return error_; } // empty when the router is up
private:
    qint64 pid_ = 0;
    QString error_;
};

// A network of whole blocks beside the current namespace, in a namespace of its own (a child
// process) reached over 100.64.0.0/30: the `blocks` prefixes are routed there, where the `live`
// prefixes answer every echo (local routes on its loopback) and the other addresses are
// dropped without a word (blackhole), as dead hosts are. The process ends with the object.
class PeerBlocks {
public:
    PeerBlocks(const QStringList& blocks, const QStringList& live);
    ~PeerBlocks();
    QString error() const { return error_; } // empty when the peer is up
    // Which prefixes answer from now on; the error output on failure.
    QString setLive(const QStringList& live);

private:
    qint64 pid_ = 0;
    QStringList live_;
    QString error_;
};

} // namespace zorva::test

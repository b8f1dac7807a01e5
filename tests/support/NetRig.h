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

} // namespace zorva::test

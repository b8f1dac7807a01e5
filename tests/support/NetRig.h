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

} // namespace zorva::test

#pragma once
#include <QString>

namespace zorva {

// The computer's own IPv4 address: the first IPv4 address of the first interface (in the
// system's order) that is up, running and not a loopback. Empty when there is none.
QString localIPv4Address();

} // namespace zorva

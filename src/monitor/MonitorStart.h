#pragma once
// ZorvaMon with its window: the program's own login (same users, same session rules), then
// the monitor's window. The database is opened before.
#include <QString>

namespace zorva {

class MonitorWindow;

// Shows the login; after a login, the window (deleted when closed). nullptr when nobody logged in.
MonitorWindow* openMonitorWindow();

} // namespace zorva

#pragma once
#include <QString>

namespace zorva {

// Claims the one running copy of this executable for this user. False when another copy
// holds it. The claim lasts until the process ends.
bool claimSingleInstance();
// The lock file used for an executable path (per user, per executable).
QString singleInstanceLockPath(const QString& executablePath);

} // namespace zorva

#pragma once
#include <QStringList>

namespace zorva {

// Names the application and records the application folder (AppFolder.h) and the optional file path of the
// command line (offered to the split utility).
void initApplication(const QStringList& arguments);

} // namespace zorva

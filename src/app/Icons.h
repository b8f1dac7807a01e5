#pragma once
#include <QIcon>
#include <QPixmap>

namespace zorva {

// The program's logo, drawn at the given size.
QPixmap appLogo(int size);
QIcon appIcon();

} // namespace zorva

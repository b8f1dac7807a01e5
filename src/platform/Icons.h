#pragma once
#include <QIcon>
#include <QPixmap>

namespace zorva {

// The program's logo, drawn at the given size.
QPixmap appLogo(int size);
QIcon appIcon();

} // namespace zorva

namespace zorva {

// Pictures of the main window's image list, numbered from 1. Image 9 and 10 are the user
// administration button available and unavailable; 13 is the live-update button.
inline constexpr int kToolImageCount = 18;
QIcon toolImage(int number);

} // namespace zorva

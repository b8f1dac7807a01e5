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
// From the desktop's icon theme (or an installed freedesktop theme when the desktop names
// none); a drawn badge only when no theme has a picture for it.
QIcon toolImage(int number);
// Chooses the icon theme as toolImage does; done once.
void useIconTheme();

} // namespace zorva

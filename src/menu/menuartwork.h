#pragma once

#include <QIcon>
#include <QPixmap>

// The main menu's pictures, drawn rather than loaded so that the program needs no image files.

// The logo of the menu's picture box: a shop front and the program's name, 329 x 84 pixels.
QPixmap menuLogo();

// The menu's window icon, with a 32 x 32 and a 16 x 16 image of a barcode being scanned.
QIcon menuIcon();

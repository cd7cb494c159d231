#pragma once

#include <QPixmap>

// The pictures, drawn rather than shipped so the build carries no image files: the program
// icon (the main window's), and the maker's wide logo for the top of the About window and
// round badge of the contact frame.
QPixmap PenlarkIcon(int size);
QPixmap MakerLogo();
QPixmap MakerBadge(int size);

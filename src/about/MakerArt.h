#pragma once

#include <QPixmap>

// The maker's pictures, drawn rather than shipped so the build carries no image files:
// the wide logo for the top of the About window and the round badge of the contact frame.
QPixmap MakerLogo();
QPixmap MakerBadge(int size);

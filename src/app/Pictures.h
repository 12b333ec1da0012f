#pragma once

#include <QIcon>
#include <QPixmap>

namespace tarnwick {

constexpr int kPictureCount = 25;

// Picture index of the command table (0 New ... 24 Print Preview), 16 pixels, with its
// disabled look.
QIcon Picture(int index);
// The program's own picture, for the About window and the window icon.
QPixmap ProgramPicture(int size);

}  // namespace tarnwick

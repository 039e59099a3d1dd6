#pragma once

#include <QIcon>
#include <QImage>

namespace ritmova {

// The program's icon, a heart-rate trace on a red tile, drawn at `size` x `size` pixels.
QImage RenderAppIcon(int size);

// The icon at the sizes a desktop asks for (16 to 256 pixels).
QIcon AppIcon();

}  // namespace ritmova

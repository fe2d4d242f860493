#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace vn {

// The compiled-in picture with that resource number as an icon, holding every
// size drawn for it (a 32 x 32 icon and its 16 x 16 version); a null icon when
// the number has no picture. Usable before the application object exists.
QIcon ResourceIcon(int id);

// A picture made of equal cells side by side (the tree's node images, the
// check boxes), cut into its cells from left to right. A narrower remainder
// at the right is not a cell. Empty when the number has no picture.
std::vector<QImage> ResourceImageStrip(int id, int cellWidth);

// The same cells as icons.
std::vector<QIcon> ResourceIconStrip(int id, int cellWidth);

}  // namespace vn

#pragma once

#include <QIcon>
#include <QImage>

namespace vn {

// A product picture made from a colour bitmap and a mask bitmap as an icon
// is on Windows: where the mask is white (bit 1 of a monochrome mask) the
// picture is transparent, elsewhere it shows the colour pixel. Mask pixels
// beyond the mask's size count as opaque. Null when the colour image is null.
QImage ComposeProductIconImage(const QImage& colour, const QImage& mask);

// The same as an icon. It needs no running GUI application until it is drawn.
QIcon MakeProductIcon(const QImage& colour, const QImage& mask);

// The built-in picture with that resource number (":/icons/<id>.png", with
// ":/icons/<id>-16.png" as its small size when present); a null icon when
// the program was built without it.
QIcon ProductIconResource(int id);

}  // namespace vn

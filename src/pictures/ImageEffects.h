#pragma once

#include <QImage>

namespace vn {

// The look of a picture on a disabled control: grey, half transparent.
QImage DisabledImage(const QImage& image);

// The look of a picture under the mouse: lightened a little towards white.
QImage HoverImage(const QImage& image);

}  // namespace vn

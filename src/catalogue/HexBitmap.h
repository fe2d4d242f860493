#pragma once

#include <QImage>
#include <string_view>

namespace vn {

// A bitmap written in the catalogue file: a whole BMP file image as
// hexadecimal text, two digits per byte (a trailing odd digit is ignored).
// The pixel data is taken to start right after the 40-byte info header and
// biClrUsed colour-table entries; the file header's own offset is not used.
// Uncompressed images of 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up,
// up to kMaxHexBitmapSide pixels a side, decode to an opaque RGB32 image;
// anything else, or too little data, gives a null image.
QImage DecodeHexBitmap(std::string_view hex);

inline constexpr int kMaxHexBitmapSide = 1024;

}  // namespace vn

#pragma once

#include <QImage>
#include <span>
#include <string>

namespace vn {

// Pictures larger than this on either side are refused as corrupt: the
// program's own are at most a few dozen pixels, and a forged header must not
// make the decoder allocate gigabytes.
inline constexpr int kMaxPngSide = 4096;

// Decodes a PNG file image with libpng into a QImage (premultiplied ARGB32,
// any PNG colour type and depth). Returns a null image for anything that is
// not a complete, valid PNG, and then puts libpng's reason into *error when
// given. Safe to call from any thread.
QImage DecodePng(std::span<const unsigned char> bytes, std::string* error = nullptr);

// The compiled-in picture with that resource number, or a null image when
// there is none. With smallSize, the smaller version drawn for that size.
QImage LoadPngResource(int id, int smallSize = 0);

}  // namespace vn

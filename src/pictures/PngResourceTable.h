#pragma once

#include <cstddef>
#include <span>

namespace vn {

// One PNG compiled into the program, keyed by its resource number. A number
// may have a main picture (SmallSize 0) and smaller versions of it drawn for
// that size (SmallSize 16 for a 16 x 16 version of a 32 x 32 icon).
struct PngResource {
    int Id;
    int SmallSize;
    std::span<const unsigned char> Data;
};

// Every compiled-in picture, ordered by number; generated from resources/png.
std::span<const PngResource> PngResources();

}  // namespace vn

#pragma once

#include <functional>
#include <istream>
#include <memory>

#include "detect/ProductDef.h"

namespace vn {

// Reads the products of a catalogue file, in file order, and offers each one
// to accept. An entry starts at a line containing "[" and takes the key lines
// that follow ("DisplayName=", "ServiceName=", "ServicePath=",
// "ColorBitmap=", "MaskBitmap="); the first other line ends it and is
// consumed, so entries need a separating line between them.
void ReadCatalogueFile(std::istream& in, const std::function<void(std::unique_ptr<ProductDef>)>& accept);

}  // namespace vn

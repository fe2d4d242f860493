#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>

#include "catalogue/ProductDef.h"

namespace vn {

// Reads the products of a catalogue file, in file order, and offers each one
// to accept. An entry starts at a line containing "[" and takes the key lines
// that follow ("DisplayName=", "ServiceName=", "ServicePath=",
// "ColorBitmap=", "MaskBitmap="); the first other line ends it and is
// consumed, so entries need a separating line between them.
//
// An entry whose display name cannot be a registry key name (empty, holding a
// backslash, longer than 255 bytes) is not offered: computers store their
// products as keys so named, and every later save would leave it out.
// refuse, when given, hears of it with the line number of the entry's "[".
void ReadCatalogueFile(std::istream& in, const std::function<void(std::unique_ptr<ProductDef>)>& accept,
                       const std::function<void(int line, const std::string& name)>& refuse = {});

}  // namespace vn

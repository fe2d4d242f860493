#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

// Splits a relative key path at its "\" separators as Windows parses it:
// runs of separators count as one and trailing ones are ignored, so
// "Services\" names "Services"; a leading "\" is refused with
// ERROR_BAD_PATHNAME. An empty path gives no components (the key itself).
[[nodiscard]] Status SplitKeyPath(std::string_view path, std::vector<std::string>& components);

// The comparison form of a key or value name: the UTF-8 name upper-cased
// code point by code point (Unicode simple mapping of the Basic Multilingual
// Plane, as the registry's own table) and written as big-endian UTF-16, so
// that comparing two forms byte by byte orders names as Windows enumerates
// sub-keys. Bytes that are not valid UTF-8 are kept, each as a code unit of
// its own in the U+DC80..U+DCFF range, so every name still has a stable form.
std::string FoldRegistryName(std::string_view name);

}  // namespace vn

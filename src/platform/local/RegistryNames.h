#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/NameFolding.h"  // FoldRegistryName: how key and value names compare
#include "platform/Status.h"

namespace vn {

// Splits a relative key path at its "\" separators as Windows parses it:
// runs of separators count as one and trailing ones are ignored, so
// "Services\" names "Services"; a leading "\" is refused with
// ERROR_BAD_PATHNAME. An empty path gives no components (the key itself).
[[nodiscard]] Status SplitKeyPath(std::string_view path, std::vector<std::string>& components);

}  // namespace vn

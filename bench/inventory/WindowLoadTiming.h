#pragma once

#include <cstddef>

namespace vn {
class ProductCatalogue;
}

// Milliseconds from creating the main window, which loads the saved tree
// (from NETWARDEN_USER_HIVE), to its first painting of the tree;
// topLevelRows receives the number of top-level rows it shows. Negative when
// the window program is not part of this build.
double TimeWindowShowingTheTree(vn::ProductCatalogue& catalogue, std::size_t& topLevelRows);

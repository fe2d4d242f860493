#pragma once

#include <cstddef>

namespace vn {
class ProductCatalogue;
}

// Creates the main window, which loads the saved tree (from
// NETWARDEN_USER_HIVE), and returns after its first painting of the tree;
// topLevelRows receives the number of top-level rows it shows.
void ShowWindowWithTheTree(vn::ProductCatalogue& catalogue, std::size_t& topLevelRows);

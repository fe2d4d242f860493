#pragma once

#include <string>
#include <string_view>

namespace vn {

// Names of the inventory compare without regard to letter case by the same
// rule as the registry keys that store them (see platform/NameFolding.h),
// so two names are one node in the tree exactly when they are one key in
// the hive. Siblings are ordered by their lower-cased names.

// A form of the name that is equal for names equal ignoring case (for sets
// and maps of names).
std::string NameKey(std::string_view name);
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
// Negative, zero or positive as the lower-cased a sorts before, with or after b.
int CompareLowerCase(std::string_view a, std::string_view b);

}  // namespace vn

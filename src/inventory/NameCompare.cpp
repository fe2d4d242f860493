#include "inventory/NameCompare.h"

#include "platform/NameFolding.h"

namespace vn {

std::string NameKey(std::string_view name) { return FoldRegistryName(name); }

bool NamesEqualIgnoringCase(std::string_view a, std::string_view b) { return NamesEqualFolded(a, b); }

int CompareLowerCase(std::string_view a, std::string_view b) { return CompareFoldedNames(a, b); }

}  // namespace vn

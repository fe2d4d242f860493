#pragma once

#include <string>
#include <string_view>

namespace vn {

// Names of the inventory compare without regard to letter case. Only ASCII
// letters fold; other bytes (UTF-8 sequences) compare as they are, so the
// order of siblings is the byte order of the lower-cased names.
std::string LowerCaseName(std::string_view name);
bool NamesEqualIgnoringCase(std::string_view a, std::string_view b);
// Negative, zero or positive as the lower-cased a sorts before, with or after b.
int CompareLowerCase(std::string_view a, std::string_view b);

}  // namespace vn

#pragma once

#include <cstdint>
#include <string_view>

namespace vn {

// The decimal number at the start of text as the C library's atoi reads it
// (leading blanks and a sign allowed, 0 when there is none), held wide
// enough that no digits overflow it.
std::int64_t LeadingDecimal(std::string_view text);

// Whether a port typed into the target dialogs is acceptable: empty, or a
// leading number from 0 to 65535.
bool IsAcceptablePortText(std::string_view text);

}  // namespace vn

#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vn {

// A security identifier.
struct Sid {
    std::uint8_t revision = 1;
    std::uint64_t identifierAuthority = 0;  // 48 bits
    std::vector<std::uint32_t> subAuthorities;

    friend bool operator==(const Sid&, const Sid&) = default;
};

// ConvertSidToStringSid: "S-1-5-21-...". Authorities of 2^32 and more are
// written in hexadecimal, as Windows does.
std::string ConvertSidToStringSid(const Sid& sid);

}  // namespace vn

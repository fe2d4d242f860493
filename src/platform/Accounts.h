#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

// A security identifier.
struct Sid {
    std::uint8_t revision = 1;
    std::uint64_t identifierAuthority = 0;  // 48 bits
    std::vector<std::uint32_t> subAuthorities;

    friend bool operator==(const Sid&, const Sid&) = default;
};

enum class SidNameUse : std::uint32_t {
    User = 1,
    Group,
    Domain,
    Alias,
    WellKnownGroup,
    DeletedAccount,
    Invalid,
    Unknown,
    Computer
};

// ConvertSidToStringSid: "S-1-5-21-...". Authorities of 2^32 and more are
// written in hexadecimal, as Windows does.
std::string ConvertSidToStringSid(const Sid& sid);

class Accounts {
public:
    virtual ~Accounts() = default;

    // LookupAccountName on systemName ("" is this computer). 1332 when the
    // name has no mapping.
    [[nodiscard]] virtual Status LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                                   std::string& referencedDomain, SidNameUse& use) = 0;
};

}  // namespace vn

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Sid.h"
#include "platform/Status.h"

namespace vn {

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

class Accounts {
public:
    virtual ~Accounts() = default;

    // LookupAccountName on systemName ("" is this computer). 1332 when the
    // name has no mapping.
    [[nodiscard]] virtual Status LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                                   std::string& referencedDomain, SidNameUse& use) = 0;
};

}  // namespace vn

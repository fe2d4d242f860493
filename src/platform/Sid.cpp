#include "platform/Sid.h"

#include <cinttypes>
#include <cstdio>

namespace vn {

std::string ConvertSidToStringSid(const Sid& sid) {
    char part[32];
    std::snprintf(part, sizeof part, "S-%u-", static_cast<unsigned>(sid.revision));
    std::string text = part;
    // Windows writes authorities that do not fit in 32 bits in hexadecimal.
    if (sid.identifierAuthority >= (std::uint64_t{1} << 32))
        std::snprintf(part, sizeof part, "0x%012" PRIX64, sid.identifierAuthority);
    else
        std::snprintf(part, sizeof part, "%" PRIu64, sid.identifierAuthority);
    text += part;
    for (std::uint32_t sub : sid.subAuthorities) {
        std::snprintf(part, sizeof part, "-%" PRIu32, sub);
        text += part;
    }
    return text;
}

}  // namespace vn

#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace vn {

// The operating-system name of a computer from its server version and the
// "ProductType" of its remote registry: "Windows XP v5.1", "Windows 98 4.10".
std::string MakeOsVersionName(Platform& platform, std::string_view computer, unsigned major, unsigned minor);

// The same from an already read product type ("" when it could not be read).
std::string OsVersionNameFor(std::string_view productType, unsigned major, unsigned minor);

}  // namespace vn

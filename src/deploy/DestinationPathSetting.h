#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn {

inline constexpr std::string_view kDefaultDestinationPathValue = "DefaultDestinationPath";
inline constexpr std::string_view kBuiltInDestinationPath = "C:\\Program Files\\Vantor\\";

// The destination path new targets start with: the user's setting
// DefaultDestinationPath under "Software\Vantor Netwarden\Settings", else
// C:\Program Files\Vantor\. (The tool directory is a path of this computer,
// which means nothing on a Windows target.)
std::string ReadDefaultDestinationPath(Registry& registry);

}  // namespace vn

#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn {

// The text of a registry value of key, or of its sub-key when subKey is not
// empty; fallback when the sub-key cannot be opened or the value is missing.
std::string ReadRegistryString(RegistryKey& key, std::string_view subKey, std::string_view valueName,
                               std::string_view fallback);

}  // namespace vn

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace vn {

// Typed shorthands over RegistryKey for the common value shapes.

// REG_DWORD, 4 bytes.
[[nodiscard]] Status SetDwordValue(RegistryKey& key, std::string_view name, std::uint32_t value);

// REG_SZ stored with its terminating zero.
[[nodiscard]] Status SetStringValue(RegistryKey& key, std::string_view name, std::string_view value);

// A value of exactly 4 bytes; with requiredType != REG_NONE the value's type
// must match too; a mismatch gives ERROR_INVALID_PARAMETER.
[[nodiscard]] Status QueryDwordValue(RegistryKey& key, std::string_view name, std::uint32_t& value,
                                     std::uint32_t requiredType = REG_NONE);

// A value of any size read whole (the 234 retry included).
[[nodiscard]] Status QueryValueBytes(RegistryKey& key, std::string_view name, std::uint32_t& type,
                                     std::vector<std::uint8_t>& data);

// A value of any size read whole; the text ends at
// its first zero. With requiredType != REG_NONE the type must match.
[[nodiscard]] Status QueryStringValue(RegistryKey& key, std::string_view name, std::string& value,
                                      std::uint32_t requiredType = REG_NONE);

}  // namespace vn

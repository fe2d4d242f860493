#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

// A value's bytes, held inline when short (a DWORD, an empty string): a
// tree of many keys is built and freed with few allocations.
using RegistryValueBytes = std::basic_string<std::uint8_t>;

// One value of a key, held in memory.
struct RegistryTreeValue {
    std::string Name;
    std::uint32_t Type = 0;
    RegistryValueBytes Data;
};

// A key with its values and its sub-keys, each with theirs: a subtree read or
// written at once (RegistryKey::ReadSubKeys, WriteSubKeys).
struct RegistryTree {
    std::string Name;
    std::vector<RegistryTreeValue> Values;
    std::vector<RegistryTree> SubKeys;

    // The value whose name equals name as the registry compares names; null
    // when there is none.
    const RegistryTreeValue* FindValue(std::string_view name) const;

    void AddDword(std::string_view name, std::uint32_t value);
    // REG_SZ stored with its terminating zero.
    void AddString(std::string_view name, std::string_view value);

    // Read like QueryDwordValue and QueryStringValue: ERROR_FILE_NOT_FOUND
    // without the value, ERROR_INVALID_PARAMETER for a wrong size or, with
    // requiredType != REG_NONE, a wrong type.
    [[nodiscard]] Status Dword(std::string_view name, std::uint32_t& value, std::uint32_t requiredType = 0) const;
    [[nodiscard]] Status String(std::string_view name, std::string& value, std::uint32_t requiredType = 0) const;
};

}  // namespace vn

#include "platform/RegistryTree.h"

#include <cstring>

#include "platform/NameFolding.h"
#include "platform/Registry.h"

namespace vn {

const RegistryTreeValue* RegistryTree::FindValue(std::string_view name) const {
    // Values read by name come back spelled as asked: the exact match first.
    for (const RegistryTreeValue& value : Values) {
        if (value.Name == name)
            return &value;
    }
    for (const RegistryTreeValue& value : Values) {
        if (NamesEqualFolded(value.Name, name))
            return &value;
    }
    return nullptr;
}

void RegistryTree::AddDword(std::string_view name, std::uint32_t value) {
    std::vector<std::uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);  // little-endian, as the registry holds it
    Values.push_back({std::string(name), REG_DWORD, std::move(bytes)});
}

void RegistryTree::AddString(std::string_view name, std::string_view value) {
    std::vector<std::uint8_t> bytes(value.begin(), value.end());
    bytes.push_back(0);
    Values.push_back({std::string(name), REG_SZ, std::move(bytes)});
}

Status RegistryTree::Dword(std::string_view name, std::uint32_t& value, std::uint32_t requiredType) const {
    const RegistryTreeValue* found = FindValue(name);
    if (found == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (found->Data.size() != sizeof value || (requiredType != REG_NONE && found->Type != requiredType))
        return ERROR_INVALID_PARAMETER;
    std::memcpy(&value, found->Data.data(), sizeof value);
    return ERROR_SUCCESS;
}

Status RegistryTree::String(std::string_view name, std::string& value, std::uint32_t requiredType) const {
    const RegistryTreeValue* found = FindValue(name);
    if (found == nullptr)
        return ERROR_FILE_NOT_FOUND;
    if (requiredType != REG_NONE && found->Type != requiredType)
        return ERROR_INVALID_PARAMETER;
    const auto* text = reinterpret_cast<const char*>(found->Data.data());
    value.assign(text, strnlen(text, found->Data.size()));
    return ERROR_SUCCESS;
}

}  // namespace vn

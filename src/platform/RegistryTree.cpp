#include "platform/RegistryTree.h"

#include <cstring>

#include "platform/NameFolding.h"
#include "platform/Registry.h"
#include "platform/RegistryTreeVisitor.h"

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
    RegistryValueBytes bytes(sizeof value, 0);
    std::memcpy(bytes.data(), &value, sizeof value);  // little-endian, as the registry holds it
    Values.push_back({std::string(name), REG_DWORD, std::move(bytes)});
}

void RegistryTree::AddString(std::string_view name, std::string_view value) {
    RegistryValueBytes bytes(value.begin(), value.end());
    bytes.push_back(0);
    Values.push_back({std::string(name), REG_SZ, std::move(bytes)});
}

Status RegistryTree::Dword(std::string_view name, std::uint32_t& value, std::uint32_t requiredType) const {
    const RegistryTreeValue* found = FindValue(name);
    return found == nullptr ? ERROR_FILE_NOT_FOUND : DwordFromData(found->Type, found->Data, value, requiredType);
}

Status RegistryTree::String(std::string_view name, std::string& value, std::uint32_t requiredType) const {
    const RegistryTreeValue* found = FindValue(name);
    return found == nullptr ? ERROR_FILE_NOT_FOUND : StringFromData(found->Type, found->Data, value, requiredType);
}

}  // namespace vn

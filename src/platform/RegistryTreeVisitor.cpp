#include "platform/RegistryTreeVisitor.h"

#include <cstring>

#include "platform/Registry.h"

namespace vn {

RegistryTreeBuilder::RegistryTreeBuilder(const std::vector<std::string>& valueNames, std::vector<RegistryTree>& trees)
    : valueNames_(valueNames),
      trees_(trees) {}

std::vector<RegistryTree>& RegistryTreeBuilder::Level() { return open_.empty() ? trees_ : open_.back()->SubKeys; }

void RegistryTreeBuilder::BeginKey(std::string_view name) {
    // A key's parent is not moved while it is open: its level grows only
    // after it has ended.
    RegistryTree& tree = Level().emplace_back();
    tree.Name = name;
    open_.push_back(&tree);
}

void RegistryTreeBuilder::Value(std::size_t nameIndex, std::uint32_t type, std::span<const std::uint8_t> data) {
    open_.back()->Values.push_back({valueNames_.at(nameIndex), type, {data.begin(), data.end()}});
}

void RegistryTreeBuilder::EndKey() { open_.pop_back(); }

Status DwordFromData(std::uint32_t type, std::span<const std::uint8_t> data, std::uint32_t& value,
                     std::uint32_t requiredType) {
    if (data.size() != sizeof value || (requiredType != REG_NONE && type != requiredType))
        return ERROR_INVALID_PARAMETER;
    std::memcpy(&value, data.data(), sizeof value);
    return ERROR_SUCCESS;
}

Status StringFromData(std::uint32_t type, std::span<const std::uint8_t> data, std::string& value,
                      std::uint32_t requiredType) {
    if (requiredType != REG_NONE && type != requiredType)
        return ERROR_INVALID_PARAMETER;
    const auto* text = reinterpret_cast<const char*>(data.data());
    value.assign(text, data.empty() ? 0 : strnlen(text, data.size()));
    return ERROR_SUCCESS;
}

}  // namespace vn

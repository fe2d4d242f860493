// The key-by-key forms of RegistryKey's subtree reads and writes, for hives
// that have no faster way.

#include "platform/Registry.h"
#include "platform/RegistryTreeVisitor.h"
#include "platform/RegistryValues.h"

namespace vn {

Status RegistryKey::WriteSubKeys(const std::vector<RegistryTree>& subKeys) {
    for (const RegistryTree& tree : subKeys) {
        RegistryKeyPtr key;
        if (Status status = CreateKey(tree.Name, KEY_ALL_ACCESS, key); status != ERROR_SUCCESS)
            return status;
        for (const RegistryTreeValue& value : tree.Values) {
            const auto size = static_cast<std::uint32_t>(value.Data.size());
            if (Status status = key->SetValue(value.Name, value.Type, value.Data.data(), size); status != ERROR_SUCCESS)
                return status;
        }
        if (Status status = key->WriteSubKeys(tree.SubKeys); status != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

Status RegistryKey::ReplaceSubKeys(const std::vector<RegistryTree>& subKeys) {
    std::vector<std::string> names;
    if (Status status = EnumKeys(names); status != ERROR_SUCCESS)
        return status;
    for (const std::string& name : names) {
        if (Status status = DeleteTree(name); status != ERROR_SUCCESS)
            return status;
    }
    return WriteSubKeys(subKeys);
}

Status RegistryKey::VisitSubKeys(const std::vector<std::string>& valueNames, RegistryTreeVisitor& visitor) {
    std::vector<std::string> names;
    if (Status status = EnumKeys(names); status != ERROR_SUCCESS)
        return status;
    std::vector<std::uint8_t> data;
    for (const std::string& name : names) {
        RegistryKeyPtr key;
        if (Status status = OpenKey(name, KEY_READ, key); status != ERROR_SUCCESS)
            return status;
        visitor.BeginKey(name);
        for (std::size_t i = 0; i < valueNames.size(); ++i) {
            std::uint32_t type = REG_NONE;
            const Status status = QueryValueBytes(*key, valueNames[i], type, data);
            if (status == ERROR_SUCCESS)
                visitor.Value(i, type, data);
            else if (status != ERROR_FILE_NOT_FOUND)
                return status;
        }
        if (Status status = key->VisitSubKeys(valueNames, visitor); status != ERROR_SUCCESS)
            return status;
        visitor.EndKey();
    }
    return ERROR_SUCCESS;
}

Status RegistryKey::ReadSubKeys(const std::vector<std::string>& valueNames, std::vector<RegistryTree>& subKeys) {
    subKeys.clear();
    RegistryTreeBuilder builder(valueNames, subKeys);
    return VisitSubKeys(valueNames, builder);
}

}  // namespace vn

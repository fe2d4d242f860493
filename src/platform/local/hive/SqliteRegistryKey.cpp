#include "platform/local/hive/SqliteRegistryKey.h"

#include <cstring>
#include <vector>

#include "platform/local/hive/HiveWriteGroup.h"
#include "platform/local/hive/RegistryNames.h"

namespace vn {
namespace {

constexpr std::uint32_t kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

// MAXIMUM_ALLOWED grants everything a key can give.
std::uint32_t EffectiveAccess(std::uint32_t access) { return (access & MAXIMUM_ALLOWED) ? KEY_ALL_ACCESS : access; }

}  // namespace

SqliteRegistryKey::SqliteRegistryKey(std::shared_ptr<SqliteHive> hive, SqliteHive::KeyId id, std::uint32_t access)
    : hive_(std::move(hive)),
      id_(id),
      access_(EffectiveAccess(access)) {}

Status SqliteRegistryKey::Open(std::string_view subKey, std::uint32_t access, bool create, RegistryKeyPtr& result) {
    std::vector<std::string> path;
    if (Status status = SplitKeyPath(subKey, path); status != ERROR_SUCCESS)
        return status;
    SqliteHive::KeyId found = 0;
    const Status status =
        create ? hive_->CreateKey(id_, path, Allows(KEY_CREATE_SUB_KEY), found) : hive_->FindKey(id_, path, found);
    if (status != ERROR_SUCCESS)
        return status;
    if ((EffectiveAccess(access) & kWriteRights) && hive_->IsReadOnly())
        return ERROR_ACCESS_DENIED;
    result = std::make_unique<SqliteRegistryKey>(hive_, found, access);
    return ERROR_SUCCESS;
}

Status SqliteRegistryKey::OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) {
    return Open(subKey, access, false, result);
}

Status SqliteRegistryKey::CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) {
    return Open(subKey, access, true, result);
}

Status SqliteRegistryKey::QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) {
    // As RegQueryValueEx: a buffer without its size is refused.
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    if (!Allows(KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    std::uint32_t storedType = REG_NONE;
    std::vector<std::uint8_t> stored;
    if (Status status = hive_->QueryValue(id_, name, storedType, stored); status != ERROR_SUCCESS)
        return status;
    const auto needed = static_cast<std::uint32_t>(stored.size());
    if (type)
        *type = storedType;
    if (!data) {
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }
    const bool fits = *size >= needed;
    *size = needed;
    if (!fits)
        return ERROR_MORE_DATA;
    if (needed > 0)
        std::memcpy(data, stored.data(), needed);
    return ERROR_SUCCESS;
}

Status SqliteRegistryKey::SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                   std::uint32_t size) {
    if (!data && size > 0)
        return ERROR_INVALID_PARAMETER;
    if (!Allows(KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    return hive_->SetValue(id_, name, type, data, size);
}

Status SqliteRegistryKey::EnumKey(std::uint32_t index, std::string& name) {
    if (!Allows(KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    return hive_->EnumKey(id_, index, name);
}

Status SqliteRegistryKey::EnumKeys(std::vector<std::string>& names) {
    names.clear();
    if (!Allows(KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    return hive_->EnumKeys(id_, names);
}

Status SqliteRegistryKey::WriteSubKeys(const std::vector<RegistryTree>& subKeys) {
    if (!Allows(KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    return hive_->WriteTrees(id_, subKeys);
}

Status SqliteRegistryKey::ReplaceSubKeys(const std::vector<RegistryTree>& subKeys) {
    if (!Allows(KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    return hive_->ReplaceTrees(id_, subKeys);
}

Status SqliteRegistryKey::VisitSubKeys(const std::vector<std::string>& valueNames, RegistryTreeVisitor& visitor) {
    if (!Allows(KEY_ENUMERATE_SUB_KEYS))
        return ERROR_ACCESS_DENIED;
    return hive_->VisitTrees(id_, valueNames, visitor);
}

Status SqliteRegistryKey::DeleteTree(std::string_view subKey) {
    std::vector<std::string> path;
    if (Status status = SplitKeyPath(subKey, path); status != ERROR_SUCCESS)
        return status;
    if (!Allows(KEY_CREATE_SUB_KEY))
        return ERROR_ACCESS_DENIED;
    return hive_->DeleteTree(id_, path);
}

std::unique_ptr<RegistryWriteGroup> SqliteRegistryKey::BeginWriteGroup() {
    return std::make_unique<HiveWriteGroup>(hive_);
}

}  // namespace vn

#pragma once

#include <memory>

#include "platform/Registry.h"
#include "platform/local/hive/SqliteHive.h"

namespace vn {

// An open key of a local hive. The access mask it was opened with stands in
// for the key's security: querying needs KEY_QUERY_VALUE, enumerating
// KEY_ENUMERATE_SUB_KEYS, setting values KEY_SET_VALUE, creating or deleting
// sub-keys KEY_CREATE_SUB_KEY; opening needs nothing of the parent, as on
// Windows. Asking for write access on a hive file that this program cannot
// write is refused with 5 at open time. Once the key itself has been deleted
// (through any handle or program) every operation answers ERROR_KEY_DELETED
// (1018), as Windows does.
class SqliteRegistryKey : public RegistryKey {
public:
    SqliteRegistryKey(std::shared_ptr<SqliteHive> hive, SqliteHive::KeyId id, std::uint32_t access);

    [[nodiscard]] Status OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override;
    [[nodiscard]] Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override;
    [[nodiscard]] Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) override;
    [[nodiscard]] Status SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size) override;
    [[nodiscard]] Status EnumKey(std::uint32_t index, std::string& name) override;
    [[nodiscard]] Status EnumKeys(std::vector<std::string>& names) override;
    [[nodiscard]] Status WriteSubKeys(const std::vector<RegistryTree>& subKeys) override;
    [[nodiscard]] Status ReplaceSubKeys(const std::vector<RegistryTree>& subKeys) override;
    [[nodiscard]] Status VisitSubKeys(const std::vector<std::string>& valueNames,
                                      RegistryTreeVisitor& visitor) override;
    [[nodiscard]] Status DeleteTree(std::string_view subKey) override;
    std::unique_ptr<RegistryWriteGroup> BeginWriteGroup() override;

private:
    [[nodiscard]] Status Open(std::string_view subKey, std::uint32_t access, bool create, RegistryKeyPtr& result);
    bool Allows(std::uint32_t right) const { return (access_ & right) == right; }

    std::shared_ptr<SqliteHive> hive_;
    const SqliteHive::KeyId id_;
    const std::uint32_t access_;
};

}  // namespace vn

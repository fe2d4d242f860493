#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryTree.h"
#include "platform/Status.h"

namespace vn {

enum class Hive { LocalMachine, CurrentUser, Users };

// Access masks as Windows defines them.
inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr std::uint32_t KEY_NOTIFY = 0x0010;
inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_WRITE = 0x20006;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;
inline constexpr std::uint32_t MAXIMUM_ALLOWED = 0x02000000;

// Value types.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

// Whether the registry can take name as the name of one key: not empty, at
// most 255 bytes, no backslash (the path separator).
inline bool IsStorableKeyName(std::string_view name) {
    constexpr std::size_t kMaxKeyNameLength = 255;
    return !name.empty() && name.size() <= kMaxKeyNameLength && name.find('\\') == std::string_view::npos;
}

class RegistryKey;
class RegistryTreeVisitor;
using RegistryKeyPtr = std::unique_ptr<RegistryKey>;

// A write group: the writes made through the hive while it is open land
// together when Commit succeeds, and not at all otherwise (also when the group
// is destroyed without Commit).
class RegistryWriteGroup {
public:
    virtual ~RegistryWriteGroup() = default;
    [[nodiscard]] virtual Status Commit() = 0;
};

// An open registry key. Destroying it closes it. Key names are
// case-insensitive and case-preserving; paths use "\" as separator.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // RegOpenKeyEx: an existing sub-key (an empty path re-opens this key).
    [[nodiscard]] virtual Status OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) = 0;

    // RegCreateKeyEx: opens the sub-key, creating every missing key on the path.
    [[nodiscard]] virtual Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) = 0;

    // RegQueryValueEx: name "" is the default value. type, data and size may be
    // null. With data null the size needed is stored; with *size too small the
    // result is ERROR_MORE_DATA (234) and *size holds the size needed.
    [[nodiscard]] virtual Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                            std::uint32_t* size) = 0;

    // RegSetValueEx.
    [[nodiscard]] virtual Status SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                          std::uint32_t size) = 0;

    // RegEnumKey: the sub-key at index in the hive's own order; 259 past the end.
    [[nodiscard]] virtual Status EnumKey(std::uint32_t index, std::string& name) = 0;

    // Every sub-key's name in the same order: RegEnumKey from index 0 to its
    // end, which a hive may answer in one pass instead of one look-up per index.
    virtual Status EnumKeys(std::vector<std::string>& names) {
        names.clear();
        std::string name;
        for (std::uint32_t index = 0;; ++index) {
            const Status status = EnumKey(index, name);
            if (status == ERROR_NO_MORE_ITEMS)
                return ERROR_SUCCESS;
            if (status != ERROR_SUCCESS)
                return status;
            names.push_back(name);
        }
    }

    // Writes each tree below this key: creates the keys that are missing and
    // sets the values, as CreateKey and SetValue would one by one (which is
    // what this does unless a hive can do it in one pass). A failure stops the
    // walk; a write group around the call keeps such a write from landing half.
    [[nodiscard]] virtual Status WriteSubKeys(const std::vector<RegistryTree>& subKeys);

    // Makes the sub-keys of this key exactly subKeys: as deleting each
    // sub-key with its subtree and then WriteSubKeys would (which is what
    // this does unless a hive can leave alone what is already as given).
    [[nodiscard]] virtual Status ReplaceSubKeys(const std::vector<RegistryTree>& subKeys);

    // Hands the sub-keys of this key with their whole subtrees to visitor,
    // each level in EnumKey's order, and of each key the values named in
    // valueNames (as the registry compares names; the others are left out).
    // On failure the visitor has had what was read before it.
    [[nodiscard]] virtual Status VisitSubKeys(const std::vector<std::string>& valueNames, RegistryTreeVisitor& visitor);
    // The same read into trees, each value under the name as given in valueNames.
    [[nodiscard]] Status ReadSubKeys(const std::vector<std::string>& valueNames, std::vector<RegistryTree>& subKeys);

    // SHDeleteKey: deletes the sub-key with its whole subtree.
    [[nodiscard]] virtual Status DeleteTree(std::string_view subKey) = 0;

    // Starts a write group on this key's hive. A hive that cannot group
    // writes returns null; its writes then land one by one.
    virtual std::unique_ptr<RegistryWriteGroup> BeginWriteGroup() { return nullptr; }
};

class Registry {
public:
    virtual ~Registry() = default;

    // RegConnectRegistry: computer "" is this computer.
    [[nodiscard]] virtual Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) = 0;
};

}  // namespace vn

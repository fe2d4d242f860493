#include "discovery/FastSweepSetting.h"

#include <cstdint>

#include "platform/RegistryValues.h"

namespace vn {
namespace {

constexpr std::string_view kSettingsKey = "Software\\Vantor Netwarden\\Settings";

Status OpenSettings(Registry& registry, bool create, RegistryKeyPtr& key) {
    RegistryKeyPtr user;
    if (const Status status = registry.Connect("", Hive::CurrentUser, user); status != ERROR_SUCCESS)
        return status;
    return create ? user->CreateKey(kSettingsKey, KEY_ALL_ACCESS, key) : user->OpenKey(kSettingsKey, KEY_READ, key);
}

}  // namespace

bool ReadFastSweepSetting(Registry& registry) {
    RegistryKeyPtr key;
    std::uint32_t value = 0;
    return OpenSettings(registry, false, key) == ERROR_SUCCESS &&
           QueryDwordValue(*key, kFastSweepValue, value, REG_DWORD) == ERROR_SUCCESS && value != 0;
}

Status WriteFastSweepSetting(Registry& registry, bool fast) {
    RegistryKeyPtr key;
    if (const Status status = OpenSettings(registry, true, key); status != ERROR_SUCCESS)
        return status;
    return SetDwordValue(*key, kFastSweepValue, fast ? 1 : 0);
}

}  // namespace vn

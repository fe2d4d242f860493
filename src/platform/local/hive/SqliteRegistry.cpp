#include "platform/local/hive/SqliteRegistry.h"

#include "platform/local/hive/SqliteRegistryKey.h"

namespace vn {

SqliteRegistry::SqliteRegistry(const HivePaths& paths, std::chrono::milliseconds busyTimeout)
    // The user hive holds what the user found on the network: private to the
    // user, wherever NETWARDEN_USER_HIVE puts it.
    : currentUser_(std::make_shared<SqliteHive>(paths.currentUser, 0700, 0600, busyTimeout)),
      localMachine_(std::make_shared<SqliteHive>(paths.localMachine, 0755, 0644, busyTimeout)) {}

Status SqliteRegistry::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    if (!computer.empty())
        return ERROR_BAD_NETPATH;
    switch (hive) {
    case Hive::CurrentUser:
        result = std::make_unique<SqliteRegistryKey>(currentUser_, SqliteHive::kRootKey, KEY_ALL_ACCESS);
        return ERROR_SUCCESS;
    case Hive::LocalMachine:
        result = std::make_unique<SqliteRegistryKey>(localMachine_, SqliteHive::kRootKey, KEY_ALL_ACCESS);
        return ERROR_SUCCESS;
    case Hive::Users: break;
    }
    return ERROR_ACCESS_DENIED;
}

}  // namespace vn

#pragma once

#include <functional>
#include <string>

namespace vn {

// Where this computer's two registry hives live.
struct HivePaths {
    std::string currentUser;   // HKEY_CURRENT_USER
    std::string localMachine;  // HKEY_LOCAL_MACHINE
};

// Reads an environment variable; null when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// The hive files: NETWARDEN_USER_HIVE and NETWARDEN_MACHINE_HIVE when set,
// otherwise $XDG_CONFIG_HOME/vantor-netwarden/user-hive.db (XDG_CONFIG_HOME
// defaulting to ~/.config; a relative value is ignored, as the XDG rules
// say) and /var/lib/vantor-netwarden/machine-hive.db.
HivePaths HivePathsFromEnvironment(const EnvironmentLookup& lookup);
HivePaths HivePathsFromEnvironment();

// The current user's home directory: $HOME, else the password database.
std::string HomeDirectory(const EnvironmentLookup& lookup);

}  // namespace vn

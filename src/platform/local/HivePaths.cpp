#include "platform/local/HivePaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace vn {
namespace {

constexpr const char* kMachineHive = "/var/lib/vantor-netwarden/machine-hive.db";
constexpr const char* kUserHiveName = "vantor-netwarden/user-hive.db";

bool IsSet(const char* value) { return value != nullptr && *value != '\0'; }

}  // namespace

std::string HomeDirectory(const EnvironmentLookup& lookup) {
    if (const char* home = lookup("HOME"); IsSet(home))
        return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && IsSet(found->pw_dir))
        return found->pw_dir;
    return "/";
}

HivePaths HivePathsFromEnvironment(const EnvironmentLookup& lookup) {
    HivePaths paths;
    if (const char* user = lookup("NETWARDEN_USER_HIVE"); IsSet(user)) {
        paths.currentUser = user;
    } else {
        const char* config = lookup("XDG_CONFIG_HOME");
        std::string base =
            (IsSet(config) && config[0] == '/') ? std::string(config) : HomeDirectory(lookup) + "/.config";
        if (base.back() != '/')
            base += '/';
        paths.currentUser = base + kUserHiveName;
    }
    const char* machine = lookup("NETWARDEN_MACHINE_HIVE");
    paths.localMachine = IsSet(machine) ? machine : kMachineHive;
    return paths;
}

HivePaths HivePathsFromEnvironment() {
    return HivePathsFromEnvironment([](const char* name) { return std::getenv(name); });
}

}  // namespace vn

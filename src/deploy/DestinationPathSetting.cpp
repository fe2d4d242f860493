#include "deploy/DestinationPathSetting.h"

#include "core/RegistryString.h"

namespace vn {

std::string ReadDefaultDestinationPath(Registry& registry) {
    RegistryKeyPtr user;
    if (registry.Connect("", Hive::CurrentUser, user) != ERROR_SUCCESS)
        return std::string(kBuiltInDestinationPath);
    std::string path = ReadRegistryString(*user, "Software\\Vantor Netwarden\\Settings", kDefaultDestinationPathValue,
                                          kBuiltInDestinationPath);
    return path.empty() ? std::string(kBuiltInDestinationPath) : path;
}

}  // namespace vn

#include "platform/SecretFileCheck.h"

#include <sys/stat.h>

#include <cstdio>

namespace vn {

std::string UnprotectedSecretFileWarning(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || (info.st_mode & 077) == 0)
        return {};
    char permissions[8];
    std::snprintf(permissions, sizeof permissions, "%04o", static_cast<unsigned>(info.st_mode & 07777));
    return std::string("WARNING: UNPROTECTED CREDENTIALS FILE!\n") + "Permissions " + permissions + " for '" + path +
           "' are too open.\nIt is recommended that your credentials file is NOT accessible by others "
           "(chmod 600 '" +
           path + "').";
}

}  // namespace vn

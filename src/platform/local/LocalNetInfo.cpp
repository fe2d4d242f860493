#include "platform/local/LocalNetInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/local/LocalComputerName.h"
#include "platform/local/SambaWorkgroup.h"

namespace vn {
namespace {

constexpr std::uint32_t kPlatformIdNt = 500;
constexpr std::uint32_t kVersionMajor = 6;
constexpr std::uint32_t kVersionMinor = 1;
// SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_SERVER_UNIX | SV_TYPE_SERVER_NT
constexpr std::uint32_t kServerType = 0x00000001 | 0x00000002 | 0x00000800 | 0x00008000;

bool IsThisComputer(std::string_view server) { return server.empty(); }

// The user running this program: the password database, else $USER/$LOGNAME.
bool CurrentUserName(std::string& name) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name) {
        name = found->pw_name;
        return true;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        if (const char* value = std::getenv(variable); value && *value) {
            name = value;
            return true;
        }
    }
    return false;
}

}  // namespace

LocalNetInfo::LocalNetInfo(std::vector<std::string> sambaConfigFiles)
    : sambaConfigFiles_(std::move(sambaConfigFiles)) {}

LocalNetInfo::LocalNetInfo() : LocalNetInfo(DefaultSambaConfigFiles()) {}

Status LocalNetInfo::NetServerGetInfo101(std::string_view server, ServerInfo101& info) {
    if (!IsThisComputer(server))
        return ERROR_BAD_NETPATH;
    ServerInfo101 result;
    if (!ReadLocalComputerName(result.name))
        return ERROR_NOT_SUPPORTED;
    result.platformId = kPlatformIdNt;
    result.versionMajor = kVersionMajor;
    result.versionMinor = kVersionMinor;
    result.type = kServerType;
    info = std::move(result);
    return ERROR_SUCCESS;
}

Status LocalNetInfo::NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) {
    if (!IsThisComputer(server))
        return ERROR_BAD_NETPATH;
    WkstaInfo100 result;
    if (!ReadLocalComputerName(result.computerName))
        return ERROR_NOT_SUPPORTED;
    result.platformId = kPlatformIdNt;
    result.langroup = ReadSambaWorkgroup(sambaConfigFiles_);
    result.versionMajor = kVersionMajor;
    result.versionMinor = kVersionMinor;
    info = std::move(result);
    return ERROR_SUCCESS;
}

Status LocalNetInfo::NetWkstaUserGetInfo1(WkstaUserInfo1& info) {
    WkstaUserInfo1 result;
    if (!CurrentUserName(result.userName))
        return ERROR_NONE_MAPPED;
    if (!ReadLocalComputerName(result.logonDomain))
        return ERROR_NOT_SUPPORTED;
    result.logonServer = result.logonDomain;
    info = std::move(result);
    return ERROR_SUCCESS;
}

Status LocalNetInfo::NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                       std::uint32_t& resumeHandle) {
    if (!IsThisComputer(server))
        return ERROR_BAD_NETPATH;
    WkstaUserInfo1 user;
    if (Status status = NetWkstaUserGetInfo1(user); status != ERROR_SUCCESS)
        return status;
    users.clear();
    users.push_back(std::move(user));
    resumeHandle = 0;
    return ERROR_SUCCESS;
}

}  // namespace vn

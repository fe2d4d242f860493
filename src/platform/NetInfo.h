#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace vn {

// SERVER_INFO_101.
struct ServerInfo101 {
    std::uint32_t platformId = 0;
    std::string name;
    std::uint32_t versionMajor = 0;
    std::uint32_t versionMinor = 0;
    std::uint32_t type = 0;
    std::string comment;
};

// WKSTA_INFO_100.
struct WkstaInfo100 {
    std::uint32_t platformId = 0;
    std::string computerName;
    std::string langroup;
    std::uint32_t versionMajor = 0;
    std::uint32_t versionMinor = 0;
};

// WKSTA_USER_INFO_1.
struct WkstaUserInfo1 {
    std::string userName;
    std::string logonDomain;
    std::string otherDomains;
    std::string logonServer;
};

// The server and workstation services. Server "" is this computer.
class NetInfo {
public:
    virtual ~NetInfo() = default;

    [[nodiscard]] virtual Status NetServerGetInfo101(std::string_view server, ServerInfo101& info) = 0;
    [[nodiscard]] virtual Status NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) = 0;

    // One batch of logged-on users. Returns ERROR_MORE_DATA (234) while more
    // remain; call again with the same resume handle. 0 with the last batch.
    [[nodiscard]] virtual Status NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                                   std::uint32_t& resumeHandle) = 0;

    // The user running this program, on this computer.
    [[nodiscard]] virtual Status NetWkstaUserGetInfo1(WkstaUserInfo1& info) = 0;
};

}  // namespace vn

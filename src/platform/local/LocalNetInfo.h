#pragma once

#include <string>
#include <vector>

#include "platform/NetInfo.h"

namespace vn {

// The server and workstation services of this computer (server name ""):
// platform 500 and version 6.1, as this computer's own Samba server reports
// itself; the workgroup of the Samba client configuration; the user running
// this program, whose logon domain and logon server are the computer name.
// Any other server name answers ERROR_BAD_NETPATH: remote computers are
// another backend's.
class LocalNetInfo : public NetInfo {
public:
    // Samba configuration files to take the workgroup from, first found wins.
    explicit LocalNetInfo(std::vector<std::string> sambaConfigFiles);
    LocalNetInfo();

    [[nodiscard]] Status NetServerGetInfo101(std::string_view server, ServerInfo101& info) override;
    [[nodiscard]] Status NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) override;
    // Gives the whole list (this program's user) in one batch: the vector is
    // replaced, the resume handle set to 0 and the result is 0.
    [[nodiscard]] Status NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                           std::uint32_t& resumeHandle) override;
    [[nodiscard]] Status NetWkstaUserGetInfo1(WkstaUserInfo1& info) override;

private:
    std::vector<std::string> sambaConfigFiles_;
};

}  // namespace vn

#pragma once

#include "platform/NetInfo.h"
#include "platform/smb/SmbConnector.h"

namespace vn::smb {

// The server (\srvsvc) and workstation (\wkssvc) services of other computers.
// The local computer ("") is not served here.
class SmbNetInfo : public NetInfo {
public:
    explicit SmbNetInfo(SmbConnector& connector) : connector_(connector) {}

    [[nodiscard]] Status NetServerGetInfo101(std::string_view server, ServerInfo101& info) override;
    [[nodiscard]] Status NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) override;
    [[nodiscard]] Status NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                           std::uint32_t& resumeHandle) override;
    // Only for this computer: ERROR_NOT_SUPPORTED.
    [[nodiscard]] Status NetWkstaUserGetInfo1(WkstaUserInfo1& info) override;

private:
    // Opens the service's pipe on server (or takes the one the thread's
    // RemoteConnectionScope keeps) and runs one operation; the result is the
    // transport's failure, else the operation's own status.
    template <class Request, class Response>
    [[nodiscard]] Status Call(std::string_view server, const RpcSyntaxId& syntax, const char* pipe,
                              const Request& request, Response& response);

    SmbConnector& connector_;
};

// The server name parameter as Windows sends it: "\\name".
std::u16string UncServerName(std::string_view server);

}  // namespace vn::smb

#include "platform/smb/SmbNetInfo.h"

#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/Srvsvc.h"
#include "platform/smb/rpc/Utf16.h"
#include "platform/smb/rpc/Wkssvc.h"

namespace vn::smb {

std::u16string UncServerName(std::string_view server) {
    while (!server.empty() && server.front() == '\\')
        server.remove_prefix(1);
    return u"\\\\" + Utf8ToUtf16(server);
}

template <class Request, class Response>
Status SmbNetInfo::Call(std::string_view server, const RpcSyntaxId& syntax, const char* pipe, const Request& request,
                        Response& response) {
    if (server.empty())
        return ERROR_NOT_SUPPORTED;
    std::shared_ptr<RpcConnection> connection;
    if (Status status = connector_.SharedRpc(server, syntax, pipe, connection); status != ERROR_SUCCESS)
        return status;
    return InvokeForStatus(*connection, request, response);
}

Status SmbNetInfo::NetServerGetInfo101(std::string_view server, ServerInfo101& info) {
    srvsvc::NetrServerGetInfoResponse response;
    Status status = Call(server, srvsvc::Interface(), srvsvc::kPipe,
                         srvsvc::NetrServerGetInfo{UncServerName(server), 101}, response);
    if (status == ERROR_SUCCESS && !response.hasInfo)
        status = RPC_X_BAD_STUB_DATA;
    if (status != ERROR_SUCCESS)
        return status;
    const auto& in = response.InfoStruct;
    info.platformId = in.sv101_platform_id;
    info.name = Utf16ToUtf8(in.sv101_name);
    info.versionMajor = in.sv101_version_major;
    info.versionMinor = in.sv101_version_minor;
    info.type = in.sv101_type;
    info.comment = Utf16ToUtf8(in.sv101_comment);
    return ERROR_SUCCESS;
}

Status SmbNetInfo::NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) {
    wkssvc::NetrWkstaGetInfoResponse response;
    Status status = Call(server, wkssvc::Interface(), wkssvc::kPipe,
                         wkssvc::NetrWkstaGetInfo{UncServerName(server), 100}, response);
    if (status == ERROR_SUCCESS && !response.hasInfo)
        status = RPC_X_BAD_STUB_DATA;
    if (status != ERROR_SUCCESS)
        return status;
    const auto& in = response.WkstaInfo;
    info.platformId = in.wki100_platform_id;
    info.computerName = Utf16ToUtf8(in.wki100_computername);
    info.langroup = Utf16ToUtf8(in.wki100_langroup);
    info.versionMajor = in.wki100_ver_major;
    info.versionMinor = in.wki100_ver_minor;
    return ERROR_SUCCESS;
}

Status SmbNetInfo::NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                     std::uint32_t& resumeHandle) {
    wkssvc::NetrWkstaUserEnum request{.ServerName = UncServerName(server), .ResumeHandle = resumeHandle};
    wkssvc::NetrWkstaUserEnumResponse response;
    const Status status = Call(server, wkssvc::Interface(), wkssvc::kPipe, request, response);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
        return status;
    for (const auto& user : response.UserInfo.Level1.Buffer) {
        users.push_back({Utf16ToUtf8(user.wkui1_username), Utf16ToUtf8(user.wkui1_logon_domain),
                         Utf16ToUtf8(user.wkui1_oth_domains), Utf16ToUtf8(user.wkui1_logon_server)});
    }
    resumeHandle = response.ResumeHandle;
    return status;
}

Status SmbNetInfo::NetWkstaUserGetInfo1(WkstaUserInfo1&) { return ERROR_NOT_SUPPORTED; }

}  // namespace vn::smb

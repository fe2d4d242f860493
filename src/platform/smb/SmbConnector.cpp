#include "platform/smb/SmbConnector.h"

#include <cctype>
#include <cstdint>

#include "platform/RemoteConnectionScope.h"
#include "platform/RemoteDeadline.h"
#include "platform/smb/protocol/UrlHost.h"

namespace vn::smb {

SmbConnector::SmbConnector() : SmbConnector(SmbCredentials::FromEnvironment()) {}

SmbConnector::SmbConnector(const SmbCredentials& credentials, HelperPoolOptions options)
    : pool_(credentials, std::move(options)) {}

Status SmbConnector::OpenRpc(std::string_view computer, const RpcSyntaxId& syntax, const char* pipeName,
                             std::unique_ptr<RpcConnection>& result) {
    std::string host;
    if (!helper::UrlHostName(computer, host))
        return ERROR_BAD_NETPATH;
    const auto limit = pool_.Options().callLimit;
    std::unique_ptr<PipeStream> pipe;
    if (Status status = pool_.OpenPipe(host, pipeName, RemoteDeadlineScope::CallDeadline(limit), pipe);
        status != ERROR_SUCCESS)
        return status;
    auto connection = std::make_unique<RpcConnection>(std::move(pipe), limit);
    if (Status status = connection->Bind(syntax); status != ERROR_SUCCESS)
        return status;
    result = std::move(connection);
    return ERROR_SUCCESS;
}

Status SmbConnector::SharedRpc(std::string_view computer, const RpcSyntaxId& syntax, const char* pipeName,
                               std::shared_ptr<RpcConnection>& result) {
    const std::string key = ScopeKey(computer, pipeName);
    if (auto kept = std::static_pointer_cast<RpcConnection>(RemoteConnectionScope::Find(key)); kept && kept->Usable()) {
        result = std::move(kept);
        return ERROR_SUCCESS;
    }
    std::unique_ptr<RpcConnection> opened;
    if (Status status = OpenRpc(computer, syntax, pipeName, opened); status != ERROR_SUCCESS)
        return status;
    result = std::move(opened);
    RemoteConnectionScope::Keep(key, result);
    return ERROR_SUCCESS;
}

std::string SmbConnector::ScopeKey(std::string_view computer, std::string_view what) const {
    // Per connector: another one may log on as someone else. Host names
    // differ in case only on paper.
    std::string key = std::to_string(reinterpret_cast<std::uintptr_t>(this)) + "\\" + std::string(what) + "\\";
    for (char c : computer)
        key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return key;
}

Status SmbConnector::ReadBrowseList(const std::string& url, std::vector<helper::BrowseEntry>& entries) {
    return pool_.Browse(url, RemoteDeadlineScope::CallDeadline(pool_.Options().browseLimit), entries);
}

}  // namespace vn::smb

#include "platform/smb/SmbConnector.h"

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

Status SmbConnector::ReadBrowseList(const std::string& url, std::vector<helper::BrowseEntry>& entries) {
    return pool_.Browse(url, RemoteDeadlineScope::CallDeadline(pool_.Options().browseLimit), entries);
}

}  // namespace vn::smb

#include "platform/smb/SmbConnector.h"

#include <atomic>
#include <vector>

#include "platform/smb/SmbPipe.h"

namespace vn::smb {

namespace {

std::atomic<std::uint64_t> nextConnectorId{1};

struct CachedContext {
    std::uint64_t connector = 0;
    std::weak_ptr<int> alive;
    std::uint64_t generation = 0;
    std::shared_ptr<SmbContext> context;
};

thread_local std::vector<CachedContext> threadContexts;

}  // namespace

SmbConnector::SmbConnector() : SmbConnector(SmbCredentials::FromEnvironment()) {}

SmbConnector::SmbConnector(const SmbCredentials& credentials)
    : id_(nextConnectorId++), credentials_(credentials) {}

void SmbConnector::SetCredentials(const SmbCredentials& credentials) {
    std::lock_guard<std::mutex> lock(mutex_);
    credentials_ = credentials;
    ++generation_;
}

SmbCredentials SmbConnector::Credentials() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return credentials_;
}

Status SmbConnector::ThreadContext(std::shared_ptr<SmbContext>& result) {
    SmbCredentials credentials;
    std::uint64_t generation = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        credentials = credentials_;
        generation = generation_;
    }
    std::erase_if(threadContexts, [](const CachedContext& cached) { return cached.alive.expired(); });
    for (auto& cached : threadContexts) {
        if (cached.connector != id_)
            continue;
        if (cached.generation == generation) {
            result = cached.context;
            return ERROR_SUCCESS;
        }
        // Stale credentials: replaced below; open pipes keep the old one alive.
        if (Status status = SmbContext::Create(credentials, SmbContext::Purpose::Rpc, cached.context);
            status != ERROR_SUCCESS)
            return status;
        cached.generation = generation;
        result = cached.context;
        return ERROR_SUCCESS;
    }
    CachedContext fresh{id_, alive_, generation, nullptr};
    if (Status status = SmbContext::Create(credentials, SmbContext::Purpose::Rpc, fresh.context);
        status != ERROR_SUCCESS)
        return status;
    threadContexts.push_back(fresh);
    result = fresh.context;
    return ERROR_SUCCESS;
}

Status SmbConnector::OpenRpc(std::string_view computer, const RpcSyntaxId& syntax,
                             const char* pipeName, std::unique_ptr<RpcConnection>& result) {
    std::string host;
    if (!SmbContext::UrlHostName(computer, host))
        return ERROR_BAD_NETPATH;
    std::shared_ptr<SmbContext> context;
    if (Status status = ThreadContext(context); status != ERROR_SUCCESS)
        return status;
    std::unique_ptr<PipeStream> pipe;
    if (Status status = SmbPipe::Open(context, host, pipeName, pipe); status != ERROR_SUCCESS)
        return status;
    auto connection = std::make_unique<RpcConnection>(std::move(pipe));
    if (Status status = connection->Bind(syntax); status != ERROR_SUCCESS)
        return status;
    result = std::move(connection);
    return ERROR_SUCCESS;
}

Status SmbConnector::BrowseContext(std::shared_ptr<SmbContext>& result) {
    return SmbContext::Create(Credentials(), SmbContext::Purpose::Browse, result);
}

}  // namespace vn::smb

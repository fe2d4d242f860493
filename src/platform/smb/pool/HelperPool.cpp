#include "platform/smb/pool/HelperPool.h"

#include <cctype>

#include "platform/ShippedFiles.h"
#include "platform/smb/pool/HelperCall.h"
#include "platform/smb/pool/HelperPipe.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb {

namespace {

HelperPoolOptions WithProgram(HelperPoolOptions options) {
    if (options.program.empty())
        options.program = HelperPool::ShippedHelperProgram();
    return options;
}

// Host names differ in case only on paper.
std::string SessionKey(std::string_view host) {
    std::string key(host);
    for (char& c : key)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

HelperPool::HelperPool(const SmbCredentials& credentials, HelperPoolOptions options)
    : core_(std::make_shared<HelperPoolCore>(WithProgram(std::move(options)), credentials)),
      housekeeper_([core = core_] { core->RunHousekeeping(); }) {}

HelperPool::~HelperPool() {
    core_->Close();
    housekeeper_.join();
}

void HelperPool::SetCredentials(const SmbCredentials& credentials) { core_->SetCredentials(credentials); }

SmbCredentials HelperPool::Credentials() const { return core_->Credentials(); }

std::string HelperPool::ShippedHelperProgram() {
    return FindShippedFile("netwarden-smb-helper", ShippedKind::Helper).string();
}

Status HelperPool::OpenPipe(const std::string& host, const std::string& pipe, Clock::time_point deadline,
                            std::unique_ptr<PipeStream>& result) {
    const std::string key = SessionKey(host);
    std::shared_ptr<HelperSlot> slot;
    if (Status status = core_->Acquire(key, deadline, ERROR_BAD_NETPATH, slot); status != ERROR_SUCCESS)
        return status;
    helper::Reply reply;
    const Status status = CallHelper<helper::Opened>(*slot->process, helper::OpenPipe{host, pipe}, deadline,
                                                     ERROR_BAD_NETPATH, StatusFromConnectErrno, reply);
    if (status == ERROR_SUCCESS) {
        core_->PipeOpened(*slot, key);
        result = std::make_unique<HelperPipe>(core_, slot, std::get<helper::Opened>(reply).handle, key);
    }
    core_->Release(slot);
    return status;
}

Status HelperPool::Browse(const std::string& url, Clock::time_point deadline,
                          std::vector<helper::BrowseEntry>& entries) {
    entries.clear();
    std::shared_ptr<HelperSlot> slot;
    if (Status status = core_->Acquire("", deadline, ERROR_BAD_NETPATH, slot); status != ERROR_SUCCESS)
        return status;
    helper::Reply reply;
    const auto collect = [&](helper::BrowseEntry& entry) {
        if (entries.size() == kMaxBrowseEntries)
            return false;
        entries.push_back(std::move(entry));
        return true;
    };
    Status status = CallHelper<helper::Done>(*slot->process, helper::Browse{url}, deadline, ERROR_BAD_NETPATH,
                                             StatusFromConnectErrno, reply, collect);
    core_->Release(slot);
    if (status == RPC_S_CALL_FAILED && entries.size() == kMaxBrowseEntries)
        status = ERROR_BROWSE_LIST_TOO_LONG;  // the helper was stopped there
    if (status != ERROR_SUCCESS)
        entries.clear();
    return status;
}

}  // namespace vn::smb

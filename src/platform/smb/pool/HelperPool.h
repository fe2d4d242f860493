#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/smb/pool/HelperPoolCore.h"
#include "platform/smb/protocol/HelperMessages.h"
#include "platform/smb/rpc/PipeStream.h"

namespace vn::smb {

// libsmbclient out of the program: a pool of helper processes, each one
// single-threaded library, started on demand up to a limit and ended when
// idle. The program keeps the time bound of every call: a helper that does
// not answer in time is killed, and a helper that dies fails only the calls
// it was serving. Destroying the pool ends every helper; a helper also dies
// with the program when the program is killed.
class HelperPool {
public:
    using Clock = std::chrono::steady_clock;

    explicit HelperPool(const SmbCredentials& credentials, HelperPoolOptions options = {});
    ~HelperPool();
    HelperPool(const HelperPool&) = delete;
    HelperPool& operator=(const HelperPool&) = delete;

    // Helpers started from now on log on with these; the others end when
    // their open pipes are closed.
    void SetCredentials(const SmbCredentials& credentials);
    SmbCredentials Credentials() const;
    const HelperPoolOptions& Options() const { return core_->Options(); }

    // Opens \\host\IPC$\pipe, preferring the helper that already holds a
    // session with host. A deadline that passes gives ERROR_BAD_NETPATH, as a
    // silent host does.
    Status OpenPipe(const std::string& host, const std::string& pipe, Clock::time_point deadline,
                    std::unique_ptr<PipeStream>& result);

    // Reads the browse list at url (smb://, smb://WORKGROUP, smb://SERVER).
    Status Browse(const std::string& url, Clock::time_point deadline, std::vector<helper::BrowseEntry>& entries);

    // The running helpers' process ids and how many were started, for
    // diagnostics and tests.
    std::vector<pid_t> HelperIds() const { return core_->HelperIds(); }
    std::size_t HelpersStarted() const { return core_->HelpersStarted(); }

    // netwarden-smb-helper beside the running program, else in the installed helper folder.
    static std::string ShippedHelperProgram();

    // Entries of one browse list beyond which the list is refused
    // (ERROR_BROWSE_LIST_TOO_LONG, whose text names the number).
    static constexpr std::size_t kMaxBrowseEntries = 100'000;

private:
    std::shared_ptr<HelperPoolCore> core_;
    std::thread housekeeper_;
};

}  // namespace vn::smb

#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/smb/pool/HelperPoolOptions.h"
#include "platform/smb/pool/HelperSlot.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn::smb {

// The state the pool shares with its open pipes, which may outlive it: the
// helpers, their leases, the credentials new helpers log on with, and the
// queue of the thread that starts and ends helpers.
class HelperPoolCore {
public:
    using Clock = std::chrono::steady_clock;

    HelperPoolCore(HelperPoolOptions options, const SmbCredentials& credentials);

    const HelperPoolOptions& Options() const { return options_; }
    void SetCredentials(const SmbCredentials& credentials);
    SmbCredentials Credentials() const;

    // A leased helper for a pipe to host, or for a browse ("" as host): the
    // free one holding host's session, else an idle one, else a new one while
    // under the limit, else the least loaded free one, else the first to come
    // free before the deadline.
    Status Acquire(const std::string& host, Clock::time_point deadline, Status timeoutStatus,
                   std::shared_ptr<HelperSlot>& slot);

    // Leases slot for one request; false when the deadline passed first
    // (timedOut) or the helper has ended.
    bool Lease(const std::shared_ptr<HelperSlot>& slot, Clock::time_point deadline, bool& timedOut);
    // Ends a lease; a helper that died on it leaves the pool.
    void Release(const std::shared_ptr<HelperSlot>& slot);
    // Bookkeeping of pipes, under the pool's lock.
    void PipeOpened(HelperSlot& slot, const std::string& host);
    void PipeClosed(HelperSlot& slot, const std::string& host, bool closedInHelper);

    // The housekeeping thread's loop: starts helpers on request, so that they
    // die with this thread, and ends idle ones. Returns after Close.
    void RunHousekeeping();
    // Kills every helper and ends the housekeeping loop.
    void Close();

    std::vector<pid_t> HelperIds() const;
    std::size_t HelpersStarted() const;

private:
    struct SpawnRequest {
        std::unique_ptr<HelperProcess> process;
        Status status = ERROR_SUCCESS;
        bool done = false;
    };

    std::shared_ptr<HelperSlot> ChooseLocked(const std::string& host) const;
    Status StartHelper(Clock::time_point deadline, Status timeoutStatus, std::shared_ptr<HelperSlot>& slot);
    Status SpawnOnHousekeeper(std::unique_ptr<HelperProcess>& process);
    std::vector<std::shared_ptr<HelperSlot>> TakeExpiredLocked(Clock::time_point now);
    Clock::time_point NextExpiryLocked(Clock::time_point now) const;
    void DropLocked(const std::shared_ptr<HelperSlot>& slot);

    const HelperPoolOptions options_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;       // a lease ended, a helper left or started
    std::condition_variable housekeeping_;  // a spawn request, a closing, a new helper to watch
    std::vector<std::shared_ptr<HelperSlot>> slots_;
    std::size_t starting_ = 0;
    std::size_t started_ = 0;
    std::deque<std::shared_ptr<SpawnRequest>> spawns_;
    SmbCredentials credentials_;
    std::uint64_t generation_ = 0;
    bool closed_ = false;
};

}  // namespace vn::smb

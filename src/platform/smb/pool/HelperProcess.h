#pragma once

#include <sys/types.h>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Status.h"
#include "platform/smb/protocol/HelperMessages.h"

namespace vn::smb {

// One helper process as its program sees it. Exchanges are made by one thread
// at a time (whoever leased it from the pool); Kill may come from any thread.
// The process is collected exactly once, by Kill or the destructor.
class HelperProcess {
public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome {
        Answered,  // the final reply arrived
        TimedOut,  // the deadline passed first: the process is killed
        Broken,    // the process is gone or broke the protocol: killed as well
    };

    // Starts program with its end of a fresh socket pair as descriptor 3,
    // without a shell. The helper dies with the calling thread, so this runs
    // on a thread that lives as long as the helpers should.
    static Status Spawn(const std::string& program, std::unique_ptr<HelperProcess>& result);
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Sends request and receives its final reply; browse entries that come
    // before it go to entry, which can refuse more (the process is then killed).
    Outcome Exchange(const helper::Request& request, Clock::time_point deadline, helper::Reply& reply,
                     const std::function<bool(helper::BrowseEntry&)>& entry = {});

    void Kill();
    // False once the process has ended, whoever ended it.
    bool Alive();
    pid_t Pid() const { return pid_; }

private:
    HelperProcess(pid_t pid, int fd) : pid_(pid), fd_(fd) {}

    const pid_t pid_;
    const int fd_;  // closed only by the destructor, so no other descriptor can take its number meanwhile
    std::mutex mutex_;
    bool collected_ = false;
};

}  // namespace vn::smb

#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Processes.h"
#include "platform/WorkerThread.h"

namespace vn {

// Waits on a thread of its own for one run of the deployment tool to end,
// then closes the run's pipe ends: input first, then output. Closing the
// output is what ends the runner's reading once the pipe holds nothing more
// (the tool's own children may hold the pipe much longer). It never looks at
// its stop event, so Stop returns only once the tool has ended.
class CProcessWaiter : public WorkerThread {
public:
    ~CProcessWaiter() override { Wait(); }

    // Starts waiting for tool, which must outlive the waiting (until Stop).
    bool Start(ChildProcess& tool);

    // The exit status of the tool last waited for; read it after Stop.
    std::uint32_t ExitStatus() const { return exitStatus_.load(); }

protected:
    void Run() override;

private:
    ChildProcess* tool_ = nullptr;
    std::atomic<std::uint32_t> exitStatus_{0};
};

}  // namespace vn

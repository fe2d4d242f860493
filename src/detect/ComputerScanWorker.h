#pragma once

#include "detect/ComputerScanJob.h"
#include "platform/Platform.h"
#include "platform/WorkerThread.h"

namespace vn {

// Examines a list of named computers (add, import and rescan) and hands one
// node per computer to the tree, whether or not it could be examined. A stop
// request ends the scan before the next computer.
class ComputerScanWorker final : public JobWorker<ComputerScanJob> {
public:
    explicit ComputerScanWorker(Platform& platform) : platform_(platform) {}
    ~ComputerScanWorker() override { Stop(); }

protected:
    void OnStarting() override;
    void Run() override;

private:
    Platform& platform_;
};

}  // namespace vn

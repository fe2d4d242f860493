#pragma once

#include "platform/WorkerThread.h"

namespace vn {

// The worker that browses the Windows network. It has no job yet: it is never
// started, so it is always idle, but it already takes part in the shutdown
// and in the stop requests of the progress panel like the other scan workers.
class NetworkScanWorker final : public WorkerThread {
public:
    ~NetworkScanWorker() override { Stop(); }

protected:
    void Run() override {}
};

}  // namespace vn

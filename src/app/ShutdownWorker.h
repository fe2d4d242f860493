#pragma once

#include <functional>
#include <vector>

#include "platform/WorkerThread.h"

namespace vn {

// Stops the scan workers at exit without blocking the user-interface thread,
// which the scans need until their end (tree insertions, status texts, their
// questions): on its own thread it signals each worker's stop event and waits
// for that worker's thread to end, one after the other in the given order,
// then calls onReady there. onReady must only post to the UI thread.
class ShutdownWorker final : public WorkerThread {
public:
    ShutdownWorker(std::vector<WorkerThread*> workers, std::function<void()> onReady)
        : workers_(std::move(workers)),
          onReady_(std::move(onReady)) {}
    ~ShutdownWorker() override { Wait(); }

    bool Start() { return StartThread(); }

protected:
    void Run() override;

private:
    const std::vector<WorkerThread*> workers_;
    const std::function<void()> onReady_;
};

}  // namespace vn

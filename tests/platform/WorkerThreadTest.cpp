#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>

#include "platform/WorkerThread.h"

using namespace std::chrono_literals;

namespace vn {
namespace {

// Runs until its stop event is signalled, counting its runs.
class PollingWorker : public WorkerThread {
public:
    bool Start() { return StartThread(); }
    std::atomic<int> runs{0};
    Event started{Event::Mode::ManualReset};

protected:
    void Run() override {
        ++runs;
        started.Set();
        while (!GetStopEvent().Wait(5ms)) {
        }
    }
};

class OneShotWorker : public JobWorker<int> {
public:
    std::atomic<int> seen{0};

protected:
    void Run() override { seen = *CurrentJob(); }
};

TEST(WorkerThreadTest, StopEndsTheThreadAndStartOnARunningWorkerIsIgnored) {
    PollingWorker worker;
    ASSERT_TRUE(worker.Start());
    worker.started.WaitForever();
    EXPECT_TRUE(worker.IsRunning());
    EXPECT_FALSE(worker.Start());
    worker.Stop();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.runs.load(), 1);
}

TEST(WorkerThreadTest, StopEventIsAutoResetAndAStopWhileIdleDoesNothing) {
    PollingWorker worker;
    worker.Stop();
    EXPECT_FALSE(worker.GetStopEvent().Wait(0ms));
    worker.GetStopEvent().Set();
    EXPECT_TRUE(worker.GetStopEvent().Wait(0ms));
    EXPECT_FALSE(worker.GetStopEvent().Wait(0ms));
}

TEST(WorkerThreadTest, JobWorkerRunsEachJobAndCanBeRestartedAfterItEnds) {
    OneShotWorker worker;
    ASSERT_TRUE(worker.Start(std::make_unique<int>(7)));
    worker.Wait();
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.seen.load(), 7);
    ASSERT_TRUE(worker.Start(std::make_unique<int>(9)));
    worker.Wait();
    EXPECT_EQ(worker.seen.load(), 9);
}

TEST(WorkerThreadTest, WaitForFirstIdleFindsTheWorkerThatEnded) {
    PollingWorker a, b;
    ASSERT_TRUE(a.Start());
    ASSERT_TRUE(b.Start());
    a.started.WaitForever();
    b.started.WaitForever();
    std::array<WorkerThread*, 2> workers{&a, &b};
    EXPECT_FALSE(WaitForFirstIdle(workers, 20ms).has_value());
    b.GetStopEvent().Set();
    EXPECT_EQ(WaitForFirstIdle(workers, 10s), std::optional<std::size_t>(1));
    a.Stop();
    b.Stop();
}

}  // namespace
}  // namespace vn

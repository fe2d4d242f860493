#include "app/ShutdownWorker.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/Event.h"

namespace vn::test {
namespace {

// A worker that runs until its stop event is set, then notes its name.
class StoppableWorker final : public WorkerThread {
public:
    StoppableWorker(std::string name, std::vector<std::string>& ended, std::mutex& mutex)
        : name_(std::move(name)),
          ended_(ended),
          mutex_(mutex) {}
    ~StoppableWorker() override { Stop(); }
    bool Start() { return StartThread(); }

protected:
    void Run() override {
        GetStopEvent().WaitForever();
        std::lock_guard lock(mutex_);
        ended_.push_back(name_);
    }

private:
    std::string name_;
    std::vector<std::string>& ended_;
    std::mutex& mutex_;
};

TEST(ShutdownWorkerTest, StopsAndWaitsForEveryWorkerInOrderThenReports) {
    std::mutex mutex;
    std::vector<std::string> ended;
    StoppableWorker computer("computer", ended, mutex);
    StoppableWorker subnet("subnet", ended, mutex);
    StoppableWorker network("network", ended, mutex);
    ASSERT_TRUE(computer.Start());
    ASSERT_TRUE(network.Start());  // subnet never ran
    Event ready(Event::Mode::ManualReset);
    std::vector<std::string> endedAtReady;
    ShutdownWorker shutdown({&computer, &subnet, &network}, [&] {
        std::lock_guard lock(mutex);
        endedAtReady = ended;
        ready.Set();
    });
    ASSERT_TRUE(shutdown.Start());
    ASSERT_TRUE(ready.Wait(std::chrono::seconds(5)));
    EXPECT_EQ(endedAtReady, (std::vector<std::string>{"computer", "network"}));
    EXPECT_FALSE(computer.IsRunning());
    EXPECT_FALSE(network.IsRunning());
}

TEST(ShutdownWorkerTest, ReportsOnlyAfterAWorkerThatTakesItsTimeHasEnded) {
    std::vector<std::string> ended;
    Event letGo(Event::Mode::ManualReset);
    class SlowWorker final : public WorkerThread {
    public:
        explicit SlowWorker(Event& release) : release_(release) {}
        ~SlowWorker() override { Stop(); }
        bool Start() { return StartThread(); }

    protected:
        // Ignores its stop event, like a scan whose user answered No.
        void Run() override { release_.WaitForever(); }

    private:
        Event& release_;
    } slow(letGo);
    ASSERT_TRUE(slow.Start());
    Event ready(Event::Mode::ManualReset);
    ShutdownWorker shutdown({&slow}, [&] { ready.Set(); });
    ASSERT_TRUE(shutdown.Start());
    EXPECT_FALSE(ready.Wait(std::chrono::milliseconds(100)));
    letGo.Set();
    EXPECT_TRUE(ready.Wait(std::chrono::seconds(5)));
}

}  // namespace
}  // namespace vn::test

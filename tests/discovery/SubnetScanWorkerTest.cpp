#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "detect/AddressResolution.h"
#include "detect/RecordingSinks.h"
#include "discovery/SubnetScanWorker.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using Lines = std::vector<std::string>;

constexpr IPv4 Address(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

// Holds every port test until released, counting how many have begun and
// ended; records, for each test, how many had ended when it began.
class PortTestGate {
public:
    void Enter() {
        std::unique_lock lock(mutex_);
        endedWhenBegun_.push_back(ended_);
        ++begun_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_ > 0 || open_; });
        if (!open_)
            --released_;
        ++ended_;
    }
    void Release(int count) {
        std::lock_guard lock(mutex_);
        released_ += count;
        changed_.notify_all();
    }
    void OpenForGood() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void WaitUntilBegun(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return begun_ >= count; });
    }
    std::vector<int> EndedWhenBegun() {
        std::lock_guard lock(mutex_);
        return endedWhenBegun_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int begun_ = 0;
    int ended_ = 0;
    int released_ = 0;
    bool open_ = false;
    std::vector<int> endedWhenBegun_;
};

class SubnetScanWorkerTest : public ::testing::Test {
protected:
    SubnetScanWorkerTest() { catalogue_.AddBuiltIns(); }

    std::unique_ptr<SubnetScanJob> Job(IPv4 from, IPv4 to, bool resolve = false, FolderNode* parent = nullptr) {
        return std::make_unique<SubnetScanJob>(from, to, resolve, parent, status_, tree_, catalogue_, questions_);
    }

    void Scan(IPv4 from, IPv4 to, bool resolve = false, FolderNode* parent = nullptr) {
        ASSERT_TRUE(worker_->Start(Job(from, to, resolve, parent)));
        worker_->Wait();
    }

    // Every port test waits at the gate.
    void GatePortTests() {
        platform_.SetCallHook([this](const test::FakeCall& call) {
            if (call.operation == "TestTcpPort")
                gate_.Enter();
        });
    }

    // The addresses tested, in address order.
    Lines Tested() {
        std::vector<IPv4> addresses;
        for (const test::FakeCall& call : platform_.Log().Calls("TestTcpPort")) {
            IPv4 address = 0;
            EXPECT_TRUE(ParseDottedAddress(call.arguments.at(0), address));
            addresses.push_back(address);
        }
        std::sort(addresses.begin(), addresses.end());
        Lines dotted;
        for (IPv4 address : addresses)
            dotted.push_back(FormatIPv4(address));
        return dotted;
    }

    // The texts from the first that starts with prefix on.
    Lines LinesFrom(const std::string& prefix) const {
        const Lines lines = status_.Lines();
        auto first = std::find_if(lines.begin(), lines.end(),
                                  [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
        return Lines(first, lines.end());
    }

    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::RecordingStatusSink status_;
    test::RecordingTreeSink tree_;
    test::ScriptedMessageBoxService boxes_;
    MessageBoxStopQuestion questions_;
    PortTestGate gate_;
    std::unique_ptr<SubnetScanWorker> worker_ = std::make_unique<SubnetScanWorker>(platform_);
};

TEST_F(SubnetScanWorkerTest, TheRangeIsWalkedFromItsFirstAddressAfterANetworkAddress) {
    struct Case {
        IPv4 from, to;
        std::size_t tested;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {Address(192, 168, 1, 0), Address(192, 168, 1, 255), 255, "192.168.1.1", "192.168.1.255"},
        {Address(10, 0, 0, 76), Address(10, 0, 0, 79), 4, "10.0.0.76", "10.0.0.79"},
        {Address(10, 0, 0, 5), Address(10, 0, 0, 5), 1, "10.0.0.5", "10.0.0.5"},
        // The walk ends at the very last address.
        {Address(255, 255, 255, 250), Address(255, 255, 255, 255), 6, "255.255.255.250", "255.255.255.255"},
    };
    for (const Case& c : cases) {
        platform_.Log().Clear();
        status_.Clear();
        Scan(c.from, c.to);
        const Lines tested = Tested();
        ASSERT_EQ(tested.size(), c.tested) << c.first;
        EXPECT_EQ(tested.front(), c.first);
        EXPECT_EQ(tested.back(), c.last);
        // The bar's range is the number of addresses tested, and it ends full.
        EXPECT_EQ(status_.Ranges(), std::vector<int>{static_cast<int>(c.tested)});
        EXPECT_EQ(status_.Positions().back(), static_cast<int>(c.tested));
        EXPECT_EQ(status_.Lines().back(), "Subnet Scan finished successfull.");
        EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
        EXPECT_EQ(worker_->LastOutcome(), SubnetScanWorker::Outcome::Finished);
    }
    EXPECT_EQ(tree_.Count(), 0u);

    // A single network address: nothing to test, and nothing is shown.
    status_.Clear();
    Scan(Address(10, 0, 0, 0), Address(10, 0, 0, 0));
    EXPECT_TRUE(status_.Shows().empty());
    EXPECT_TRUE(status_.Lines().empty());
    EXPECT_EQ(worker_->LastOutcome(), SubnetScanWorker::Outcome::NothingToTest);
}

TEST_F(SubnetScanWorkerTest, ComputersThatAnswerAreExaminedAndFiledUnderTheJobsFolder) {
    const IPv4 pc = Address(10, 0, 0, 7);
    const IPv4 unnamed = Address(10, 0, 0, 9);
    for (IPv4 address : {pc, unnamed})
        platform_.LocalServices().SetPortOpen(address, 139);
    platform_.LocalServices().AddHost("PC7", pc);
    platform_.Computer("PC7").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
    FolderNode folder("Found");
    Scan(Address(10, 0, 0, 1), Address(10, 0, 0, 20), true, &folder);

    ASSERT_EQ(tree_.Count(), 2u);
    std::map<std::string, const ComputerRecord*> found;
    for (std::size_t i = 0; i < tree_.Count(); ++i) {
        found[tree_.Computer(i).Name] = &tree_.Computer(i);
        EXPECT_EQ(tree_.Nodes()[i].parent, &folder);
    }
    ASSERT_TRUE(found.count("PC7") && found.count("10.0.0.9"));
    EXPECT_EQ(found["PC7"]->HasError, 0);
    EXPECT_EQ(found["PC7"]->LastKnownIP, pc);
    EXPECT_EQ(found["PC7"]->InstalledProducts.size(), 1u);
    EXPECT_EQ(found["10.0.0.9"]->HasError, 1);  // nobody to examine under that name
    EXPECT_EQ(status_.Positions().back(), 20);
}

TEST_F(SubnetScanWorkerTest, NoMoreThan63TestsRunAndTheNextWaitsForAnyOneToEnd) {
    GatePortTests();
    ASSERT_TRUE(worker_->Start(Job(Address(10, 1, 0, 1), Address(10, 1, 0, 100))));
    gate_.WaitUntilBegun(63);
    EXPECT_EQ(worker_->LookupCount(), 63u);
    gate_.Release(1);
    gate_.WaitUntilBegun(64);
    gate_.OpenForGood();
    worker_->Wait();

    const std::vector<int> endedWhenBegun = gate_.EndedWhenBegun();
    ASSERT_EQ(endedWhenBegun.size(), 100u);
    for (std::size_t i = 0; i < endedWhenBegun.size(); ++i)
        EXPECT_GE(endedWhenBegun[i] + 63, static_cast<int>(i) + 1) << "test " << i << " began with 63 running";
    EXPECT_EQ(worker_->LookupCount(), 0u);
    // The last texts count the lookups down as they end.
    const Lines finishing = LinesFrom("Finishing subnet scan, ");
    ASSERT_FALSE(finishing.empty());
    EXPECT_EQ(finishing.back(), "Subnet Scan finished successfull.");
}

TEST_F(SubnetScanWorkerTest, CancelWith63RunningAsksThenFinishesThemAll) {
    GatePortTests();
    boxes_.QueueAnswer(MessageAnswer::Yes);
    ASSERT_TRUE(worker_->Start(Job(Address(10, 1, 0, 1), Address(10, 1, 0, 200))));
    gate_.WaitUntilBegun(63);
    worker_->GetStopEvent().Set();
    // Whether the walk sees the request before its wait or after the first
    // test to end, it asks once and starts nothing more; the tests under way
    // are all finished.
    gate_.Release(1);
    while (boxes_.Boxes().empty())
        std::this_thread::yield();
    gate_.OpenForGood();
    worker_->Wait();

    const auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Subnet Scan");
    EXPECT_TRUE(boxes[0].text == "Are you sure you want to stop the scanning?" ||
                boxes[0].text == "Are you sure you want to stop scanning?")
        << boxes[0].text;
    EXPECT_EQ(Tested().size(), 63u);
    EXPECT_EQ(status_.Positions().size(), 63u) << "every test ended with a progress step";

    // "Finishing subnet scan...", the lookups still running counted down as
    // they end, then the cancellation.
    const Lines finishing = LinesFrom("Finishing subnet scan...");
    ASSERT_GE(finishing.size(), 3u);
    EXPECT_EQ(finishing.back(), "Subnet scan cancelled.");
    std::vector<int> counts;
    for (std::size_t i = 1; i + 1 < finishing.size(); ++i) {
        int count = 0;
        ASSERT_EQ(std::sscanf(finishing[i].c_str(), "Finishing subnet scan, %d lookups still active", &count), 1)
            << finishing[i];
        counts.push_back(count);
    }
    EXPECT_TRUE(counts.front() == 63 || counts.front() == 62) << counts.front();
    for (std::size_t i = 1; i < counts.size(); ++i)
        EXPECT_EQ(counts[i], counts[i - 1] - 1);
    EXPECT_EQ(counts.back(), 1);
    EXPECT_EQ(status_.Shows(), std::vector<bool>{true});  // the panel stays with the text
    EXPECT_EQ(worker_->LastOutcome(), SubnetScanWorker::Outcome::Cancelled);
}

TEST_F(SubnetScanWorkerTest, AFailedWaitEndsTheWalkAfterEveryLookupHasEnded) {
    for (const bool alwaysFails : {false, true}) {
        int waits = 0;
        worker_ = std::make_unique<SubnetScanWorker>(
            platform_, [&waits, alwaysFails](std::span<WorkerThread* const> lookups) -> std::optional<std::size_t> {
                if (waits++ == 0 || alwaysFails)
                    return std::nullopt;
                return WaitForFirstIdle(lookups, std::chrono::hours(1));
            });
        status_.Clear();
        platform_.Log().Clear();
        // The lookups are counted until the walk removes them, so the walk
        // reaches 63 and waits whether or not they have ended.
        Scan(Address(10, 2, 0, 1), Address(10, 2, 0, 100));

        EXPECT_EQ(Tested().size(), 63u) << "no test is started after the failed wait";
        EXPECT_EQ(status_.Positions().size(), 63u) << "every started test ended";
        EXPECT_EQ(worker_->LookupCount(), 0u);
        // Counted down to the last one; a lookup's own first line may come
        // after it, since the lookups run on threads of their own.
        const std::vector<std::string> lines = status_.Lines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), "Finishing subnet scan, 1 lookups still active"), lines.end());
        EXPECT_EQ(status_.Shows(), std::vector<bool>{true});
        EXPECT_EQ(worker_->LastOutcome(), SubnetScanWorker::Outcome::WaitFailed);
    }
}

TEST_F(SubnetScanWorkerTest, ARequestFromBeforeTheStartIsForgotten) {
    worker_->GetStopEvent().Set();
    Scan(Address(10, 0, 0, 1), Address(10, 0, 0, 3));
    EXPECT_TRUE(boxes_.Boxes().empty());
    EXPECT_EQ(Tested().size(), 3u);
}

}  // namespace
}  // namespace vn

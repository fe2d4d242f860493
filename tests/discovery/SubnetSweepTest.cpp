#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "detect/RecordingSinks.h"
#include "discovery/SubnetScanWorker.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using Names = std::vector<std::string>;

constexpr IPv4 Address(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

// The fast mode of the subnet scan on the fake network, beside the walk.
class SubnetSweepTest : public ::testing::Test {
protected:
    SubnetSweepTest() { catalogue_.AddBuiltIns(); }

    // One scan on a fresh worker and fresh sinks; the names found, sorted.
    Names Scan(IPv4 from, IPv4 to, std::optional<FastSweep> fast) {
        status_.Clear();
        tree_.Clear();
        platform_.Log().Clear();
        SubnetScanWorker worker(platform_);
        auto job = std::make_unique<SubnetScanJob>(from, to, true, nullptr, status_, tree_, catalogue_, questions_);
        job->Fast = std::move(fast);
        EXPECT_TRUE(worker.Start(std::move(job)));
        worker.Wait();
        outcome_ = worker.LastOutcome();
        Names names;
        for (std::size_t i = 0; i < tree_.Count(); ++i)
            names.push_back(tree_.Computer(i).Name);
        std::sort(names.begin(), names.end());
        return names;
    }

    void OpenPort(IPv4 address, std::uint16_t port = 139) { platform_.LocalServices().SetPortOpen(address, port); }

    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::RecordingStatusSink status_;
    test::RecordingTreeSink tree_;
    test::ScriptedMessageBoxService boxes_;
    MessageBoxStopQuestion questions_;
    SubnetScanWorker::Outcome outcome_ = SubnetScanWorker::Outcome::None;
};

TEST_F(SubnetSweepTest, TheSweepFindsWhatTheWalkFinds) {
    struct Case {
        const char* what;
        IPv4 from;
        IPv4 to;
        std::vector<IPv4> open;
    };
    const Case cases[] = {
        {"nobody answers", Address(10, 2, 0, 1), Address(10, 2, 0, 40), {}},
        {"answers at both ends and more than 63", Address(10, 3, 0, 0), Address(10, 3, 0, 255),
         [] {
             std::vector<IPv4> open{Address(10, 3, 0, 1), Address(10, 3, 0, 255)};
             for (unsigned d = 100; d < 180; ++d)
                 open.push_back(Address(10, 3, 0, d));
             return open;
         }()},
        {"a range across a /24 boundary",
         Address(10, 4, 0, 250),
         Address(10, 4, 1, 5),
         {Address(10, 4, 0, 254), Address(10, 4, 1, 0), Address(10, 4, 1, 3)}},
    };
    platform_.LocalServices().AddHost("PC1", Address(10, 3, 0, 1));
    for (const Case& c : cases) {
        for (IPv4 address : c.open)
            OpenPort(address);
        const Names walked = Scan(c.from, c.to, std::nullopt);
        const int walkSteps = status_.Steps();
        const Names swept = Scan(c.from, c.to, FastSweep{});
        EXPECT_EQ(swept, walked) << c.what;
        EXPECT_EQ(swept.size(), c.open.size()) << c.what;
        EXPECT_EQ(status_.Steps(), walkSteps) << c.what << ": every address tested is one step";
        EXPECT_EQ(outcome_, SubnetScanWorker::Outcome::Finished) << c.what;
        EXPECT_EQ(status_.Lines().back(), "Subnet Scan finished successfull.") << c.what;
        // The sweep tested the ports; the examinations do not test them again.
        EXPECT_EQ(platform_.Log().Count("SweepTcpPorts"), 1u) << c.what;
        EXPECT_EQ(platform_.Log().Count("TestTcpPort"), 0u) << c.what;
    }
}

TEST_F(SubnetSweepTest, TheSweepTriesThePortsAskedFor) {
    OpenPort(Address(10, 5, 0, 2), 445);
    OpenPort(Address(10, 5, 0, 3), 139);
    struct Case {
        std::vector<std::uint16_t> ports;
        Names found;
    };
    const Case cases[] = {
        {{139}, {"10.5.0.3"}},
        {{139, 445}, {"10.5.0.2", "10.5.0.3"}},
    };
    for (const Case& c : cases) {
        FastSweep fast;
        fast.Ports = c.ports;
        fast.Parallel = 64;
        EXPECT_EQ(Scan(Address(10, 5, 0, 1), Address(10, 5, 0, 9), fast), c.found);
        const auto calls = platform_.Log().Calls("SweepTcpPorts");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].arguments.at(3), "64");
    }
}

TEST_F(SubnetSweepTest, AStopRequestDuringTheSweepAsksTheWalksQuestion) {
    for (IPv4 d = 1; d <= 9; ++d)
        OpenPort(Address(10, 6, 0, d));
    struct Case {
        MessageAnswer answer;
        SubnetScanWorker::Outcome outcome;
        std::size_t found;
        const char* lastText;
    };
    const Case cases[] = {
        {MessageAnswer::Yes, SubnetScanWorker::Outcome::Cancelled, 0, "Subnet scan cancelled."},
        {MessageAnswer::No, SubnetScanWorker::Outcome::Finished, 9, "Subnet Scan finished successfull."},
    };
    for (const Case& c : cases) {
        boxes_.QueueAnswer(c.answer);
        // The request arrives as the sweep begins, before any address is tested.
        SubnetScanWorker* running = nullptr;
        platform_.SetCallHook([&running](const test::FakeCall& call) {
            if (call.operation == "SweepTcpPorts")
                running->GetStopEvent().Set();
        });
        status_.Clear();
        tree_.Clear();
        SubnetScanWorker worker(platform_);
        running = &worker;
        auto job = std::make_unique<SubnetScanJob>(Address(10, 6, 0, 1), Address(10, 6, 0, 9), false, nullptr, status_,
                                                   tree_, catalogue_, questions_);
        job->Fast.emplace();
        ASSERT_TRUE(worker.Start(std::move(job)));
        worker.Wait();
        platform_.SetCallHook({});

        const auto boxes = boxes_.Boxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_EQ(boxes.back().caption, "Subnet Scan");
        EXPECT_EQ(boxes.back().text, "Are you sure you want to stop scanning?");
        EXPECT_EQ(worker.LastOutcome(), c.outcome);
        EXPECT_EQ(tree_.Count(), c.found);
        EXPECT_EQ(status_.Lines().back(), c.lastText);
    }
}

TEST_F(SubnetSweepTest, ASweepThatCannotRunEndsWithItsReason) {
    OpenPort(Address(10, 7, 0, 1));
    struct Case {
        Status status;
        const char* text;
    };
    const Case cases[] = {
        {ERROR_TOO_MANY_OPEN_FILES,
         "Fast sweep stopped: no file descriptors are left for connections. Raise the limit of open files or lower "
         "the parallel connections."},
        {ERROR_NOT_ENOUGH_MEMORY, "Fast sweep failed with error 8."},
    };
    for (const Case& c : cases) {
        platform_.LocalServices().SetSweepStatus(c.status);
        EXPECT_TRUE(Scan(Address(10, 7, 0, 1), Address(10, 7, 0, 5), FastSweep{}).empty());
        EXPECT_EQ(outcome_, SubnetScanWorker::Outcome::SweepFailed);
        EXPECT_EQ(status_.Lines().back(), c.text);
    }
}

}  // namespace
}  // namespace vn

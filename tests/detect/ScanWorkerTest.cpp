#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <thread>

#include "RecordingSinks.h"
#include "core/DispatchedStatusSink.h"
#include "core/TextStatusSink.h"
#include "detect/AddressProbeWorker.h"
#include "detect/ComputerScanWorker.h"
#include "detect/DispatchedTreeSink.h"
#include "platform/SystemErrorText.h"
#include "support/FakePlatform.h"

using namespace std::chrono_literals;

namespace vn {
namespace {

class ComputerScanWorkerTest : public ::testing::Test {
protected:
    ComputerScanWorkerTest() {
        catalogue_.AddBuiltIns();
        for (const char* name : {"PC1", "PC2", "PC3", "PC4", "PC5"})
            platform_.Computer(name).Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
    }

    std::unique_ptr<ComputerScanJob> Job(std::initializer_list<const char*> names, FolderNode* parent = nullptr) {
        auto job = std::make_unique<ComputerScanJob>(status_, tree_, catalogue_);
        for (const char* name : names)
            job->Entries.push_back(ScanEntry{name, parent});
        return job;
    }

    std::vector<std::string> AddedNames() const {
        std::vector<std::string> names;
        for (const auto& added : tree_.Nodes())
            names.push_back(added.node->Name);
        return names;
    }

    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::RecordingStatusSink status_;
    test::RecordingTreeSink tree_;
    ComputerScanWorker worker_{platform_};
};

TEST_F(ComputerScanWorkerTest, EveryComputerYieldsANodeAlsoWhenSwitchedOff) {
    platform_.Computer("PC2").SwitchOff();
    platform_.Computer("PC3").ServerInfo(5, 0, "Files");
    FolderNode folder("Office");
    ASSERT_TRUE(worker_.Start(Job({"PC1", "PC2", "PC3"}, &folder)));
    worker_.Wait();

    ASSERT_EQ(AddedNames(), (std::vector<std::string>{"PC1", "PC2", "PC3"}));
    for (const auto& added : tree_.Nodes()) {
        EXPECT_EQ(added.parent, &folder);
        // Filed before the examination's pipes close, a round trip each.
        EXPECT_TRUE(added.connectionsKept);
    }
    EXPECT_EQ(tree_.Computer(0).HasError, 0);
    EXPECT_EQ(tree_.Computer(0).InstalledProducts.size(), 1u);
    EXPECT_EQ(tree_.Computer(1).HasError, 1);
    EXPECT_EQ(tree_.Computer(1).ErrorString, SystemErrorText(ERROR_BAD_NETPATH));
    EXPECT_EQ(tree_.Computer(1).OSVersion, "");
    EXPECT_EQ(tree_.Computer(2).OSVersion, "Windows 95 5.0");
    EXPECT_EQ(tree_.Computer(2).Description, "Files");
    // The switched-off computer is not asked for its server information.
    EXPECT_EQ(platform_.Log().Count("NetServerGetInfo", "PC2"), 0u);
    EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
    // The bar went through the three computers, one step each.
    EXPECT_EQ(status_.Range(), 3);
    EXPECT_EQ(status_.Steps(), 3);
    EXPECT_FALSE(worker_.IsRunning());
}

TEST_F(ComputerScanWorkerTest, AComputerWhoseNameNoLongerResolvesIsExaminedWhereItWasLastMet) {
    // WSD1 was found by WS-Discovery at 169.254.10.2; PC1 resolves, and is
    // examined by name whatever its last address.
    const IPv4 lastMet = 0xA9FE0A02;
    platform_.Computer("169.254.10.2").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
    platform_.LocalServices().AddHost("PC1", 0x0A000001);
    auto job = std::make_unique<ComputerScanJob>(status_, tree_, catalogue_);
    job->Entries = {ScanEntry{"WSD1", nullptr, lastMet}, ScanEntry{"PC1", nullptr, 0x0A000099},
                    ScanEntry{"PC2", nullptr, 0}};
    ASSERT_TRUE(worker_.Start(std::move(job)));
    worker_.Wait();

    ASSERT_EQ(AddedNames(), (std::vector<std::string>{"WSD1", "PC1", "PC2"}));
    EXPECT_EQ(tree_.Computer(0).HasError, 0);
    EXPECT_EQ(tree_.Computer(0).InstalledProducts.size(), 1u);
    EXPECT_EQ(tree_.Computer(0).LastKnownIP, lastMet);
    EXPECT_EQ(tree_.Computer(1).LastKnownIP, 0x0A000001u);
    EXPECT_EQ(tree_.Computer(2).HasError, 0) << "no address known: by name, as always";
}

TEST_F(ComputerScanWorkerTest, CancelEndsTheScanBeforeTheNextComputer) {
    // The cancel arrives while PC2 is being examined.
    platform_.SetCallHook([this](const test::FakeCall& call) {
        if (call.operation == "RegConnectRegistry" && call.computer == "PC2")
            worker_.GetStopEvent().Set();
    });
    ASSERT_TRUE(worker_.Start(Job({"PC1", "PC2", "PC3", "PC4", "PC5"})));
    worker_.Wait();
    platform_.SetCallHook({});
    EXPECT_EQ(AddedNames(), (std::vector<std::string>{"PC1", "PC2"}));
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry", "PC3"), 0u);
    EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
    EXPECT_EQ(status_.Range(), 5);
    EXPECT_EQ(status_.Steps(), 2);
}

TEST_F(ComputerScanWorkerTest, ACancelLeftFromEarlierDoesNotStopTheNextScan) {
    worker_.GetStopEvent().Set();  // e.g. Cancel pressed during a subnet scan
    ASSERT_TRUE(worker_.Start(Job({"PC1", "PC2", "PC3"})));
    worker_.Wait();
    EXPECT_EQ(tree_.Count(), 3u);
}

TEST_F(ComputerScanWorkerTest, StartWhileRunningLeavesTheRunningJobAlone) {
    Event release(Event::Mode::ManualReset);
    Event blocked(Event::Mode::ManualReset);
    platform_.SetCallHook([&](const test::FakeCall& call) {
        if (call.operation == "RegConnectRegistry" && call.computer == "PC1") {
            blocked.Set();
            release.WaitForever();
        }
    });
    ASSERT_TRUE(worker_.Start(Job({"PC1", "PC2"})));
    blocked.WaitForever();
    EXPECT_TRUE(worker_.IsRunning());
    EXPECT_FALSE(worker_.Start(Job({"PC4", "PC5"})));
    release.Set();
    worker_.Wait();
    platform_.SetCallHook({});
    EXPECT_EQ(AddedNames(), (std::vector<std::string>{"PC1", "PC2"}));
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry", "PC4"), 0u);

    // Idle again: the next job runs.
    ASSERT_TRUE(worker_.Start(Job({"PC4"})));
    worker_.Wait();
    EXPECT_EQ(tree_.Count(), 3u);
}

TEST_F(ComputerScanWorkerTest, StopWaitsForTheScanToEnd) {
    platform_.Computer("PC1").Delay(200ms);
    ASSERT_TRUE(worker_.Start(Job({"PC1", "PC2", "PC3", "PC4", "PC5"})));
    worker_.Stop();
    EXPECT_FALSE(worker_.IsRunning());
    // The stop lands before some entry; whatever was started was finished.
    EXPECT_LT(tree_.Count(), 5u);
    EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
}

// A subnet scan as the address probes see it.
class FakeSubnetScan final : public SubnetScanContext {
public:
    FakeSubnetScan(Platform& platform, StatusSink& status, TreeSink& tree, const ProductCatalogue& catalogue)
        : platform_(platform),
          status_(status),
          tree_(tree),
          catalogue_(catalogue) {}

    bool ResolveNames() const override { return resolveNames; }
    FolderNode* ParentFolder() const override { return parent; }
    StatusSink& ProgressSink() override { return status_; }
    TreeSink& ResultSink() override { return tree_; }
    const ProductCatalogue& Catalogue() const override { return catalogue_; }
    Platform& ScanPlatform() override { return platform_; }

    bool resolveNames = false;
    FolderNode* parent = nullptr;

private:
    Platform& platform_;
    StatusSink& status_;
    TreeSink& tree_;
    const ProductCatalogue& catalogue_;
};

constexpr IPv4 kAnswering = 0x0A000007;  // 10.0.0.7
constexpr IPv4 kSilent = 0x0A000008;

class AddressProbeWorkerTest : public ComputerScanWorkerTest {
protected:
    AddressProbeWorkerTest() {
        platform_.LocalServices().SetPortOpen(kAnswering, 139);
        platform_.LocalServices().AddHost("PC3", kAnswering);
        platform_.Computer("10.0.0.7").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services");
    }

    void Probe(IPv4 address) {
        AddressProbeWorker worker(scan_);
        ASSERT_TRUE(worker.Start(ComputerRecord::FromAddress(address)));
        worker.Wait();
    }

    FakeSubnetScan scan_{platform_, status_, tree_, catalogue_};
};

TEST_F(AddressProbeWorkerTest, SilentAddressGivesOnlyAProgressStep) {
    Probe(kSilent);
    EXPECT_EQ(status_.Lines(), std::vector<std::string>{"Test IP address 10.0.0.8..."});
    EXPECT_EQ(status_.Steps(), 1);
    EXPECT_EQ(tree_.Count(), 0u);
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry"), 0u);
}

TEST_F(AddressProbeWorkerTest, AnsweringAddressIsNamedAfterItsAddressUnlessNamesAreResolved) {
    FolderNode folder("Subnet");
    scan_.parent = &folder;
    Probe(kAnswering);
    ASSERT_EQ(tree_.Count(), 1u);
    EXPECT_EQ(tree_.Computer(0).Name, "10.0.0.7");
    EXPECT_EQ(tree_.Computer(0).LastKnownIP, kAnswering);
    EXPECT_EQ(tree_.Computer(0).HasError, 0);
    EXPECT_EQ(tree_.Nodes()[0].parent, &folder);
    EXPECT_TRUE(tree_.Nodes()[0].connectionsKept);
    EXPECT_EQ(status_.Steps(), 1);

    scan_.resolveNames = true;
    Probe(kAnswering);
    ASSERT_EQ(tree_.Count(), 2u);
    EXPECT_EQ(tree_.Computer(1).Name, "PC3");
    EXPECT_EQ(tree_.Computer(1).InstalledProducts.size(), 1u);
    // The probe and the OS version each connect once.
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry", "PC3"), 2u);
}

TEST_F(AddressProbeWorkerTest, ManyProbesAtOnceShareTheSinks) {
    std::vector<std::unique_ptr<AddressProbeWorker>> workers;
    for (IPv4 host = 1; host <= 24; ++host) {
        const IPv4 address = 0x0A000100 + host;
        if (host % 2)
            platform_.LocalServices().SetPortOpen(address, 139);
        workers.push_back(std::make_unique<AddressProbeWorker>(scan_));
        ASSERT_TRUE(workers.back()->Start(ComputerRecord::FromAddress(address)));
    }
    for (auto& worker : workers)
        worker->Wait();
    EXPECT_EQ(status_.Steps(), 24);
    EXPECT_EQ(tree_.Count(), 12u);
    for (const auto& added : tree_.Nodes())
        EXPECT_EQ(static_cast<const ComputerRecord&>(*added.node).HasError, 1);  // nobody at those names
}

// The dispatching sinks carry every call onto the thread of a QObject.
class DispatchedSinksTest : public ::testing::Test {
protected:
    void RunUntilIdle(WorkerThread& worker) {
        while (worker.IsRunning())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        worker.Wait();
    }

    int argc_ = 1;
    char name_[8] = "tests";
    char* argv_[1] = {name_};
    QCoreApplication app_{argc_, argv_};
    QObject model_;
    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
};

TEST_F(DispatchedSinksTest, InsertionsRunOnTheModelThreadAndAVanishedParentBecomesTheTopLevel) {
    catalogue_.AddBuiltIns();
    FolderNode kept("Kept");
    FolderNode moved("Moved");
    std::vector<std::pair<std::string, FolderNode*>> inserted;
    std::atomic<bool> offThread{false};
    std::vector<std::unique_ptr<InventoryNode>> owned;
    DispatchedTreeSink tree(
        BlockingCallDispatcher(&model_),
        [&](FolderNode* parent, std::unique_ptr<InventoryNode> node) {
            offThread = offThread || QThread::currentThread() != model_.thread();
            inserted.emplace_back(node->Name, parent);
            owned.push_back(std::move(node));
            return owned.back().get();
        },
        [&](const InventoryNode* node) { return node == &kept; });
    test::RecordingStatusSink display;
    DispatchedStatusSink status(BlockingCallDispatcher(&model_), display);

    ComputerScanWorker worker(platform_);
    auto job = std::make_unique<ComputerScanJob>(status, tree, catalogue_);
    job->Entries = {ScanEntry{"A", &kept}, ScanEntry{"B", &moved}, ScanEntry{"C", nullptr}};
    ASSERT_TRUE(worker.Start(std::move(job)));
    RunUntilIdle(worker);

    EXPECT_FALSE(offThread.load());
    EXPECT_EQ(inserted,
              (std::vector<std::pair<std::string, FolderNode*>>{{"A", &kept}, {"B", nullptr}, {"C", nullptr}}));
    EXPECT_EQ(display.Lines().front(), "Connecting to computer A");
    EXPECT_EQ(display.Shows(), (std::vector<bool>{true, false}));

    // On the model's own thread the call runs directly.
    status.SetText("Direct %d", 1);
    EXPECT_EQ(display.Lines().back(), "Direct 1");
}

TEST_F(DispatchedSinksTest, ACallWhoseReceiverGoesIsReleasedUnrun) {
    auto* target = new QObject;
    BlockingCallDispatcher dispatcher(target);
    std::atomic<bool> ran{false};
    std::thread caller([&] { dispatcher.Call([&] { ran = true; }); });
    // Whether the call was queued before or after the receiver went, it must
    // neither run nor leave the caller waiting.
    std::this_thread::sleep_for(20ms);
    delete target;
    caller.join();
    EXPECT_FALSE(ran.load());
    dispatcher.Call([&] { ran = true; });  // on the receiver's thread: refused as well
    EXPECT_FALSE(ran.load());
}

TEST(TextStatusSinkTest, KeepsTheLastLineAndHandsEveryLineOn) {
    std::vector<std::string> printed;
    TextStatusSink sink([&](const std::string& line) { printed.push_back(line); });
    sink.SetText("Service \"%s\" is installed on %s.", std::string("Vantor"), "PC1");
    sink.SetRange(4);
    sink.Step();
    sink.Step();
    EXPECT_EQ(sink.Text(), "Service \"Vantor\" is installed on PC1.");
    EXPECT_EQ(sink.Position(), 2);
    sink.Reset();
    EXPECT_EQ(sink.Text(), "");
    EXPECT_EQ(sink.Position(), 0);
    EXPECT_EQ(printed.size(), 1u);
}

}  // namespace
}  // namespace vn

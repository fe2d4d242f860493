#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "detect/RecordingSinks.h"
#include "discovery/NetworkScanWorker.h"
#include "platform/SystemErrorText.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using Lines = std::vector<std::string>;
using test::FakeBrowseNode;

// The network of most cases: one provider with two workgroups, the first of
// which holds two computers and a share-holding container.
class NetworkScanWorkerTest : public ::testing::Test {
protected:
    NetworkScanWorkerTest() {
        catalogue_.AddBuiltIns();
        provider_ = &platform_.BrowseRoot().AddProvider("Microsoft Windows Network");
        office_ = &provider_->AddDomain("OFFICE");
        office_->AddServer("PC1", "Front desk");
        office_->AddServer("PC2");
        provider_->AddDomain("LAB").AddServer("LAB1");
        platform_.Computer("PC1").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
        platform_.Computer("PC1").ServerInfo(5, 1, "Front desk");
        platform_.Computer("LAB1").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services");
    }

    void Scan(const std::string& typed, FolderNode* parent = nullptr) {
        ASSERT_TRUE(
            worker_.Start(std::make_unique<NetworkScanJob>(typed, parent, status_, tree_, catalogue_, questions_)));
        worker_.Wait();
        EXPECT_EQ(platform_.OpenHandleCount(), 0) << "every enumeration is closed";
    }

    // Every node added, as "parent/name" paths in the order of their arrival.
    Lines Paths() const {
        std::map<const InventoryNode*, std::string> paths;
        Lines result;
        for (const auto& added : tree_.Nodes()) {
            const auto parent = paths.find(added.parent);
            const std::string path = (parent != paths.end() ? parent->second + "/" : "") + added.node->Name;
            paths[added.node.get()] = path;
            result.push_back(path);
        }
        return result;
    }

    const ComputerRecord* Computer(const std::string& name) const {
        for (const auto& added : tree_.Nodes())
            if (added.node->Name == name && !added.node->IsFolder)
                return static_cast<const ComputerRecord*>(added.node.get());
        return nullptr;
    }

    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::RecordingStatusSink status_;
    test::RecordingTreeSink tree_;
    test::ScriptedMessageBoxService boxes_;
    MessageBoxStopQuestion questions_;
    NetworkScanWorker worker_{platform_};
    FakeBrowseNode* provider_ = nullptr;
    FakeBrowseNode* office_ = nullptr;
};

TEST_F(NetworkScanWorkerTest, EntireNetworkFilesEverythingUnderATopFolderNamedAsTyped) {
    FolderNode selected("Selected");
    Scan(" entire Network ", &selected);

    EXPECT_EQ(Paths(), (Lines{" entire Network ", " entire Network /Microsoft Windows Network",
                              " entire Network /Microsoft Windows Network/OFFICE",
                              " entire Network /Microsoft Windows Network/OFFICE/PC1",
                              " entire Network /Microsoft Windows Network/OFFICE/PC2",
                              " entire Network /Microsoft Windows Network/LAB",
                              " entire Network /Microsoft Windows Network/LAB/LAB1"}));
    EXPECT_EQ(tree_.Nodes()[0].parent, &selected);
    // The whole network is opened without a descriptor; servers are not opened.
    EXPECT_EQ(platform_.Log().Calls("WNetOpenEnum")[0].arguments, (Lines{"2", "0", "0", "null"}));
    EXPECT_EQ(platform_.Log().Count("WNetOpenEnum"), 4u);

    ASSERT_NE(Computer("PC1"), nullptr);
    EXPECT_EQ(Computer("PC1")->HasError, 0);
    EXPECT_EQ(Computer("PC1")->Description, "Front desk");
    EXPECT_EQ(Computer("PC1")->InstalledProducts.size(), 1u);
    // A computer that cannot be examined is added with its error.
    EXPECT_EQ(Computer("PC2")->HasError, 1);
    EXPECT_EQ(Computer("PC2")->ErrorString, SystemErrorText(ERROR_BAD_NETPATH));
    // Computers are filed before their examination's pipes close.
    for (const auto& added : tree_.Nodes())
        EXPECT_EQ(added.connectionsKept, !added.node->IsFolder) << added.node->Name;

    const Lines lines = status_.Lines();
    for (const char* expected :
         {"Network resource found: Microsoft Windows Network", "Scanning resource: Microsoft Windows Network",
          "Domain found: OFFICE", "Scanning resource: OFFICE", "Computer found: PC1"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    EXPECT_EQ(lines.back(), "Network scan finished successful.");
    EXPECT_EQ(status_.Ranges(), std::vector<int>{100});
    EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
    EXPECT_EQ(worker_.LastOutcome(), NetworkScanWorker::Outcome::Finished);
}

TEST_F(NetworkScanWorkerTest, EachLevelSharesItsSpanAmongItsEntriesAndABatchDividesItAgain) {
    // Four workgroups of which OFFICE holds its computers; then the second
    // batch of a level starts over at the level's start.
    provider_->AddDomain("EMPTY1");
    provider_->AddDomain("EMPTY2");
    Scan("Microsoft Windows Network");
    // Provider: 4 workgroups over 0..100; OFFICE: 2 computers over 0..25;
    // LAB: 1 computer at 25.
    EXPECT_EQ(status_.Positions(), (std::vector<int>{0, 12, 0, 25, 25, 50, 75}));

    status_.Clear();
    tree_.Clear();
    office_->Batch(1);
    Scan("OFFICE");
    EXPECT_EQ(status_.Positions(), (std::vector<int>{0, 0}));
}

TEST_F(NetworkScanWorkerTest, AComputerThatAnsweredFromAnAddressIsExaminedThereWhenItsNameDoesNotResolve) {
    // PC1 is in the browse list and resolves; WSD1 and WSD2 answered
    // WS-Discovery, and only WSD2's name resolves here.
    const IPv4 wsd1 = 0xA9FE0A02, wsd2 = 0xA9FE0A03, wsd2Resolved = 0x0A000007;
    for (const auto& [name, address] : {std::pair{"WSD1", wsd1}, std::pair{"WSD2", wsd2}}) {
        NetResource server;
        server.dwScope = RESOURCE_GLOBALNET;
        server.dwDisplayType = RESOURCEDISPLAYTYPE_SERVER;
        server.dwUsage = RESOURCEUSAGE_CONTAINER;
        server.remoteName = std::string("\\\\") + name;
        server.address = address;
        office_->Add(server);
    }
    platform_.LocalServices().AddHost("WSD2", wsd2Resolved);
    platform_.Computer("169.254.10.2").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
    platform_.Computer("169.254.10.2").ServerInfo(10, 0, "Answered by WS-Discovery");
    platform_.Computer("WSD2").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services");
    Scan("OFFICE");

    const ComputerRecord* atAddress = Computer("WSD1");
    ASSERT_NE(atAddress, nullptr) << "filed under its name";
    EXPECT_EQ(atAddress->HasError, 0);
    EXPECT_EQ(atAddress->InstalledProducts.size(), 1u);
    EXPECT_EQ(atAddress->Description, "Answered by WS-Discovery");
    EXPECT_EQ(atAddress->LastKnownIP, wsd1);
    const ComputerRecord* byName = Computer("WSD2");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->HasError, 0) << "a name that resolves is examined by name";
    EXPECT_EQ(byName->LastKnownIP, wsd2Resolved);
    EXPECT_EQ(Computer("PC1")->InstalledProducts.size(), 1u);
}

TEST_F(NetworkScanWorkerTest, AProviderOfTheWholeNetworkThatCannotBeOpenedIsPassedOverForTheNext) {
    provider_->FailOpen(ERROR_BAD_NETPATH);
    platform_.BrowseRoot().AddProvider("Web Services Discovery").AddDomain("LABWG").AddServer("HOST1");
    Scan("Entire Network");

    EXPECT_EQ(Paths(), (Lines{"Entire Network", "Entire Network/Microsoft Windows Network",
                              "Entire Network/Web Services Discovery", "Entire Network/Web Services Discovery/LABWG",
                              "Entire Network/Web Services Discovery/LABWG/HOST1"}));
    const Lines lines = status_.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Error occurred. Error code: 53"), lines.end());
    EXPECT_EQ(lines.back(), "Network scan finished successful.");

    // Below a provider, or typed, a container that cannot be opened still ends the scan.
    status_.Clear();
    tree_.Clear();
    Scan("Microsoft Windows Network");
    EXPECT_EQ(worker_.LastOutcome(), NetworkScanWorker::Outcome::Failed);
}

TEST_F(NetworkScanWorkerTest, ANameThatDoesNotOpenAsADomainIsOpenedAsAProvider) {
    provider_->OpenOnlyAs(RESOURCEDISPLAYTYPE_NETWORK);
    Scan("microsoft windows network");

    const auto opens = platform_.Log().Calls("WNetOpenEnum");
    ASSERT_GE(opens.size(), 2u);
    EXPECT_EQ(opens[0].arguments.back(), "MICROSOFT WINDOWS NETWORK");
    EXPECT_EQ(opens[1].arguments.back(), "MICROSOFT WINDOWS NETWORK");
    EXPECT_EQ(Paths()[1], "microsoft windows network/OFFICE");
    EXPECT_EQ(status_.Lines().back(), "Network scan finished successful.");
}

TEST_F(NetworkScanWorkerTest, AContainerThatCannotBeOpenedEndsTheScanWithTheReasonLeftInSight) {
    struct Case {
        const char* typed;
        Status failure;
        std::size_t nodesKept;
    };
    office_->AddDomain("INNER").FailOpen(ERROR_ACCESS_DENIED);
    provider_->AddDomain("HUGE").FailOpen(ERROR_BROWSE_LIST_TOO_LONG);
    // A scan failing at its start files no top folder; below, what was found stays.
    const Case cases[] = {
        {"   ", ERROR_BAD_NET_NAME, 0},           // blanks pass the dialog and open nothing
        {"NOWHERE", ERROR_BAD_NET_NAME, 0},       // neither a domain nor a provider
        {"OFFICE", ERROR_ACCESS_DENIED, 4},       // a level below
        {"HUGE", ERROR_BROWSE_LIST_TOO_LONG, 0},  // its own answer, not tried as a provider
    };
    for (const Case& c : cases) {
        status_.Clear();
        tree_.Clear();
        Scan(c.typed);
        EXPECT_EQ(status_.Lines().back(), "Error occured: " + SystemErrorText(c.failure)) << c.typed;
        EXPECT_EQ(tree_.Count(), c.nodesKept) << c.typed;
        // The panel keeps the reason until the next scan, with nothing to cancel.
        EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, true}));
        EXPECT_EQ(status_.IdleShows(), 1);
        EXPECT_EQ(worker_.LastOutcome(), NetworkScanWorker::Outcome::Failed);
    }
    // A domain that does not open is tried again as a provider.
    EXPECT_EQ(platform_.Log().Count("WNetOpenEnum"), 2u + 2u + 3u + 1u);
}

TEST_F(NetworkScanWorkerTest, AnEnumerationErrorIsReportedAndTheLevelAboveGoesOn) {
    office_->FailEnum(ERROR_MORE_DATA, 1);
    Scan("Microsoft Windows Network");
    EXPECT_EQ(Paths(), (Lines{"Microsoft Windows Network", "Microsoft Windows Network/OFFICE",
                              "Microsoft Windows Network/OFFICE/PC1", "Microsoft Windows Network/LAB",
                              "Microsoft Windows Network/LAB/LAB1"}));
    const Lines lines = status_.Lines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Error occurred. Error code: 234"), lines.end());
    EXPECT_EQ(lines.back(), "Network scan finished successful.");
}

// Names no node can have, from the directory or the browse list, are left
// out with a message naming each (a folder with what it holds); a name at
// the length bound and a folder's blanks are kept.
TEST_F(NetworkScanWorkerTest, ImpossibleNamesAreSkippedWithAMessageNamingThem) {
    const std::string held = " is skipped: no computer name can hold / \\ : * ? \" < > | or control characters";
    const std::string tooLong(256, 'n');
    const std::pair<std::string, std::string> computers[] = {
        {"a/b.evil.test", held},
        {"c:d", held},
        {"e*f", held},
        {"\x1b[2Jred", held},
        {"..", " is skipped: no computer name can be made of dots only"},
        {"pc 1", " is skipped: no computer name can hold a blank"},
        {tooLong, " is skipped: no computer name can be longer than 255 bytes"},
        {"bad\xC3(", " is skipped: no computer name can be other than UTF-8 text"},
    };
    const std::string longest(255, 'm');
    for (const auto& [name, message] : computers)
        office_->AddServer(name);
    office_->AddServer(longest);
    provider_->AddDomain("a/b,c").AddServer("INSIDE");
    provider_->AddDomain("WORK GROUP").AddServer("PC4");
    Scan("Microsoft Windows Network");

    const std::string top = "Microsoft Windows Network";
    EXPECT_EQ(Paths(),
              (Lines{top, top + "/OFFICE", top + "/OFFICE/PC1", top + "/OFFICE/PC2", top + "/OFFICE/" + longest,
                     top + "/LAB", top + "/LAB/LAB1", top + "/WORK GROUP", top + "/WORK GROUP/PC4"}));
    const Lines lines = status_.Lines();
    for (const auto& [name, message] : computers) {
        std::string line = '"' + name;
        line += '"';
        line += message;
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << name;
    }
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "\"a/b,c\" is skipped: no folder name can hold / \\ : * ? \" < > | or control characters"),
              lines.end());
    EXPECT_EQ(lines.back(), "Network scan finished successful.");
}

TEST_F(NetworkScanWorkerTest, AStopRequestIsConfirmedFirstAndANoLetsTheScanGoOn) {
    // Cancel while PC1 is examined: No. Cancel again while PC2 is: Yes.
    office_->AddServer("PC3");
    platform_.SetCallHook([this](const test::FakeCall& call) {
        if (call.operation == "RegConnectRegistry" && (call.computer == "PC1" || call.computer == "PC2"))
            worker_.GetStopEvent().Set();
    });
    boxes_.QueueAnswer(MessageAnswer::No);
    boxes_.QueueAnswer(MessageAnswer::Yes);
    Scan("OFFICE");

    const auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 2u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "Network Scanner");
        EXPECT_EQ(box.text, "Are you sure you want to stop the network scan?");
        EXPECT_EQ(box.icon, MessageIcon::Question);
        EXPECT_EQ(box.buttons, MessageButtons::YesNo);
    }
    // PC2 was still added: the request is seen before the next entry. The
    // enumeration ended with the cancel; nothing follows the text.
    EXPECT_EQ(Paths(), (Lines{"OFFICE", "OFFICE/PC1", "OFFICE/PC2"}));
    EXPECT_EQ(status_.Lines().back(), "Network scan cancelled.");
    EXPECT_EQ(status_.Shows(), (std::vector<bool>{true, false}));
    EXPECT_EQ(worker_.LastOutcome(), NetworkScanWorker::Outcome::Cancelled);
}

TEST_F(NetworkScanWorkerTest, ARequestFromBeforeTheStartIsForgottenOneRightAfterItIsKept) {
    worker_.GetStopEvent().Set();
    Scan("LAB");
    EXPECT_TRUE(boxes_.Boxes().empty());

    // The cancel comes while the panel is being shown, before anything is
    // browsed: the scan asks right after the container opens.
    boxes_.QueueAnswer(MessageAnswer::Yes);
    status_.onShow = [this](bool show) {
        if (show)
            worker_.GetStopEvent().Set();
    };
    Scan("LAB");
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Network scanner");
    EXPECT_EQ(tree_.Count(), 1u + 1u + 1u);  // two top folders and LAB1 of the first scan
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "TestCliHost.h"
#include "cli/Interrupt.h"
#include "cli/JsonWriter.h"
#include "detect/ComputerProbe.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "platform/RegistryValues.h"
#include "platform/RemoteDeadline.h"
#include "platform/SystemErrorText.h"
#include "platform/TempDirectory.h"

namespace vn::cli {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kServices = "System\\CurrentControlSet\\Services";
constexpr const char* kProductOptions = "SYSTEM\\CurrentControlSet\\Control\\ProductOptions";

// The commands run in-process: a fake network of computers, and the saved
// inventory in a real SQLite hive that each run reads afresh.
class NetwardenCommandsTest : public ::testing::Test {
protected:
    NetwardenCommandsTest() {
        catalogue_.AddBuiltIns();
        AddProduct("Remote One", "R1", "Software\\Remote One");

        vn::test::FakeComputer& pc1 = network_.Computer("PC1");
        pc1.Key(Hive::LocalMachine, std::string(kServices) + "\\Vantor");
        pc1.Key(Hive::LocalMachine, "Software\\Remote One");
        pc1.Key(Hive::LocalMachine, kProductOptions).String("ProductType", "WinNT");
        pc1.ServerInfo(5, 1, "Front \"desk\"");
        network_.LocalServices().AddHost("PC1", 0x0A000105);

        vn::test::FakeComputer& srv = network_.Computer("SRV");
        srv.Key(Hive::LocalMachine, std::string(kServices) + "\\Kestrel");
        srv.Key(Hive::LocalMachine, kProductOptions).String("ProductType", "LanmanNT");
        srv.ServerInfo(5, 0);

        network_.Computer("DENIED").Key(Hive::LocalMachine, kServices).RefuseRead();
    }

    void AddProduct(const char* name, const char* service, const char* path) {
        auto product = std::make_unique<ProductDef>();
        product->DisplayName = name;
        product->ServiceName = service;
        product->ServicePath = path;
        catalogue_.AddUnique(std::move(product));
    }

    std::string WriteFile(const std::string& name, const std::string& content) {
        std::string path = directory_.File(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static std::string Unreachable(const std::string& name) {
        return R"({"name":")" + name + R"(","ip":null,"os":"","description":"","server":false,"error":)" +
               JsonQuoted(SystemErrorText(ERROR_BAD_NETPATH)) + R"(,"products":[]})";
    }

    int argc_ = 1;
    char name_[10] = "netwarden";
    char* argv_[1] = {name_};
    QCoreApplication application_{argc_, argv_};
    TempDirectory directory_;
    vn::test::FakePlatform network_;
    test::HiveBackedPlatform platform_{network_, HivePaths{directory_.File("user.db"), directory_.File("machine.db")}};
    ProductCatalogue catalogue_;
    test::TestCliHost host_{platform_, catalogue_};

    static constexpr const char* kPc1Fields =
        R"("name":"PC1","ip":"10.0.1.5","os":"Windows XP v5.1","description":"Front \"desk\"","server":false,)"
        R"("error":null,"products":["Vantor","Remote One"]})";
};

TEST_F(NetwardenCommandsTest, ProductsAreTheCatalogueInOrder) {
    ASSERT_EQ(host_.Run({"products"}), 0);
    EXPECT_EQ(host_.OutLines(),
              (Lines{R"({"name":"Vantor","service":"Vantor","path":"System\\CurrentControlSet\\Services\\Vantor",)"
                     R"("icon":)" +
                         std::string(catalogue_.at(0).Icon.isNull() ? "false" : "true") + "}",
                     R"({"name":"Kestrel","service":"Kestrel","path":"System\\CurrentControlSet\\Services\\Kestrel",)"
                     R"("icon":)" +
                         std::string(catalogue_.at(1).Icon.isNull() ? "false" : "true") + "}",
                     R"({"name":"Remote One","service":"R1","path":"Software\\Remote One","icon":false})"}));
}

TEST_F(NetwardenCommandsTest, OutputThatCannotBeWrittenIsAFailure) {
    host_.out().setstate(std::ios::badbit);
    EXPECT_EQ(host_.Run({"products"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: could not write the output\n");
}

TEST_F(NetwardenCommandsTest, ProbePrintsEveryComputerAndExitsOneWhenOneCouldNotBeExamined) {
    ASSERT_EQ(host_.Run({"probe", "PC1", "SRV"}), 0);
    EXPECT_EQ(host_.OutLines(),
              (Lines{"{" + std::string(kPc1Fields),
                     R"({"name":"SRV","ip":null,"os":"Windows 2000 Advanced Server v5.0","description":"",)"
                     R"("server":true,"error":null,"products":["Kestrel"]})"}));
    EXPECT_EQ(host_.Err(), "");

    EXPECT_EQ(host_.Run({"probe", "NOBODY", "DENIED", "PC1"}), 1);
    EXPECT_EQ(host_.OutLines(), (Lines{Unreachable("NOBODY"),
                                       R"({"name":"DENIED","ip":null,"os":"","description":"","server":false,)"
                                       R"("error":"Access is denied.","products":[]})",
                                       "{" + std::string(kPc1Fields)}));

    // Probing leaves the inventory alone.
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.Out(), "");
}

TEST_F(NetwardenCommandsTest, StatusLinesGoToStandardErrorOnlyWhenVerbose) {
    ASSERT_EQ(host_.Run({"-v", "probe", "PC1"}), 0);
    EXPECT_EQ(host_.OutLines().size(), 1u);
    EXPECT_NE(host_.Err().find("Connecting to computer PC1\nConnect successful.\n"), std::string::npos);
    EXPECT_NE(host_.Err().find("Service \"Vantor\" is installed on PC1.\n"), std::string::npos);

    // The failure line carries a Windows line end inside; a line end of its
    // own in any case. Both reach the terminal as plain "\n".
    ASSERT_EQ(host_.Run({"probe", "--verbose", "NOBODY"}), 1);
    EXPECT_NE(host_.Err().find("Failed to connecting to computer NOBODY.\nError message: The network path was "
                               "not found.\n"),
              std::string::npos);
    EXPECT_EQ(host_.Err().find('\r'), std::string::npos);
}

TEST_F(NetwardenCommandsTest, LongCommandsDrawALiveLineOnlyOnATerminalAndClearIt) {
    ASSERT_EQ(host_.Run({"inventory", "import", WriteFile("list.txt", "PC1\nSRV\n")}), 0) << host_.Err();
    network_.BrowseRoot().AddProvider("Microsoft Windows Network").AddDomain("OFFICE").AddServer("PC1");
    struct Case {
        Lines arguments;
        int columns;
        const char* drawn;  // a part of the line; null: no line at all
    };
    const Case cases[] = {
        {{"scan", "subnet", "10.0.1.0/28", "--no-resolve"}, 60, " found, "},
        {{"inventory", "rescan", "PC1"}, 60, " reachable, "},
        {{"scan", "network", "OFFICE"}, 60, " found, "},
        {{"scan", "subnet", "10.0.1.0/28", "--no-resolve", "--quiet"}, 60, nullptr},
        {{"scan", "subnet", "10.0.1.0/28", "--no-resolve"}, 0, nullptr},
    };
    for (const Case& c : cases) {
        host_.terminalColumns = c.columns;
        host_.Run(c.arguments);
        const std::string err = host_.Err();
        EXPECT_EQ(host_.Out().find('\r'), std::string::npos) << "standard output stays clean";
        if (c.drawn == nullptr) {
            EXPECT_EQ(err.find('\r'), std::string::npos) << c.arguments.back();
            continue;
        }
        EXPECT_NE(err.find(c.drawn), std::string::npos) << c.arguments[1] << ": " << err;
        EXPECT_EQ(err.rfind("\r\x1b[K"), err.size() - 4) << c.arguments[1] << ": cleared at the end";
    }
}

TEST_F(NetwardenCommandsTest, PoliciesPrintOneObjectAndFailWithTheCheckersCodes) {
    vn::test::FakeComputer& pc1 = network_.Computer("PC1");
    pc1.Workgroup("CORP");
    pc1.Key(Hive::LocalMachine, "Software\\Policies\\Vantor").Dword("AllowRemoteControl", 0);
    ASSERT_EQ(host_.Run({"policies", "PC1"}), 0);
    std::string rows;
    for (const auto& [feature, value, computer, result] : std::vector<std::array<std::string, 4>>{
             {"Logon", "AllowLogon", "N/A", "Enabled"},
             {"Install", "AllowInstall", "Not configured", "Enabled"},
             {"LinkShare", "AllowLS", "Not configured", "Enabled"},
             {"Admin Toolkit", "AllowToolkit", "Not configured", "Enabled"},
             {"Reboot", "AllowReboot", "Not configured", "Enabled"},
             {"Remote Control", "AllowRemoteControl", "Disabled", "Disabled"},
             {"Remote Printing", "AllowRemotePrinting", "Disabled", "Disabled"},
             {"Clipboard Transfer", "AllowClipboardTransfer", "Disabled", "Disabled"},
             {"File Transfer", "AllowFileTransfer", "Not configured", "Enabled"},
             {"Read", "AllowFileTransferRead", "Not configured", "Enabled"},
             {"Write", "AllowFileTransferWrite", "Not configured", "Enabled"}}) {
        if (!rows.empty())
            rows += ',';
        rows.append(R"({"feature":")").append(feature).append(R"(","value":")").append(value);
        rows.append(R"(","computer":")").append(computer).append(R"(","user":"N/A","result":")").append(result);
        rows += R"("})";
    }
    EXPECT_EQ(host_.OutLines(), Lines{R"({"computer":"PC1","workgroup":"CORP","user":null,"preference":"computer",)"
                                      R"("message":"No Interactive user on this machine","policies":[)" +
                                      rows + "]}"});
    EXPECT_EQ(host_.Err(), "netwarden: PC1: No Interactive user on this machine\n");

    pc1.FailUserEnum(ERROR_ACCESS_DENIED);
    EXPECT_EQ(host_.Run({"policies", "PC1"}), 1);
    EXPECT_EQ(host_.Out(), "");
    EXPECT_EQ(host_.Err(), "netwarden: PC1: Error : Access is denied.\n");
    EXPECT_EQ(host_.Run({"policies", "NOBODY"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: NOBODY: Error : The network path was not found.\n");
}

TEST_F(NetwardenCommandsTest, ServicesAreListedStartedStoppedAndTheirStartupTypeChanged) {
    network_.Computer("PC1").Service("Vantor", SERVICE_RUNNING, 2).Service("VtrMaint", SERVICE_RUNNING, 2);
    const auto line = [](const char* startup, const char* state) {
        return R"({"product":"Vantor","service":"Vantor","startup":")" + std::string(startup) + R"(","state":")" +
               state + R"("})";
    };
    ASSERT_EQ(host_.Run({"services", "PC1"}), 0);
    EXPECT_EQ(host_.OutLines(), Lines{line("automatic", "started")});  // Remote One is no service

    ASSERT_EQ(host_.Run({"services", "PC1", "stop", "vantor"}), 0);
    EXPECT_EQ(host_.OutLines(), Lines{line("automatic", "stopped")});
    EXPECT_EQ(network_.Computer("PC1").ServiceState("VtrMaint"), SERVICE_STOPPED);

    ASSERT_EQ(host_.Run({"services", "PC1", "startup", "Vantor", "Disabled"}), 0);
    EXPECT_EQ(host_.OutLines(), Lines{line("disabled", "stopped")});
    EXPECT_EQ(host_.Run({"services", "PC1", "start", "Vantor"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: the Vantor service is disabled; change its startup type first\n");

    ASSERT_EQ(host_.Run({"services", "PC1", "startup", "Vantor", "manual"}), 0);
    ASSERT_EQ(host_.Run({"services", "PC1", "start", "Vantor"}), 0);
    EXPECT_EQ(host_.OutLines(), Lines{line("manual", "started")});
    EXPECT_EQ(network_.Computer("PC1").ServiceState("VtrMaint"), SERVICE_RUNNING);

    // The same refusals as in the window, on standard error.
    network_.Computer("PC1").FailServiceManager(ERROR_ACCESS_DENIED);
    EXPECT_EQ(host_.Run({"services", "PC1", "stop", "Vantor"}), 1);
    EXPECT_EQ(host_.Err(),
              "netwarden: You do not have the required permissions to modify service settings on "
              "this computer.\nClick OK to continue.\n");
    EXPECT_EQ(host_.Run({"services", "PC1", "stop", "Remote One"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: no remote access service \"Remote One\" on PC1\n");
    EXPECT_EQ(host_.Run({"services", "NOBODY"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: Faliled to connect to computer NOBODY.\nThe network path was not found.\n");
}

// However slowly the computer answers, services and policies end by the
// limit of one examination: every call of a run shares one deadline.
TEST_F(NetwardenCommandsTest, ServicesAndPoliciesEndByOneExaminationLimit) {
    using namespace std::chrono;
    vn::test::FakeComputer& pc1 = network_.Computer("PC1");
    pc1.Service("Vantor", SERVICE_RUNNING, 2).Workgroup("CORP").LoggedOnUsers({{"alice", "CORP", "", ""}});
    for (const char* command : {"services", "policies"}) {
        std::vector<std::pair<std::string, RemoteDeadlineScope::Clock::time_point>> deadlines;
        network_.SetCallHook([&](const vn::test::FakeCall& call) {
            if (call.computer == "PC1")
                deadlines.emplace_back(call.operation, RemoteDeadlineScope::CallDeadline(hours(1)));
        });
        const auto started = steady_clock::now();
        EXPECT_EQ(host_.Run({command, "PC1"}), 0) << command << host_.Err();
        ASSERT_GT(deadlines.size(), 2u) << command;
        for (const auto& [operation, deadline] : deadlines) {
            EXPECT_EQ(deadline, deadlines.front().second) << command << " " << operation;
            EXPECT_GE(deadline, started + kExaminationLimit) << command << " " << operation;
            EXPECT_LE(deadline, steady_clock::now() + kExaminationLimit) << command << " " << operation;
        }
    }
    network_.SetCallHook({});
}

TEST_F(NetwardenCommandsTest, ImportListAndExportRoundTripThroughTheSavedTree) {
    const std::string list = WriteFile("list.txt", "PC1, Vantor\r\nNOBODY\r\npc1\r\n");
    ASSERT_EQ(host_.Run({"inventory", "import", list, "--folder", "Lab/New"}), 1);  // NOBODY is not there
    EXPECT_EQ(host_.OutLines(),
              (Lines{R"({"path":"Lab/New/PC1","folder":false,)" + std::string(kPc1Fields),
                     R"({"path":"Lab/New/NOBODY","folder":false,)" + Unreachable("NOBODY").substr(1)}));

    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Lab","folder":true,"expanded":false})",
                                       R"({"path":"Lab/New","folder":true,"expanded":false})",
                                       R"({"path":"Lab/New/NOBODY","folder":false,)" + Unreachable("NOBODY").substr(1),
                                       R"({"path":"Lab/New/PC1","folder":false,)" + std::string(kPc1Fields)}));

    const std::string exported = directory_.File("out.txt");
    ASSERT_EQ(host_.Run({"inventory", "export", exported}), 0);
    EXPECT_EQ(host_.Out(), "");
    EXPECT_EQ(ReadFile(exported), "NOBODY\r\nPC1, Vantor, Remote One\r\n");

    // The exported file imports again: the names merge into the same nodes.
    network_.Computer("NOBODY").FailServerInfo(ERROR_ACCESS_DENIED).Key(Hive::LocalMachine, kServices);
    ASSERT_EQ(host_.Run({"inventory", "import", exported, "--folder", "lab/NEW/"}), 0);
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    const Lines nodes = host_.OutLines();
    ASSERT_EQ(nodes.size(), 4u);
    EXPECT_EQ(nodes[2], R"({"path":"Lab/New/NOBODY","folder":false,"name":"NOBODY","ip":null,"os":"",)"
                        R"("description":"","server":false,"error":null,"products":[]})");
}

TEST_F(NetwardenCommandsTest, ImportLeavesOutWhatCannotBeKeptAndReportsAFileThatCannotBeRead) {
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "SRV"}), 0);
    const std::string list = WriteFile("names.csv", "Name;Site\nLAB\\PC1;x\nsrv;y\nPC1;z\n");
    EXPECT_EQ(host_.Run({"inventory", "import", list}), 1);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"PC1","folder":false,)" + std::string(kPc1Fields)}));
    // No computer name holds a backslash: the list reader skips it, naming the line.
    EXPECT_NE(host_.Err().find("names.csv: line 2: \"LAB\\PC1\" is skipped"), std::string::npos);
    EXPECT_NE(host_.Err().find("\"srv\" is left out"), std::string::npos);
    EXPECT_EQ(network_.Log().Count("RegConnectRegistry", "srv"), 0u);

    EXPECT_EQ(host_.Run({"inventory", "import", directory_.File("missing.txt")}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: Could not open file \"" + directory_.File("missing.txt") + "\".\n");
}

// What a save has to leave out is named, with where and why.
TEST_F(NetwardenCommandsTest, ASaveThatLeavesSomethingOutSaysWhatAndWhy) {
    AddProduct("Remote\\Two", "R2", "Software\\Remote Two");
    vn::test::FakeComputer& pc3 = network_.Computer("PC3");
    pc3.Key(Hive::LocalMachine, kServices);
    pc3.Key(Hive::LocalMachine, "Software\\Remote Two");
    EXPECT_EQ(host_.Run({"inventory", "import", WriteFile("one.txt", "PC3\r\n"), "--folder", "Lab"}), 1);
    EXPECT_NE(host_.Err().find("netwarden: left out of the saved inventory: the product \"Remote\\Two\" of the "
                               "computer \"PC3\" in \"Lab\": a name holding a backslash cannot be stored\n"),
              std::string::npos)
        << host_.Err();
}

TEST_F(NetwardenCommandsTest, RescanExaminesTheComputersBelowAPathInTheirFolders) {
    const std::string list = WriteFile("list.txt", "PC1\nSRV\n");
    ASSERT_EQ(host_.Run({"inventory", "import", list, "--folder", "A"}), 0);
    ASSERT_EQ(host_.Run({"inventory", "import", list, "--folder", "B/C"}), 0);
    network_.Computer("SRV").Key(Hive::LocalMachine, "Software\\Remote One");

    ASSERT_EQ(host_.Run({"inventory", "rescan", "b"}), 0);
    Lines rescanned = host_.OutLines();
    ASSERT_EQ(rescanned.size(), 2u);
    EXPECT_EQ(rescanned[0], R"({"path":"B/C/PC1","folder":false,)" + std::string(kPc1Fields));
    EXPECT_NE(rescanned[1].find(R"("path":"B/C/SRV")"), std::string::npos);
    EXPECT_NE(rescanned[1].find(R"("products":["Kestrel","Remote One"])"), std::string::npos);

    const std::size_t pc1Connects = network_.Log().Count("RegConnectRegistry", "PC1");
    ASSERT_EQ(host_.Run({"inventory", "rescan", "A/srv"}), 0);
    ASSERT_EQ(host_.OutLines().size(), 1u);
    EXPECT_NE(host_.Out().find(R"({"path":"A/SRV",)"), std::string::npos);
    EXPECT_NE(host_.Out().find(R"("products":["Kestrel","Remote One"])"), std::string::npos);
    EXPECT_EQ(network_.Log().Count("RegConnectRegistry", "PC1"), pc1Connects);

    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines().size(), 7u);  // A with 2 computers, B, B/C with 2 computers: nothing new

    network_.Computer("PC1").SwitchOff();
    EXPECT_EQ(host_.Run({"inventory", "rescan"}), 1);
    EXPECT_EQ(host_.OutLines().size(), 4u);

    EXPECT_EQ(host_.Run({"inventory", "rescan", "A/nothing"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: \"A/nothing\" is not in the inventory\n");
}

// A rescan cut short (the helper died at a product's key) is a failure with
// its reason, and the products saved before stay saved.
TEST_F(NetwardenCommandsTest, ARescanCutShortFailsAndKeepsTheSavedProducts) {
    ASSERT_EQ(host_.Run({"inventory", "import", WriteFile("list.txt", "PC1\n")}), 0);
    network_.Computer("PC1").Key(Hive::LocalMachine, "Software\\Remote One").FailOpen(RPC_S_CALL_FAILED_DNE);
    const std::string error = R"("error":)" + JsonQuoted(SystemErrorText(RPC_S_CALL_FAILED_DNE));
    const std::string products = R"("products":["Vantor","Remote One"])";
    const struct {
        const char* command;
        int status;
    } runs[] = {{"rescan", 1}, {"list", 0}};
    for (const auto& run : runs) {
        EXPECT_EQ(host_.Run({"inventory", run.command}), run.status) << run.command;
        ASSERT_EQ(host_.OutLines().size(), 1u) << run.command;
        EXPECT_NE(host_.Out().find(error), std::string::npos) << run.command << host_.Out();
        EXPECT_NE(host_.Out().find(products), std::string::npos) << run.command << host_.Out();
    }
}

TEST_F(NetwardenCommandsTest, FoldersAreAddedAndRemovedWithWhatTheyHold) {
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Lab/Sub"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Lab","folder":true,"expanded":false})",
                                       R"({"path":"Lab/Sub","folder":true,"expanded":false})"}));
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "LAB/sub/Deeper"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Lab/Sub/Deeper","folder":true,"expanded":false})"}));
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Lab"}), 0);
    EXPECT_EQ(host_.Out(), "");

    const std::string list = WriteFile("list.txt", "PC1\n");
    ASSERT_EQ(host_.Run({"inventory", "import", list, "--folder", "Lab/Sub"}), 0);
    // A folder beside a computer of its name could not be saved with it.
    EXPECT_EQ(host_.Run({"inventory", "add-folder", "Lab/Sub/pc1/x"}), 1);
    EXPECT_EQ(host_.Out(), "");

    ASSERT_EQ(host_.Run({"inventory", "remove", "lab/sub"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Lab/Sub","folder":true,"expanded":false})",
                                       R"({"path":"Lab/Sub/Deeper","folder":true,"expanded":false})",
                                       R"({"path":"Lab/Sub/PC1","folder":false,)" + std::string(kPc1Fields)}));
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Lab","folder":true,"expanded":false})"}));

    EXPECT_EQ(host_.Run({"inventory", "remove", "Lab/Sub"}), 1);
    EXPECT_EQ(host_.Err(), "netwarden: \"Lab/Sub\" is not in the inventory\n");
}

// Lab/Sub (holding PC1) and Old beside the computer PC2 at the top level.
TEST_F(NetwardenCommandsTest, RenamedFoldersFollowTheAddFolderRulesAndMergeIntoATwin) {
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Lab/Sub"}), 0);
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Old/Sub/Deeper"}), 0);
    ASSERT_EQ(host_.Run({"inventory", "import", WriteFile("pc1.txt", "PC1\n"), "--folder", "Lab/Sub"}), 0);
    (void)host_.Run({"inventory", "import", WriteFile("pc2.txt", "PC2\n")});  // unreachable, kept
    const std::string before = (host_.Run({"inventory", "list"}), host_.Out());
    const struct {
        std::vector<std::string> words;
        int status;
        std::string err;
    } refused[] = {
        {{"Old", "a/b"}, 2, "netwarden: The folder name \"a/b\" contains characters which are not allowed."},
        {{"Old", std::string(256, 'n')}, 2, "netwarden: The folder name is longer than 255 bytes."},
        {{"Old", "pc2"}, 1, "netwarden: a folder \"pc2\" cannot be kept beside the computer of that name\n"},
        {{"Lab/Missing", "New"}, 1, "netwarden: \"Lab/Missing\" is not a folder of the inventory\n"},
        {{"PC2", "New"}, 1, "netwarden: \"PC2\" is not a folder of the inventory\n"},
    };
    for (const auto& run : refused) {
        std::vector<std::string> words{"inventory", "rename-folder"};
        words.insert(words.end(), run.words.begin(), run.words.end());
        EXPECT_EQ(host_.Run(words), run.status) << run.words[1];
        EXPECT_EQ(host_.Err().rfind(run.err, 0), 0u) << host_.Err();
        EXPECT_EQ(host_.Out(), "");
    }
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.Out(), before);

    // Into the twin, which opens: Sub merges with Sub, PC1 stays.
    ASSERT_EQ(host_.Run({"inventory", "rename-folder", "old", "LAB"}), 0) << host_.Err();
    const Lines merged{R"({"path":"Lab","folder":true,"expanded":true})",
                       R"({"path":"Lab/Sub","folder":true,"expanded":false})",
                       R"({"path":"Lab/Sub/Deeper","folder":true,"expanded":false})",
                       R"({"path":"Lab/Sub/PC1","folder":false,)" + std::string(kPc1Fields)};
    EXPECT_EQ(host_.OutLines(), merged);
    ASSERT_EQ(host_.Run({"inventory", "rename-folder", "Lab/sub", "Zone"}), 0) << host_.Err();
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{merged[0], R"({"path":"Lab/Zone","folder":true,"expanded":false})",
                                       R"({"path":"Lab/Zone/Deeper","folder":true,"expanded":false})",
                                       R"({"path":"Lab/Zone/PC1","folder":false,)" + std::string(kPc1Fields),
                                       R"({"path":"PC2","folder":false,)" + Unreachable("PC2").substr(1)}));
}

TEST_F(NetwardenCommandsTest, ScanNetworkFilesTheBrowsedComputersUnderTheNameAsTypedAndMergesAgain) {
    vn::test::FakeBrowseNode& office =
        network_.BrowseRoot().AddProvider("Microsoft Windows Network").AddDomain("OFFICE");
    office.AddServer("PC1");
    office.AddServer("SRV");
    const std::string srvFields = R"("name":"SRV","ip":null,"os":"Windows 2000 Advanced Server v5.0",)"
                                  R"("description":"","server":true,"error":null,"products":["Kestrel"]})";

    ASSERT_EQ(host_.Run({"scan", "network", "office", "--folder", "Net"}), 0) << host_.Err();
    ASSERT_EQ(host_.wsdPrepared.size(), 1u);
    EXPECT_EQ(host_.wsdPrepared[0], std::make_pair(std::chrono::milliseconds(2000), false));
    EXPECT_EQ(host_.OutLines(), (Lines{"{" + std::string(kPc1Fields), "{" + srvFields}));
    ASSERT_EQ(host_.Run({"scan", "network", "OFFICE", "--folder", "net", "--wsd-wait", "750", "-v"}), 0);
    EXPECT_EQ(host_.wsdPrepared.back(), std::make_pair(std::chrono::milliseconds(750), true));
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Net","folder":true,"expanded":false})",
                                       R"({"path":"Net/office","folder":true,"expanded":false})",
                                       R"({"path":"Net/office/PC1","folder":false,)" + std::string(kPc1Fields),
                                       R"({"path":"Net/office/SRV","folder":false,)" + srvFields}));

    // The whole network, after the tree is emptied.
    network_.Computer("SRV").SwitchOff();
    ASSERT_EQ(host_.Run({"scan", "network", "Entire Network", "--erase"}), 1);
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    const Lines nodes = host_.OutLines();
    ASSERT_EQ(nodes.size(), 5u);
    EXPECT_EQ(nodes[2], R"({"path":"Entire Network/Microsoft Windows Network/OFFICE","folder":true,"expanded":false})");
    EXPECT_NE(nodes[4].find(R"("path":"Entire Network/Microsoft Windows Network/OFFICE/SRV")"), std::string::npos);

    // A name that opens nothing: the reason, and no folder is left behind.
    EXPECT_EQ(host_.Run({"scan", "network", "NOWHERE"}), 1);
    EXPECT_EQ(host_.Out(), "");
    std::string reason = SystemErrorText(ERROR_BAD_NET_NAME);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    EXPECT_EQ(host_.Err(), "netwarden: Error occured: " + reason + "\n");
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines().front(), R"({"path":"Entire Network","folder":true,"expanded":false})");
    for (const std::string& line : host_.OutLines())
        EXPECT_EQ(line.find(R"("path":"NOWHERE")"), std::string::npos) << line;
}

TEST_F(NetwardenCommandsTest, ScanSubnetKeepsTheComputersThatAnswerNamedByReverseLookupOrAddress) {
    const IPv4 unnamed = 0x0A000109;  // 10.0.1.9; PC1 is 10.0.1.5
    network_.LocalServices().SetPortOpen(0x0A000105, 139);
    network_.LocalServices().SetPortOpen(unnamed, 139);
    network_.Computer("10.0.1.9").Key(Hive::LocalMachine, kServices);

    ASSERT_EQ(host_.Run({"scan", "subnet", "10.0.1.0/28", "--folder", "Found"}), 0) << host_.Err();
    Lines found = host_.OutLines();
    std::sort(found.begin(), found.end());
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].rfind(R"({"name":"10.0.1.9","ip":"10.0.1.9",)", 0), 0u) << found[0];
    EXPECT_NE(found[0].find(R"("error":null)"), std::string::npos) << found[0];
    EXPECT_EQ(found[1], "{" + std::string(kPc1Fields));
    EXPECT_EQ(network_.Log().Count("TestTcpPort"), 15u);

    // By address: nobody answers to that name, which makes the result 1.
    ASSERT_EQ(host_.Run({"scan", "subnet", "10.0.1.5", "255.255.255.255", "--no-resolve", "--folder", "Found"}), 1);
    EXPECT_EQ(host_.Out().rfind(R"({"name":"10.0.1.5","ip":"10.0.1.5",)", 0), 0u) << host_.Out();
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines().size(), 4u);  // Found with its three computers
}

TEST_F(NetwardenCommandsTest, ScanSubnetFastSweepsWithTheOptionsGivenAndFindsWhatTheWalkFinds) {
    network_.LocalServices().SetPortOpen(0x0A000105, 139);
    network_.LocalServices().SetPortOpen(0x0A000107, 445);
    struct Case {
        Lines options;
        std::string sweep;  // first, last, ports, parallel
        std::size_t found;
    };
    const Case cases[] = {
        {{"--fast"}, "10.0.1.1 10.0.1.15 139 512", 1},
        {{"--fast", "--parallel", "3", "--ports", "445,139,445"}, "10.0.1.1 10.0.1.15 445,139 3", 2},
    };
    for (const Case& c : cases) {
        network_.Log().Clear();
        Lines arguments{"scan", "subnet", "10.0.1.0/28", "--no-resolve"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        EXPECT_EQ(host_.Run(arguments), 1) << host_.Err();  // nobody answers under an address
        EXPECT_EQ(host_.OutLines().size(), c.found);
        const auto sweeps = network_.Log().Calls("SweepTcpPorts");
        ASSERT_EQ(sweeps.size(), 1u);
        const auto& a = sweeps[0].arguments;
        EXPECT_EQ(a.at(0) + " " + a.at(1) + " " + a.at(2) + " " + a.at(3), c.sweep);
        EXPECT_EQ(network_.Log().Count("TestTcpPort"), 0u);
    }
}

TEST_F(NetwardenCommandsTest, CtrlCEndsTheSubnetScanAfterTheTestsUnderWayAndKeepsWhatWasFound) {
    network_.LocalServices().SetPortOpen(0x0A000105, 139);
    std::atomic<bool> pressed{false};
    std::atomic<bool> raised{false};
    network_.SetCallHook([&](const vn::test::FakeCall& call) {
        if (call.operation != "TestTcpPort")
            return;
        // The first test presses Ctrl+C; every test waits until the program
        // has taken it. A test that arrives while the first is still raising
        // waits as well: were it to end early, its place would go to one more
        // lookup before the stop.
        if (!pressed.exchange(true)) {
            std::raise(SIGINT);
            raised = true;
        }
        while (!raised || InterruptCatcher::Pending())
            std::this_thread::yield();
    });
    EXPECT_EQ(host_.Run({"scan", "subnet", "10.0.1.0/24"}), 1);
    EXPECT_EQ(host_.OutLines(), (Lines{"{" + std::string(kPc1Fields)}));
    EXPECT_EQ(host_.Err(), "netwarden: the scan was cancelled; what it found is kept\n");
    EXPECT_LE(network_.Log().Count("TestTcpPort"), 63u);
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"PC1","folder":false,)" + std::string(kPc1Fields)}));
}

// Another program saves a change of its own whenever the command connects to
// the user hive, giving up after a short wait: each change it could save must
// survive the command's own.
TEST_F(NetwardenCommandsTest, AChangeSavedByAnotherProgramDuringACommandIsNeverLost) {
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Old"}), 0);
    const HivePaths hives{directory_.File("user.db"), directory_.File("machine.db")};
    SqliteRegistry other(hives, std::chrono::milliseconds(100));
    std::vector<std::string> saved;
    platform_.onLocalConnect = [&] {
        const std::string name = "Other" + std::to_string(saved.size());
        RegistryKeyPtr hive, folder;
        if (other.Connect("", Hive::CurrentUser, hive) == ERROR_SUCCESS &&
            hive->CreateKey(std::string(kInventoryRootKey) + "\\" + name, KEY_ALL_ACCESS, folder) == ERROR_SUCCESS &&
            SetDwordValue(*folder, "", 1) == ERROR_SUCCESS)
            saved.push_back(name);
    };
    const std::vector<std::string> commands[] = {{"inventory", "add-folder", "New"}, {"inventory", "remove", "Old"}};
    for (const auto& command : commands)
        EXPECT_EQ(host_.Run(command), 0) << command[2];
    platform_.onLocalConnect = nullptr;

    ASSERT_FALSE(saved.empty());
    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    const std::string listed = host_.Out();
    EXPECT_NE(listed.find(R"("path":"New")"), std::string::npos);
    EXPECT_EQ(listed.find(R"("path":"Old")"), std::string::npos);
    for (const std::string& name : saved)
        EXPECT_NE(listed.find("\"path\":\"" + name + "\""), std::string::npos) << name << " was lost";
}

// A change applies to the tree as it is saved when the change is made, not
// as it was before the computers were examined.
TEST_F(NetwardenCommandsTest, ChangesSavedWhileComputersAreExaminedAreKept) {
    ASSERT_EQ(host_.Run({"inventory", "import", WriteFile("list.txt", "PC1\nSRV\n"), "--folder", "Lab"}), 0);
    SqliteRegistry other(HivePaths{directory_.File("user.db"), directory_.File("machine.db")});
    // Another program saves a change of its own while PC1 is examined.
    const auto whilePc1IsExamined = [&](const std::function<void(RegistryKey & hive)>& change) {
        network_.SetCallHook([&other, change](const vn::test::FakeCall& call) {
            RegistryKeyPtr hive;
            if (call.operation == "RegConnectRegistry" && call.computer == "PC1" &&
                other.Connect("", Hive::CurrentUser, hive) == ERROR_SUCCESS)
                change(*hive);
        });
    };
    const std::string root(kInventoryRootKey);
    const auto addFolder = [&root](RegistryKey& hive, const std::string& name) {
        RegistryKeyPtr folder;
        if (hive.CreateKey(root + "\\" + name, KEY_ALL_ACCESS, folder) == ERROR_SUCCESS) {
            EXPECT_EQ(SetDwordValue(*folder, "", 1), ERROR_SUCCESS);
        }
    };
    whilePc1IsExamined([&](RegistryKey& hive) {
        addFolder(hive, "Meanwhile");
        // Gone after the first examination's connect.
        const Status deleted = hive.DeleteTree(root + "\\Lab\\SRV");
        EXPECT_TRUE(deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND) << deleted;
    });
    EXPECT_EQ(host_.Run({"inventory", "rescan", "Lab"}), 0);
    EXPECT_NE(host_.Err().find("\"SRV\" was removed from the inventory meanwhile"), std::string::npos);
    EXPECT_EQ(host_.Run({"inventory", "import", WriteFile("more.txt", "PC1\n"), "--folder", "New"}), 0);
    // A scan's finds go into the tree as it is saved when the scan ends.
    network_.LocalServices().SetPortOpen(0x0A000105, 139);
    whilePc1IsExamined([&](RegistryKey& hive) { addFolder(hive, "DuringScan"); });
    EXPECT_EQ(host_.Run({"scan", "subnet", "10.0.1.5/32", "--folder", "Found"}), 0) << host_.Err();
    network_.SetCallHook({});

    ASSERT_EQ(host_.Run({"inventory", "list"}), 0);
    Lines paths;
    for (const std::string& line : host_.OutLines())
        paths.push_back(line.substr(0, line.find(',')));
    EXPECT_EQ(paths,
              (Lines{R"({"path":"DuringScan")", R"({"path":"Found")", R"({"path":"Found/PC1")", R"({"path":"Lab")",
                     R"({"path":"Lab/PC1")", R"({"path":"Meanwhile")", R"({"path":"New")", R"({"path":"New/PC1")"}));
}

// A saved tree that cannot be read whole is listed as far as it goes, and is
// not changed: saving the part read would lose the rest.
TEST_F(NetwardenCommandsTest, ATreeThatCannotBeReadWholeIsNotChanged) {
    ASSERT_EQ(host_.Run({"inventory", "add-folder", "Good"}), 0);
    {
        RegistryKeyPtr hive;
        RegistryKeyPtr broken;
        ASSERT_EQ(platform_.registry().Connect("", Hive::CurrentUser, hive), ERROR_SUCCESS);
        ASSERT_EQ(hive->CreateKey(std::string(kInventoryRootKey) + "\\Zbroken", KEY_ALL_ACCESS, broken),
                  ERROR_SUCCESS);  // no default value: not a node
    }
    EXPECT_EQ(host_.Run({"inventory", "list"}), 1);
    EXPECT_EQ(host_.OutLines(), (Lines{R"({"path":"Good","folder":true,"expanded":false})"}));
    EXPECT_NE(host_.Err().find("could not be read completely"), std::string::npos);

    EXPECT_EQ(host_.Run({"inventory", "add-folder", "Other"}), 1);
    EXPECT_EQ(host_.Run({"inventory", "remove", "Good"}), 1);
    EXPECT_EQ(host_.Out(), "");
    RegistryKeyPtr hive;
    RegistryKeyPtr kept;
    ASSERT_EQ(platform_.registry().Connect("", Hive::CurrentUser, hive), ERROR_SUCCESS);
    EXPECT_EQ(hive->OpenKey(std::string(kInventoryRootKey) + "\\Zbroken", KEY_READ, kept), ERROR_SUCCESS);
    EXPECT_EQ(hive->OpenKey(std::string(kInventoryRootKey) + "\\Good", KEY_READ, kept), ERROR_SUCCESS);
    EXPECT_NE(hive->OpenKey(std::string(kInventoryRootKey) + "\\Other", KEY_READ, kept), ERROR_SUCCESS);
}

}  // namespace
}  // namespace vn::cli

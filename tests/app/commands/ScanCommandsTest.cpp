#include <gtest/gtest.h>

#include <unistd.h>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "FakeMainWindowContext.h"
#include "ModalDriver.h"
#include "ScriptedFileChooser.h"
#include "app/commands/MainCommands.h"
#include "app/context/CommandIds.h"
#include "app/dialogs/CAddComputer.h"
#include "app/dialogs/CScanDlg.h"
#include "inventory/InventoryTreeBuilder.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using Entries = std::vector<std::pair<std::string, FolderNode*>>;

class ScanCommandsTest : public testing::Test {
protected:
    void SetUp() override { commands.SetFileChooser(&files); }

    std::filesystem::path TempFile(const std::string& name, const std::string& content) {
        auto path =
            std::filesystem::temp_directory_path() / ("vn_scan_commands_" + std::to_string(::getpid()) + "_" + name);
        std::ofstream(path, std::ios::binary) << content;
        created_.push_back(path);
        return path;
    }
    ~ScanCommandsTest() override {
        for (const auto& path : created_)
            std::filesystem::remove(path);
    }

    void ChooseFile(const std::filesystem::path& path) { files.QueuePath(path); }

    test::ScriptedMessageBoxService boxes;
    test::FakeMainWindowContext context;
    MainCommands commands{context};
    test::ScriptedFileChooser files;
    std::vector<std::filesystem::path> created_;
};

TEST_F(ScanCommandsTest, RunningScanRefusesWithTheFirstRunningWorkersText) {
    context.running[ScanWorkerKind::Network] = true;
    context.running[ScanWorkerKind::Subnet] = true;
    commands.Execute(cmd::kRescan);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Subnet scanning is stil in progress. Please wait for the scan to finish, or terminate it by clicking "
              "the \"Cancel\" button.");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Stop);

    context.running[ScanWorkerKind::Subnet] = false;
    commands.Execute(cmd::kImportComputerList);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text.rfind("Network scanning is stil in progress.", 0), 0u);
    // Refused commands still give the focus back to the tree.
    EXPECT_EQ(context.focusCount, 2);
    EXPECT_EQ(context.treeSink.Count(), 0u);
}

TEST_F(ScanCommandsTest, AddComputerGoesIntoTheCaretFolderOrTheTopLevel) {
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc9");

    context.Select({office});
    test::WhenModal<CAddComputer>([](CAddComputer& dialog) {
        dialog.NameEdit()->setText(QStringLiteral("pc1"));
        dialog.accept();
    });
    commands.Execute(cmd::kAddComputer);
    EXPECT_EQ(context.ScannedEntries(), (Entries{{"pc1", office}}));

    context.Select({pc});
    test::WhenModal<CAddComputer>([](CAddComputer& dialog) {
        dialog.NameEdit()->setText(QStringLiteral("pc2"));
        dialog.accept();
    });
    commands.Execute(cmd::kAddComputer);
    EXPECT_EQ(context.ScannedEntries(), (Entries{{"pc1", office}, {"pc2", nullptr}}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ScanCommandsTest, CancelledAddComputerStartsNothing) {
    test::WhenModal<CAddComputer>([](CAddComputer& dialog) { dialog.reject(); });
    commands.Execute(cmd::kAddComputer);
    EXPECT_TRUE(context.ScannedEntries().empty());
    EXPECT_EQ(context.focusCount, 1);
}

TEST_F(ScanCommandsTest, RescanExpandsFoldersToTheirComputersInTreeOrder) {
    FolderNode* site = test::AddFolder(context.model, nullptr, "Site");
    FolderNode* lab = test::AddFolder(context.model, site, "Lab");
    ComputerRecord* inLab = test::AddComputer(context.model, lab, "lab1");
    test::AddComputer(context.model, site, "site1");
    ComputerRecord* top = test::AddComputer(context.model, nullptr, "top1");
    test::AddComputer(context.model, nullptr, "top2");

    // The folder, a computer inside it (entered twice) and a top-level computer.
    context.Select({site, inLab, top});
    commands.Execute(cmd::kRescan);
    EXPECT_EQ(context.ScannedEntries(), (Entries{{"lab1", lab}, {"site1", site}, {"lab1", lab}, {"top1", nullptr}}));
}

TEST_F(ScanCommandsTest, RescanOfAnEmptyFolderStartsNoScan) {
    FolderNode* empty = test::AddFolder(context.model, nullptr, "Empty");
    context.Select({empty});
    commands.Execute(cmd::kRescan);
    EXPECT_FALSE(context.computerScan.IsRunning());
    EXPECT_TRUE(context.statusSink.Shows().empty());
}

TEST_F(ScanCommandsTest, RescanWithNothingSelectedOpensTheScanChooser) {
    test::AddComputer(context.model, nullptr, "pc1");
    bool chooserSeen = false;
    bool scanButtonsEnabled = true;
    test::WhenModal<CScanDlg>([&](CScanDlg& chooser) {
        chooserSeen = true;
        // No scan subsystem in this build: both buttons are off.
        scanButtonsEnabled = chooser.ScanNetworkButton()->isEnabled() || chooser.ScanSubnetButton()->isEnabled();
        chooser.reject();
    });
    commands.Execute(cmd::kRescan);
    EXPECT_TRUE(chooserSeen);
    EXPECT_FALSE(scanButtonsEnabled);
    EXPECT_TRUE(context.ScannedEntries().empty());
}

TEST_F(ScanCommandsTest, ChooserButtonsRunTheScanCommands) {
    int networkScans = 0;
    int subnetScans = 0;
    SubsystemLaunchers launchers;
    launchers.ScanNetwork = [&] { ++networkScans; };
    launchers.ScanSubnet = [&] { ++subnetScans; };
    commands.SetLaunchers(launchers);

    test::WhenModal<CScanDlg>([](CScanDlg& chooser) { chooser.ScanSubnetButton()->click(); });
    commands.Execute(cmd::kScan);
    EXPECT_EQ(subnetScans, 1);
    EXPECT_EQ(networkScans, 0);

    // A scan chosen while another runs is refused like the menu command.
    context.running[ScanWorkerKind::Subnet] = true;
    test::WhenModal<CScanDlg>([](CScanDlg& chooser) { chooser.ScanNetworkButton()->click(); });
    commands.Execute(cmd::kScan);
    EXPECT_EQ(networkScans, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("Subnet scanning is stil", 0), 0u);
}

TEST_F(ScanCommandsTest, ImportTakesEachNameOnceIntoTheSelectedFolder) {
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    context.Select({office});
    ChooseFile(TempFile("list.txt", "  pc1  \r\nPC1\r\npc2,desc\r\n\r\n"));
    commands.Execute(cmd::kImportComputerList);
    EXPECT_EQ(context.ScannedEntries(), (Entries{{"pc1", office}, {"pc2", office}}));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ScanCommandsTest, ImportOfAnEmptyListStillRunsTheScan) {
    ChooseFile(TempFile("empty.txt", ""));
    commands.Execute(cmd::kImportComputerList);
    EXPECT_TRUE(context.ScannedEntries().empty());
    EXPECT_EQ(context.statusSink.Shows(), (std::vector<bool>{true, false}));
}

TEST_F(ScanCommandsTest, ImportOfAFileThatCannotBeOpenedWarnsAndStartsNothing) {
    const auto missing =
        std::filesystem::temp_directory_path() / ("vn_scan_commands_" + std::to_string(::getpid()) + "_missing.txt");
    ChooseFile(missing);
    commands.Execute(cmd::kImportComputerList);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Could not open file \"" + missing.string() + "\".");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(context.statusSink.Shows().empty());
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <unistd.h>
#include <QLineEdit>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "FakeMainWindowContext.h"
#include "ModalDriver.h"
#include "ScriptedFileChooser.h"
#include "app/commands/MainCommands.h"
#include "app/context/CommandIds.h"
#include "app/dialogs/CAddFolder.h"
#include "app/dialogs/RenameFolderDialog.h"
#include "inventory/InventoryTreeBuilder.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

constexpr const char* kRemoveQuestion = "Are you sure you want to delete the selected item(s)?";

class TreeCommandsTest : public testing::Test {
protected:
    void SetUp() override { commands.SetFileChooser(&files); }
    ~TreeCommandsTest() override { std::filesystem::remove_all(directory_); }

    std::filesystem::path Path(const std::string& name) {
        std::filesystem::create_directories(directory_);
        return directory_ / name;
    }

    void ChooseFile(const std::filesystem::path& path) { files.QueuePath(path); }

    test::ScriptedMessageBoxService boxes;
    test::FakeMainWindowContext context;
    MainCommands commands{context};
    test::ScriptedFileChooser files;
    std::filesystem::path directory_ =
        std::filesystem::temp_directory_path() / ("vn_tree_commands_" + std::to_string(::getpid()));
};

TEST_F(TreeCommandsTest, RemoveWithNothingSelectedAsksAndShowsNoSelection) {
    test::AddComputer(context.model, nullptr, "pc1");
    boxes.QueueAnswer(MessageAnswer::Yes);
    commands.Execute(cmd::kRemove);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, kRemoveQuestion);
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Question);
    EXPECT_EQ(boxes.Boxes()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(context.model.rowCount(), 1);
    EXPECT_EQ(context.shownDetails, (std::vector<int>{details::kNoSelection}));
}

TEST_F(TreeCommandsTest, RemoveAnsweredNoKeepsEverything) {
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc1");
    context.Select({pc});
    boxes.QueueAnswer(MessageAnswer::No);
    commands.Execute(cmd::kRemove);
    EXPECT_TRUE(context.model.Contains(pc));
    EXPECT_TRUE(context.shownDetails.empty());
    EXPECT_EQ(context.clearSelectionCount, 0);
}

TEST_F(TreeCommandsTest, RemoveTakesNestedSelectionsOnceAndShowsBlankWhenEmpty) {
    FolderNode* site = test::AddFolder(context.model, nullptr, "Site");
    FolderNode* lab = test::AddFolder(context.model, site, "Lab");
    ComputerRecord* inLab = test::AddComputer(context.model, lab, "lab1");
    ComputerRecord* top = test::AddComputer(context.model, nullptr, "top1");
    // The folder, a folder and a computer below it, and one more computer.
    context.Select({site, lab, inLab, top});
    boxes.QueueAnswer(MessageAnswer::Yes);
    commands.Execute(cmd::kRemove);
    EXPECT_EQ(context.model.rowCount(), 0);
    EXPECT_EQ(context.clearSelectionCount, 1);
    EXPECT_EQ(context.shownDetails, (std::vector<int>{details::kBlank}));
}

TEST_F(TreeCommandsTest, RemoveWhileScanningAsksNothingButStillPicksTheView) {
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc1");
    context.Select({pc});
    context.running[ScanWorkerKind::Network] = true;
    commands.Execute(cmd::kRemove);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.rfind("Network scanning is stil in progress.", 0), 0u);
    EXPECT_TRUE(context.model.Contains(pc));
    EXPECT_TRUE(context.shownDetails.empty());

    context.model.DeleteSubtree(pc);
    commands.Execute(cmd::kRemove);
    EXPECT_EQ(context.shownDetails, (std::vector<int>{details::kBlank}));
}

TEST_F(TreeCommandsTest, AddFolderReusesAFolderOfTheSameName) {
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    context.Select({office});
    for (const char* name : {"Lab", "LAB"}) {
        test::WhenModal<CAddFolder>([name](CAddFolder& dialog) {
            dialog.NameEdit()->setText(QString::fromLatin1(name));
            dialog.accept();
        });
        commands.Execute(cmd::kAddFolder);
    }
    EXPECT_EQ(test::ChildTexts(context.model, office), (std::vector<std::string>{"Lab"}));
    EXPECT_EQ(context.model.rowCount(), 1);
    EXPECT_EQ(context.focusCount, 2);
}

// Lab (Sub holding pc1) beside the folder Office (Sub) and the computer pc9.
TEST_F(TreeCommandsTest, RenameFolderRefusesWhatAddFolderRefusesAndMergesIntoATwin) {
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    test::AddFolder(context.model, office, "Sub");
    FolderNode* lab = test::AddFolder(context.model, nullptr, "Lab");
    test::AddComputer(context.model, test::AddFolder(context.model, lab, "Sub"), "pc1");
    test::AddComputer(context.model, nullptr, "pc9");
    context.Select({lab});

    // Each refusal keeps the dialog open on the name.
    const struct {
        const char* typed;
        std::string refusal;
    } refused[] = {
        {"a/b", "The folder name \"a/b\" contains characters which are not allowed. "},
        {"", "The folder name is empty. Please enter a valid folder name."},
        {"PC9", "A computer beside the folder is named \"PC9\". Please enter another folder name."},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.typed);
        bool keptOpen = false;
        test::WhenModal<RenameFolderDialog>([&](RenameFolderDialog& dialog) {
            EXPECT_EQ(dialog.NameEdit()->text(), QStringLiteral("Lab"));
            dialog.NameEdit()->setText(QString::fromLatin1(c.typed));
            dialog.accept();
            keptOpen = dialog.isVisible();
            dialog.reject();
        });
        commands.Execute(cmd::kRenameFolder);
        EXPECT_TRUE(keptOpen);
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_EQ(boxes.Boxes().back().text.rfind(c.refusal, 0), 0u) << boxes.Boxes().back().text;
        EXPECT_EQ(lab->Name, "Lab");
    }

    // While a scan may be filling the folder, nothing is asked.
    context.running[ScanWorkerKind::Subnet] = true;
    bool asked = false;
    QTimer* watch = test::WhenModal<RenameFolderDialog>([&](RenameFolderDialog& dialog) {
        asked = true;
        dialog.reject();
    });
    commands.Execute(cmd::kRenameFolder);
    delete watch;
    EXPECT_FALSE(asked);
    context.running[ScanWorkerKind::Subnet] = false;

    test::WhenModal<RenameFolderDialog>([](RenameFolderDialog& dialog) {
        dialog.NameEdit()->setText(QStringLiteral("OFFICE"));
        dialog.accept();
    });
    commands.Execute(cmd::kRenameFolder);
    EXPECT_FALSE(context.model.Contains(lab));
    EXPECT_EQ(test::ChildTexts(context.model, nullptr), (std::vector<std::string>{"Office", "pc9"}));
    ASSERT_EQ(test::ChildTexts(context.model, office), (std::vector<std::string>{"Sub"}));
    const auto* sub = static_cast<const FolderNode*>(context.model.ChildrenOf(office).front());
    EXPECT_EQ(test::ChildTexts(context.model, sub), (std::vector<std::string>{"pc1"}));
    EXPECT_EQ(context.SelectedNodes(), (std::vector<InventoryNode*>{office}));
}

TEST_F(TreeCommandsTest, ExportedListReadsBackAsTheSameComputers) {
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    test::AddComputer(context.model, office, "pc2", {&context.catalogue.at(0)});
    test::AddComputer(context.model, nullptr, "pc1");
    const auto path = Path("tree.txt");
    ChooseFile(path);
    commands.Execute(cmd::kExportComputerList);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "The listed computers are exported to\"" + path.string() + "\" successfully.");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Information);

    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "pc2, Vantor\r\npc1\r\n");

    // Imported into a folder, the same names come back as scan entries.
    context.Select({office});
    ChooseFile(path);
    commands.Execute(cmd::kImportComputerList);
    const std::vector<std::pair<std::string, FolderNode*>> expected{{"pc2", office}, {"pc1", office}};
    EXPECT_EQ(context.ScannedEntries(), expected);
}

TEST_F(TreeCommandsTest, CancelledExportOrImportDoesNothingButRefocus) {
    test::AddComputer(context.model, nullptr, "pc1");
    commands.Execute(cmd::kExportComputerList);
    commands.Execute(cmd::kImportComputerList);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(context.statusSink.Shows().empty());
    EXPECT_EQ(context.focusCount, 2);
}

TEST_F(TreeCommandsTest, ExportFailureShowsTheExportsErrorText) {
    test::AddComputer(context.model, nullptr, "pc1");
    const auto path = Path("missing-dir") / "tree.txt";
    ChooseFile(path);
    commands.Execute(cmd::kExportComputerList);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(context.model.LastErrorText().empty());
    EXPECT_EQ(boxes.Boxes()[0].text,
              "Could not open file \"" + path.string() + "\". Error message: " + context.model.LastErrorText());
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Stop);
}

}  // namespace
}  // namespace vn

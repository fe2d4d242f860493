#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>

#include "FakeMainWindowContext.h"
#include "ModalDriver.h"
#include "ToolBarStates.h"
#include "app/commands/CMainToolBar.h"
#include "app/commands/MainCommands.h"
#include "app/context/CommandIds.h"
#include "app/dialogs/CDetectInfoDlg.h"
#include "app/dialogs/CScanDlg.h"
#include "app/dialogs/HelpWindow.h"
#include "inventory/InventoryTreeBuilder.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/BitmapButton.h"

namespace vn {
namespace {

// A menu as "text|prompt" per item and "-" per separator; sub-menus as ">text".
std::vector<std::string> Describe(const QMenu& menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator())
            items.push_back("-");
        else if (action->menu() != nullptr)
            items.push_back(">" + action->text().toStdString());
        else
            items.push_back(action->text().toStdString() + "|" + action->statusTip().toStdString());
    }
    return items;
}

// The menu as it is when it opens: its items' texts and states are its own.
QMenu& Opened(QMenu* menu) {
    emit menu->aboutToShow();
    return *menu;
}

class MainCommandsTest : public testing::Test {
protected:
    QAction* Action(const char* objectName) const {
        auto* action = commands.findChild<QAction*>(QString::fromLatin1(objectName));
        if (action == nullptr)
            ADD_FAILURE() << "no action " << objectName;
        return action;
    }

    test::ScriptedMessageBoxService boxes;
    test::FakeMainWindowContext context;
    MainCommands commands{context};
};

TEST_F(MainCommandsTest, FileMenuHoldsItsItemsPromptsAndSeparators) {
    const char* const kImportItem =
        "Import Computer List...|Import a list of computer from a textfile (the file should contain 1 "
        "computer name per line)";
    const char* const kCredentialsItem =
        "Network Credentials...|Set the user name and password used to examine other computers";
    QMainWindow window;
    commands.BuildMenuBar(window);
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&View");
    EXPECT_EQ(menus[2]->text(), "&Help");
    EXPECT_EQ(
        Describe(*menus[0]->menu()),
        (std::vector<std::string>{
            ">Add", "Remove|Remove selected item(s)", "Rename Folder...|Rename the selected folder",
            "Rescan|Rescan selected computer(s) or folder(s)", "-", "Install...|Install Vantor to remote computers",
            "-", "Scan Network...|Scan the specified network for computers",
            "Scan Subnet...|Scan the specified IP range for computers", "-",
            "Export Computer List...|Export the tree to a file", kImportItem, "-",
            "E&xit|Quit the application; prompts to save documents"}));
    EXPECT_EQ(Describe(*menus[0]->menu()->actions()[0]->menu()),
              (std::vector<std::string>{"Computer...|Add computer to the selected folder",
                                        "Folder...|Add folder to the selected folder"}));
    EXPECT_EQ(Describe(*menus[1]->menu()),
              (std::vector<std::string>{"&Status Bar|Show or hide the status bar", "&Tool Bar|",
                                        "Group Policy|Show the Group Policy information dialog", "-",
                                        "Settings...|Show Vantor Netwarden settings dialog", kCredentialsItem}));
    EXPECT_EQ(menus[2]->menu()->actions().size(), 4);
}

TEST_F(MainCommandsTest, OpeningAMenuSetsItsStatesAndCheckMarks) {
    QMainWindow window;
    commands.BuildMenuBar(window);
    QMenu* file = window.menuBar()->actions()[0]->menu();
    QMenu* view = window.menuBar()->actions()[1]->menu();
    context.toolBarVisible = false;
    emit file->aboutToShow();
    emit view->aboutToShow();
    auto state = [this](const char* objectName) { return Action(objectName)->isEnabled(); };
    EXPECT_FALSE(state("actionRemove"));       // Remove: nothing selected
    EXPECT_TRUE(state("actionRescan"));        // Rescan
    EXPECT_FALSE(state("actionInstall"));      // Install: no deployment in this build
    EXPECT_FALSE(state("actionScanNetwork"));  // Scan Network: no network scan in this build
    EXPECT_TRUE(Action("actionViewStatusBar")->isChecked());
    EXPECT_FALSE(Action("actionViewToolBar")->isChecked());

    Action("actionViewToolBar")->trigger();
    EXPECT_TRUE(context.toolBarVisible);
    Action("actionViewStatusBar")->trigger();
    EXPECT_FALSE(context.statusBarVisible);
}

TEST_F(MainCommandsTest, RemoveRenameAndRescanFollowTheSelection) {
    SubsystemLaunchers launchers;
    launchers.DeploymentWizard = [](const std::vector<std::string>&) {};
    commands.SetLaunchers(launchers);
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    FolderNode* lab = test::AddFolder(context.model, nullptr, "Lab");
    ComputerRecord* pc1 = test::AddComputer(context.model, nullptr, "pc1");
    ComputerRecord* pc2 = test::AddComputer(context.model, nullptr, "pc2");
    struct Case {
        std::vector<InventoryNode*> selection;
        bool remove;
        bool rescanAndInstall;
        bool rename = false;
    };
    const Case cases[] = {
        {{}, false, true},        {{office}, true, true, true},  {{pc1}, true, true},
        {{pc1, pc2}, true, true}, {{office, lab}, false, false}, {{office, pc1}, false, false},
    };
    for (const Case& c : cases) {
        context.Select(c.selection);
        EXPECT_EQ(commands.IsEnabled(cmd::kRemove), c.remove) << c.selection.size();
        EXPECT_EQ(commands.IsEnabled(cmd::kRescan), c.rescanAndInstall) << c.selection.size();
        EXPECT_EQ(commands.IsEnabled(cmd::kInstall), c.rescanAndInstall) << c.selection.size();
        EXPECT_EQ(commands.IsEnabled(cmd::kRenameFolder), c.rename) << c.selection.size();
        EXPECT_TRUE(commands.IsEnabled(cmd::kAddComputer));
    }
}

TEST_F(MainCommandsTest, ContextMenusCarryTheirItemsAndSeveralFoldersHaveNoCommands) {
    ASSERT_NE(commands.ContextMenu(menu::kSingleFolder), nullptr);
    QMenu& folder = Opened(commands.ContextMenu(menu::kSingleFolder));
    std::vector<std::string> texts;
    for (const QAction* action : folder.actions())
        texts.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    EXPECT_EQ(texts, (std::vector<std::string>{"Add Computer...", "Add Folder...", "-", "Remove", "Rename...", "-",
                                               "Rescan Content", "-", "Import Computer List...", "Scan Network...",
                                               "Scan Subnet..."}));

    QMenu& folders = Opened(commands.ContextMenu(menu::kSeveralFolders));
    ASSERT_EQ(folders.actions().size(), 2);
    EXPECT_EQ(folders.actions()[0]->text(), "Refresh");
    EXPECT_EQ(folders.actions()[1]->text(), "Remove");
    EXPECT_FALSE(folders.actions()[0]->isEnabled());
    EXPECT_FALSE(folders.actions()[1]->isEnabled());

    QMenu& computer = Opened(commands.ContextMenu(menu::kSingleComputer));
    EXPECT_EQ(computer.actions()[4]->text(), "Check Group Policies...");
    EXPECT_EQ(computer.actions()[4]->statusTip(), "Check Vantor Group Policies for this computer and current user.");
    EXPECT_EQ(commands.ContextMenu(menu::kSingleFailedComputer)->actions().size(), 2);
    EXPECT_EQ(Opened(commands.ContextMenu(menu::kSeveralComputers)).actions()[2]->text(), "Remove from List");
    EXPECT_EQ(commands.ContextMenu(menu::kMenuBar), nullptr);
}

TEST_F(MainCommandsTest, ToolBarButtonsStandWhereDesignedAndSendTheirCommands) {
    std::unique_ptr<QWidget> form(commands.CreateToolBarForm(nullptr));
    auto* toolbar = qobject_cast<CMainToolBar*>(form.get());
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->size(), QSize(2000, 22));
    BitmapButton* services = toolbar->Button(cmd::kDisableEnableServices);
    ASSERT_NE(services, nullptr);
    BitmapButton* add = toolbar->Button(cmd::kAddComputer);
    // Designed places and widths, widened (and the later buttons moved right
    // by as much) where the caption needs more room in the font at hand.
    EXPECT_GE(add->x(), 328);
    EXPECT_GE(add->width(), 99);
    EXPECT_GE(services->width(), 144);
    EXPECT_GE(services->width(), services->sizeHint().width());
    EXPECT_EQ(services->x(), add->geometry().right() + 1 + 6);
    EXPECT_EQ(services->height(), 22);
    EXPECT_EQ(services->text(), "Disable/Enable Services");
    EXPECT_EQ(services->toolTip(), "Disable/Enable Remote Access Services");
    EXPECT_EQ(services->defaultAction(), Action("actionDisableEnableServices"));
    EXPECT_EQ(add->toolTip(), "Scan Single Computer");
    EXPECT_FALSE(add->icon().isNull());
    EXPECT_EQ(toolbar->findChildren<BitmapButton*>().size(), 7);

    int before = context.focusCount;
    boxes.QueueAnswer(MessageAnswer::No);
    Action("actionRemove")->trigger();
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(context.focusCount, before);
}

TEST_F(MainCommandsTest, ToolBarKeepsTheDesignedGeometryWhileTheCaptionsFit) {
    const QFont before = QApplication::font();
    QFont small = before;
    small.setPixelSize(6);
    QApplication::setFont(small);
    std::unique_ptr<QWidget> form(commands.CreateToolBarForm(nullptr));
    QApplication::setFont(before);
    auto* toolbar = qobject_cast<CMainToolBar*>(form.get());
    ASSERT_NE(toolbar, nullptr);
    EXPECT_EQ(toolbar->Button(cmd::kScan)->geometry(), QRect(0, 0, 55, 22));
    EXPECT_EQ(toolbar->Button(cmd::kExportComputerList)->geometry(), QRect(196, 0, 60, 22));
    EXPECT_EQ(toolbar->Button(cmd::kAddComputer)->geometry(), QRect(328, 0, 99, 22));
    EXPECT_EQ(toolbar->Button(cmd::kDisableEnableServices)->geometry(), QRect(433, 0, 144, 22));
}

// Rescan follows the caret; the commands that act on selected computers or
// on one folder follow the selection, so none offers what it would refuse.
TEST_F(MainCommandsTest, ToolBarStatesFollowTheCaretAndTheSelection) {
    SubsystemLaunchers launchers;
    launchers.DeploymentWizard = [](const std::vector<std::string>&) {};
    launchers.ServiceManager = [](const ComputerRecord&) {};
    commands.SetLaunchers(launchers);
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    ComputerRecord* pc1 = test::AddComputer(context.model, nullptr, "pc1");
    ComputerRecord* pc2 = test::AddComputer(context.model, nullptr, "pc2");
    struct Case {
        const char* name;
        std::vector<InventoryNode*> selection;
        InventoryNode* caret;
        bool rescan, install, services, rename;
    };
    const Case cases[] = {
        {"nothing", {}, nullptr, false, false, false, false},
        {"a folder", {office}, office, true, false, false, true},
        {"a computer", {pc1}, pc1, true, true, true, false},
        {"two computers", {pc1, pc2}, pc2, true, true, false, false},
        {"a folder and a computer", {office, pc1}, pc1, true, true, false, false},
        {"a caret left unmarked", {}, pc1, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context.Select(c.selection);
        context.SetCaret(c.caret);
        commands.OnSelectionChanged();
        EXPECT_EQ(test::ToolBarStates(commands), (std::map<int, bool>{{cmd::kRescan, c.rescan},
                                                                      {cmd::kInstall, c.install},
                                                                      {cmd::kDisableEnableServices, c.services}}));
        EXPECT_EQ(Action("actionRenameFolder")->isEnabled(), c.rename);
    }
}

TEST_F(MainCommandsTest, ViewAndFileCommandsReachTheWindow) {
    commands.Execute(cmd::kSettings);
    EXPECT_EQ(context.settingsDialogs, 1);
    EXPECT_EQ(context.focusCount, 1);
    commands.Execute(cmd::kNetworkCredentials);
    EXPECT_EQ(context.credentialsDialogs, 1);
    EXPECT_EQ(context.focusCount, 2);
    commands.Execute(cmd::kExit);
    EXPECT_EQ(context.closeRequests, 1);
}

TEST_F(MainCommandsTest, GettingStartedShowsTheBundledHelp) {
    commands.Execute(cmd::kGettingStarted);
    HelpWindow* help = commands.Help().Window();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->Browser()->toPlainText().contains(QStringLiteral("Vantor Netwarden Getting Started")));
    // Every topic the start page links to is part of the help.
    for (const char* page : {"scanning", "tree", "lists", "install", "policies", "settings"}) {
        help->Browser()->setSource(QUrl(QStringLiteral("qrc:/help/%1.html").arg(QString::fromLatin1(page))));
        EXPECT_FALSE(help->Browser()->toPlainText().isEmpty()) << page;
    }
    commands.Execute(cmd::kGettingStarted);
    EXPECT_EQ(commands.Help().Window(), help);
}

TEST(DetectInfoDialog, ListsTheCatalogueFilesOtherProductsOnly) {
    const auto path =
        std::filesystem::temp_directory_path() / ("vn_detect_info_" + std::to_string(::getpid()) + ".ini");
    std::ofstream(path) << "[1]\nDisplayName=Farview\nServicePath=Software\\Farview\n\n"
                           "[2]\nDisplayName=Vantor\nServicePath=x\n\n"
                           "[3]\nDisplayName=Abacus Remote\nServicePath=Software\\Abacus\n\n";
    {
        CDetectInfoDlg dialog(path);
        EXPECT_EQ(dialog.windowTitle(), "What Netwarden detects ");
        QTreeWidget* list = dialog.OtherProducts();
        EXPECT_EQ(list->headerItem()->text(0), "Other Products");
        EXPECT_EQ(list->columnWidth(0), 260);
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "Farview");
        EXPECT_EQ(list->topLevelItem(1)->text(0), "Abacus Remote");
    }
    std::filesystem::remove(path);

    // A missing catalogue file is not reported: the list is just empty.
    test::ScriptedMessageBoxService boxes;
    CDetectInfoDlg dialog(path);
    EXPECT_EQ(dialog.OtherProducts()->topLevelItemCount(), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
}  // namespace vn

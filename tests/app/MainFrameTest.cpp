#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <functional>

#include "app/CColumnTreeCtrl.h"
#include "app/CMainFrame.h"
#include "app/CMainTreeView.h"
#include "app/CSettingsDlg.h"
#include "app/CWelcomeDlg.h"
#include "app/HivePlatform.h"
#include "app/InventoryExitSave.h"
#include "app/SettingsStore.h"
#include "app/commands/MainCommands.h"
#include "app/commands/ModalDriver.h"
#include "app/context/CommandIds.h"
#include "app/details/CDescriptionFolder.h"
#include "app/details/DescriptionView.h"
#include "app/details/DetailsPane.h"
#include "app/dialogs/CScanDlg.h"
#include "app/dialogs/NetworkCredentialsDialog.h"
#include "catalogue/ProductCatalogue.h"
#include "credentials/NetworkIdentity.h"
#include "detect/ComputerScanWorker.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/CTreeStatus.h"
#include "inventory/FailingRegistry.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryPersistence.h"
#include "inventory/InventoryTreeBuilder.h"
#include "platform/RegistryValues.h"
#include "support/MemoryKeyring.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/LockableSplitter.h"

namespace vn::test {
namespace {

class MainFrameTest : public testing::Test {
protected:
    MainFrameTest() { catalogue.AddBuiltIns(); }

    std::unique_ptr<CMainFrame> Start() {
        MainFrameOptions options;
        options.LoadCatalogue = false;
        auto frame = std::make_unique<CMainFrame>(platform, catalogue, options);
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        return frame;
    }
    // Closes the window the way the close box does and lets the shutdown run.
    static bool CloseAndWait(CMainFrame& frame) {
        frame.close();
        return QTest::qWaitFor([&] { return !frame.isVisible(); }, 10000);
    }

    RegistryKeyPtr SettingsKey() {
        RegistryKeyPtr hive;
        RegistryKeyPtr key;
        if (platform.local->Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS ||
            hive->CreateKey(SettingsStore::kSettingsKey, KEY_ALL_ACCESS, key) != ERROR_SUCCESS)
            ADD_FAILURE() << "the settings key cannot be opened";
        return key;
    }
    void Put(std::string_view name, std::uint32_t value) {
        ASSERT_EQ(SetDwordValue(*SettingsKey(), name, value), ERROR_SUCCESS);
    }
    std::optional<std::uint32_t> Get(std::string_view name) {
        std::uint32_t value = 0;
        if (QueryDwordValue(*SettingsKey(), name, value, REG_DWORD) != 0)
            return std::nullopt;
        return value;
    }
    bool InventoryStored() {
        RegistryKeyPtr hive;
        RegistryKeyPtr key;
        return platform.local->Connect("", Hive::CurrentUser, hive) == ERROR_SUCCESS &&
               hive->OpenKey(kInventoryRootKey, KEY_READ, key) == ERROR_SUCCESS;
    }
    static QAction* Action(CMainFrame& frame, const char* objectName) {
        auto* action = frame.findChild<QAction*>(QString::fromLatin1(objectName));
        if (action == nullptr)
            ADD_FAILURE() << "no action " << objectName;
        return action;
    }
    // Install and the service manager, which otherwise stay disabled, with
    // launchers that do nothing.
    static void EnableComputerCommands(CMainFrame& frame) {
        SubsystemLaunchers launchers;
        launchers.DeploymentWizard = [](const std::vector<std::string>&) {};
        launchers.ServiceManager = [](const ComputerRecord&) {};
        frame.Commands().SetLaunchers(launchers);
    }
    // The toolbar button's state: its command's outside menus.
    static bool ButtonEnabled(CMainFrame& frame, const char* objectName) {
        QAction* action = Action(frame, objectName);
        return action != nullptr && action->isEnabled();
    }
    // The panels below the details show all of their content: each gets the
    // height its content needs and its button lies inside it; the details
    // pane has the rest of the column.
    static void ExpectPanelsShowTheirContent(CMainFrame& frame) {
        LockableSplitter& right = frame.RightSplitter();
        const QList<int> rows = right.sizes();
        ASSERT_EQ(rows.size(), 3);
        for (int row : {1, 2})
            EXPECT_EQ(rows[row], right.widget(row)->minimumSizeHint().height()) << row;
        EXPECT_EQ(rows[0] + rows[1] + rows[2] + 2 * right.handleWidth(), right.height());
        for (const char* name : {"checkPolicies", "install"}) {
            auto* button = frame.findChild<QPushButton*>(QString::fromLatin1(name));
            ASSERT_NE(button, nullptr) << name;
            EXPECT_TRUE(button->isVisible()) << name;
            EXPECT_TRUE(button->parentWidget()->rect().contains(button->geometry())) << name;
        }
    }

    ScriptedMessageBoxService boxes;
    HivePlatform platform;
    ProductCatalogue catalogue;
};

TEST_F(MainFrameTest, FirstStartUsesTheBuiltInLayoutAndWritesEverythingAtExit) {
    auto frame = Start();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Vantor Netwarden"));
    EXPECT_FALSE(frame->windowIcon().isNull());
    EXPECT_EQ(frame->frameGeometry().size(), QSize(864, 641));
    EXPECT_EQ(frame->LeftSplitter().sizes().value(0), 404);
    ExpectPanelsShowTheirContent(*frame);
    EXPECT_TRUE(frame->RightSplitter().IsLocked());
    EXPECT_FALSE(frame->LeftSplitter().IsLocked());
    EXPECT_EQ(frame->ToolBar().windowTitle(), QStringLiteral("Main Toolbar"));
    EXPECT_EQ(frame->Details().CurrentKey(), details::kBlank);

    // No welcome screen on a first run.
    frame->RunWelcomeScreen();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(Get("SaveWorkspaceInfo"), 1u);
    EXPECT_EQ(Get("WelcomeScreen"), 0u);
    EXPECT_EQ(Get("LockHorizontalSplitter"), 1u);
    EXPECT_EQ(Get("WorkspaceWidth"), 864u);
    EXPECT_EQ(Get("WorkspaceHeight"), 641u);
    EXPECT_TRUE(Get("WorkspaceX"));
    EXPECT_TRUE(Get("WorkspaceY"));
    EXPECT_EQ(Get("FirstWiewWidth"), 404u);
    EXPECT_TRUE(Get("SecondWiewHeight"));
    EXPECT_TRUE(Get("ThirdWiewHeight"));
    EXPECT_TRUE(Get("FourthWiewHeight"));
}

TEST_F(MainFrameTest, StoredWorkspaceIsRestored) {
    Put("SaveWorkspaceInfo", 1);
    Put("LockHorizontalSplitter", 0);
    Put("WorkspaceWidth", 1000);
    Put("WorkspaceHeight", 700);
    Put("WorkspaceX", 40);
    Put("WorkspaceY", 50);
    Put("FirstWiewWidth", 300);
    Put("SecondWiewHeight", 250);
    Put("ThirdWiewHeight", 150);
    Put("FourthWiewHeight", 100);
    auto frame = Start();
    EXPECT_EQ(frame->frameGeometry(), QRect(40, 50, 1000, 700));
    EXPECT_EQ(frame->LeftSplitter().sizes().value(0), 300);
    // The rows follow the content, not the stored heights (150 would cut the policy panel).
    ExpectPanelsShowTheirContent(*frame);
    EXPECT_FALSE(frame->RightSplitter().IsLocked());

    frame->LeftSplitter().setSizes({350, frame->LeftSplitter().width() - 351});
    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(Get("FirstWiewWidth"), 350u);
    EXPECT_EQ(Get("WorkspaceX"), 40u);
}

// Stored at a smaller scale, or on a larger screen: the window comes back
// wholly on the screen, its title bar reachable.
TEST_F(MainFrameTest, AWorkspaceStoredLargerThanOrOffTheScreenIsFittedOntoIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    Put("SaveWorkspaceInfo", 1);
    Put("WorkspaceWidth", static_cast<std::uint32_t>(area.width() + 300));
    Put("WorkspaceHeight", static_cast<std::uint32_t>(area.height() + 200));
    Put("WorkspaceX", static_cast<std::uint32_t>(-150));
    Put("WorkspaceY", static_cast<std::uint32_t>(-40));
    auto frame = Start();
    EXPECT_EQ(frame->frameGeometry(), area);
    ASSERT_TRUE(CloseAndWait(*frame));

    Put("WorkspaceWidth", 600);
    Put("WorkspaceHeight", 400);
    Put("WorkspaceX", static_cast<std::uint32_t>(area.right() - 100));
    Put("WorkspaceY", static_cast<std::uint32_t>(area.bottom() - 50));
    frame = Start();
    // At least as large as its content needs, in the screen's corner.
    const QRect placed = frame->frameGeometry();
    EXPECT_GE(placed.width(), 600);
    EXPECT_GE(placed.height(), 400);
    EXPECT_EQ(placed.bottomRight(), area.bottomRight());
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, PartlyStoredPanesFallBackToTheBuiltInSizes) {
    Put("SaveWorkspaceInfo", 1);
    Put("WorkspaceWidth", 1000);
    Put("WorkspaceHeight", 700);
    Put("WorkspaceX", 0);
    Put("WorkspaceY", 0);
    Put("FirstWiewWidth", 300);
    Put("SecondWiewHeight", 250);
    Put("ThirdWiewHeight", 150);
    auto frame = Start();
    EXPECT_EQ(frame->frameGeometry().size(), QSize(1000, 700));
    EXPECT_EQ(frame->LeftSplitter().sizes().value(0), 404);
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, WithoutSaveWorkspaceInfoOnlyTheSettingsAreWritten) {
    Put("SaveWorkspaceInfo", 0);
    Put("WorkspaceWidth", 1000);
    auto frame = Start();
    EXPECT_EQ(frame->frameGeometry().size(), QSize(864, 641));
    frame->Model().InsertNode(nullptr, std::make_unique<FolderNode>("Lab"), false);
    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(Get("SaveWorkspaceInfo"), 0u);
    EXPECT_EQ(Get("LockHorizontalSplitter"), 1u);
    EXPECT_EQ(Get("WorkspaceWidth"), 1000u);
    EXPECT_FALSE(Get("WorkspaceHeight"));
    EXPECT_FALSE(InventoryStored());
}

TEST_F(MainFrameTest, ClosingWhileMaximisedKeepsTheEarlierWorkspace) {
    Put("SaveWorkspaceInfo", 1);
    Put("WorkspaceWidth", 900);
    Put("WorkspaceHeight", 600);
    Put("WorkspaceX", 10);
    Put("WorkspaceY", 20);
    auto frame = Start();
    frame->Model().InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false);
    frame->showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame->isMaximized(); }, 2000));
    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(Get("WorkspaceWidth"), 900u);
    EXPECT_EQ(Get("WorkspaceX"), 10u);
    EXPECT_FALSE(Get("FirstWiewWidth"));
    EXPECT_TRUE(InventoryStored());
}

TEST_F(MainFrameTest, SavedTreeAndSettingsComeBackAtTheNextStart) {
    {
        auto frame = Start();
        auto* lab =
            static_cast<FolderNode*>(frame->Model().InsertNode(nullptr, std::make_unique<FolderNode>("Lab"), false));
        frame->Model().InsertNode(lab, std::make_unique<ComputerRecord>("pc1"), false);
        frame->Settings().LockHorizontalSplitter = 0;
        ASSERT_TRUE(CloseAndWait(*frame));
    }
    auto frame = Start();
    ASSERT_EQ(frame->Model().rowCount(), 1);
    EXPECT_FALSE(frame->RightSplitter().IsLocked());
    // Items but no caret: the no-selection view.
    EXPECT_EQ(frame->Details().CurrentKey(), details::kNoSelection);
    ASSERT_TRUE(CloseAndWait(*frame));
}

// Another program (netwarden, a second window) saved the tree while this
// window was open: the window asks before it overwrites that tree.
TEST_F(MainFrameTest, ATreeSavedMeanwhileByAnotherProgramIsOverwrittenOnlyWhenTheUserSaysSo) {
    const struct {
        MessageAnswer answer;
        const char* kept;
    } cases[] = {{MessageAnswer::Yes, "mine"}, {MessageAnswer::No, "theirs"}};
    for (const auto& c : cases) {
        auto frame = Start();
        frame->Model().InsertNode(nullptr, std::make_unique<ComputerRecord>("mine"), false);
        InventoryModel theirs;
        theirs.InsertNode(nullptr, std::make_unique<ComputerRecord>("theirs"), false);
        ASSERT_TRUE(SaveInventory(theirs, *platform.Reopen()));
        const std::size_t before = boxes.Boxes().size();
        boxes.QueueAnswer(c.answer);
        ASSERT_TRUE(CloseAndWait(*frame));

        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), before + 1);
        EXPECT_EQ(shown.back().text, kSavedTreeChangedQuestion);
        EXPECT_EQ(shown.back().icon, MessageIcon::Question);
        EXPECT_EQ(shown.back().buttons, MessageButtons::YesNo);
        InventoryModel stored;
        ASSERT_TRUE(LoadInventory(stored, *platform.Reopen(), catalogue));
        ASSERT_EQ(stored.rowCount(), 1);
        EXPECT_EQ(stored.ChildrenOf(nullptr).front()->Name, c.kept);
    }
    // Unchanged since it was loaded: saved without a question.
    auto frame = Start();
    const std::size_t before = boxes.Boxes().size();
    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(boxes.Boxes().size(), before);
}

TEST_F(MainFrameTest, CaretChoosesTheDetailsViewAndTheToolbarButtons) {
    auto frame = Start();
    EnableComputerCommands(*frame);
    InventoryModel& model = frame->Model();
    EXPECT_FALSE(ButtonEnabled(*frame, "actionRescan"));
    EXPECT_FALSE(ButtonEnabled(*frame, "actionInstall"));
    EXPECT_FALSE(ButtonEnabled(*frame, "actionDisableEnableServices"));
    EXPECT_TRUE(ButtonEnabled(*frame, "actionScan"));

    auto* lab = static_cast<FolderNode*>(model.InsertNode(nullptr, std::make_unique<FolderNode>("Lab"), false));
    auto failed = std::make_unique<ComputerRecord>("pc9");
    failed->HasError = 1;
    failed->ErrorString = "The network path was not found.";
    InventoryNode* pc9 = model.InsertNode(nullptr, std::move(failed), false);
    InventoryNode* pc1 = model.InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false);
    CColumnTreeCtrl& tree = frame->TreeView().Tree();

    tree.MakeSelectedCaret(lab);
    EXPECT_EQ(frame->Details().CurrentKey(), details::kFolder);
    EXPECT_TRUE(ButtonEnabled(*frame, "actionRescan"));
    EXPECT_FALSE(ButtonEnabled(*frame, "actionInstall"));
    EXPECT_FALSE(ButtonEnabled(*frame, "actionDisableEnableServices"));
    EXPECT_EQ(frame->SelectedFolder(), lab);

    tree.MakeSelectedCaret(pc9);
    EXPECT_EQ(frame->Details().CurrentKey(), details::kError);
    EXPECT_TRUE(ButtonEnabled(*frame, "actionInstall"));
    EXPECT_EQ(frame->SelectedFolder(), nullptr);

    tree.MakeSelectedCaret(pc1);
    EXPECT_EQ(frame->Details().CurrentKey(), details::kComputer);
    EXPECT_TRUE(ButtonEnabled(*frame, "actionDisableEnableServices"));
    EXPECT_EQ(frame->SelectedNodes(), std::vector<InventoryNode*>{pc1});

    // A rescan result merged into the caret's node shows the new values.
    auto rescanned = std::make_unique<ComputerRecord>("PC1");
    rescanned->HasError = 1;
    rescanned->ErrorString = "Access is denied.";
    model.InsertNode(nullptr, std::move(rescanned), true);
    EXPECT_EQ(frame->Details().CurrentKey(), details::kError);

    model.DeleteSubtree(pc1);
    model.DeleteSubtree(pc9);
    model.DeleteSubtree(lab);
    EXPECT_EQ(frame->Details().CurrentKey(), details::kBlank);
    EXPECT_FALSE(ButtonEnabled(*frame, "actionRescan"));
    ASSERT_TRUE(CloseAndWait(*frame));
}

// A click on empty space chooses nothing: the details say so and the buttons
// of the computer commands are off, as they are when Ctrl+click takes the
// last mark off while the caret stays.
TEST_F(MainFrameTest, DetailsAndButtonsFollowTheSelectionWhenItEmpties) {
    auto frame = Start();
    EnableComputerCommands(*frame);
    InventoryNode* pc1 = frame->Model().InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false);
    CColumnTreeCtrl& tree = frame->TreeView().Tree();
    const QPoint onPc1 = tree.LabelRect(frame->Model().IndexOf(pc1)).center();
    const std::pair<const char*, std::function<void()>> emptyings[] = {
        {"click on empty space",
         [&] { QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(20, tree.viewport()->height() - 5)); }},
        {"ctrl+click on the one marked",
         [&] { QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::ControlModifier, onPc1); }},
    };
    for (const auto& [name, empty] : emptyings) {
        SCOPED_TRACE(name);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, onPc1);
        ASSERT_EQ(frame->Details().CurrentKey(), details::kComputer);
        ASSERT_TRUE(ButtonEnabled(*frame, "actionDisableEnableServices"));
        empty();
        EXPECT_TRUE(frame->SelectedNodes().empty());
        EXPECT_FALSE(ButtonEnabled(*frame, "actionInstall"));
        EXPECT_FALSE(ButtonEnabled(*frame, "actionDisableEnableServices"));
    }
    // The caret went with the click on empty space only.
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(20, tree.viewport()->height() - 5));
    EXPECT_EQ(frame->Details().CurrentKey(), details::kNoSelection);
    EXPECT_FALSE(ButtonEnabled(*frame, "actionRescan"));
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, ContextMenuItemsShowTheirPromptsInTheStatusBar) {
    auto frame = Start();
    frame->TreeView().Tree().MakeSelectedCaret(
        frame->Model().InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false));
    struct Case {
        int menuId;
        const char* action;
        const char* prompt;
    };
    const Case cases[] = {
        {menu::kSingleFolder, "actionAddComputer", "Add computer to the selected folder"},
        {menu::kSingleFailedComputer, "actionRemove", "Remove selected item(s)"},
        {menu::kSeveralComputers, "actionRescan", "Rescan selected computer(s) or folder(s)"},
    };
    for (const Case& c : cases) {
        frame->statusBar()->clearMessage();
        QMenu* menu = frame->Commands().ContextMenu(c.menuId);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->parentWidget(), frame.get());
        menu->popup(frame->mapToGlobal(QPoint(50, 50)));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        menu->setActiveAction(Action(*frame, c.action));
        EXPECT_EQ(frame->statusBar()->currentMessage().toStdString(), c.prompt) << c.action;
        menu->hide();
    }
    ASSERT_TRUE(CloseAndWait(*frame));
}

// What the details pane shows keeps up with the tree without a click: the
// first computer of an empty tree, computers arriving in the folder at the
// caret (an import), merges and removals below it.
TEST_F(MainFrameTest, DetailsFollowTheTreeAsItChanges) {
    auto frame = Start();
    InventoryModel& model = frame->Model();
    EXPECT_EQ(frame->Details().CurrentKey(), details::kBlank);
    auto* office = static_cast<FolderNode*>(model.InsertNode(nullptr, std::make_unique<FolderNode>("Office"), true));
    EXPECT_EQ(frame->Details().CurrentKey(), details::kNoSelection);

    frame->TreeView().Tree().MakeSelectedCaret(office);
    auto* view = static_cast<CDescriptionFolder*>(frame->Details().View(details::kFolder));
    EXPECT_EQ(view->ComputerCount()->text(), "0");
    auto* branch = static_cast<FolderNode*>(model.InsertNode(office, std::make_unique<FolderNode>("Branch"), true));
    model.InsertNode(office, std::make_unique<ComputerRecord>("pc1"), true);
    model.InsertNode(branch, std::make_unique<ComputerRecord>("pc2"), true);
    EXPECT_EQ(view->ComputerCount()->text(), "2");
    EXPECT_EQ(view->FolderCount()->text(), "1");

    auto merged = std::make_unique<ComputerRecord>("PC2");
    merged->InstalledProducts = {&catalogue.at(0)};
    model.InsertNode(branch, std::move(merged), true);
    EXPECT_EQ(view->StatisticsRows().size(), 3u);

    model.DeleteSubtree(branch);
    EXPECT_EQ(view->ComputerCount()->text(), "1");
    EXPECT_TRUE(view->StatisticsRows().empty());
    // Elsewhere in the tree nothing of the folder changes.
    model.InsertNode(nullptr, std::make_unique<ComputerRecord>("pc3"), true);
    EXPECT_EQ(view->ComputerCount()->text(), "1");
    EXPECT_EQ(frame->Details().CurrentKey(), details::kFolder);
    ASSERT_TRUE(CloseAndWait(*frame));
}

// At the first-start size and larger, with a folder using three products
// at the caret, no pane needs a scroll bar and every control is in view;
// what the window gains goes to the details pane.
TEST_F(MainFrameTest, EveryPaneShowsItsControlsAtTheSizesPeopleUse) {
    catalogue.AddUnique(std::make_unique<ProductDef>(MakeProduct("Farview", "Software\\Farview")));
    auto frame = Start();
    InventoryModel& model = frame->Model();
    auto* office = static_cast<FolderNode*>(model.InsertNode(nullptr, std::make_unique<FolderNode>("Office"), true));
    for (std::size_t product = 0; product < 3; ++product) {
        auto computer = std::make_unique<ComputerRecord>("pc" + std::to_string(product));
        computer->InstalledProducts = {&catalogue.at(product)};
        model.InsertNode(office, std::move(computer), true);
    }
    frame->TreeView().Tree().MakeSelectedCaret(office);
    DescriptionView& view = *frame->Details().View(details::kFolder);
    int detailsAtFirstSize = 0;
    for (const QSize size : {QSize(864, 641), QSize(1280, 800), QSize(1920, 1200)}) {
        frame->resize(size);
        QApplication::processEvents();
        SCOPED_TRACE(size.width());
        ExpectPanelsShowTheirContent(*frame);
        EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
        for (const char* name : {"rescan", "detectsLink"}) {
            auto* control = view.Form()->findChild<QWidget*>(QString::fromLatin1(name));
            ASSERT_NE(control, nullptr);
            EXPECT_TRUE(view.viewport()->rect().contains(control->geometry())) << name;
        }
        if (detailsAtFirstSize == 0) {
            detailsAtFirstSize = frame->RightSplitter().sizes().value(0);
        } else if (size.width() == 1280) {
            EXPECT_GE(frame->RightSplitter().sizes().value(0) - detailsAtFirstSize, 800 - 641);
        }
    }
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, AnOpenMenuHasItsOwnStatesAndItsCommandRunsInThem) {
    auto frame = Start();
    QAction* rescan = Action(*frame, "actionRescan");
    // The toolbar's state: no caret.
    ASSERT_FALSE(rescan->isEnabled());
    QMenu* file = frame->menuBar()->actions().value(0)->menu();
    file->popup(frame->mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    // The menu's: with nothing selected Rescan opens the scan chooser.
    EXPECT_TRUE(rescan->isEnabled());
    frame->Commands().OnSelectionChanged();
    EXPECT_TRUE(rescan->isEnabled());

    bool chooserShown = false;
    WhenModal<CScanDlg>([&](CScanDlg& chooser) {
        chooserShown = true;
        chooser.reject();
    });
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(rescan).center());
    EXPECT_TRUE(chooserShown);
    EXPECT_FALSE(file->isVisible());
    QTest::qWait(0);
    EXPECT_FALSE(rescan->isEnabled());
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, DeleteAsksAsRemoveDoesAndLeavesNothingSelected) {
    auto frame = Start();
    CColumnTreeCtrl& tree = frame->TreeView().Tree();
    auto pressDelete = [&] { QTest::keyClick(&tree, Qt::Key_Delete); };
    auto chooseRemove = [&] { Action(*frame, "actionRemove")->trigger(); };
    const std::function<void()> ways[] = {pressDelete, chooseRemove};
    for (const auto& remove : ways) {
        InventoryModel& model = frame->Model();
        InventoryNode* pc1 = model.InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false);
        InventoryNode* pc2 = model.InsertNode(nullptr, std::make_unique<ComputerRecord>("pc2"), false);
        tree.setFocus();
        tree.MakeSelectedCaret(pc1);
        ASSERT_TRUE(ButtonEnabled(*frame, "actionRescan"));
        const std::size_t before = boxes.Boxes().size();
        boxes.QueueAnswer(MessageAnswer::Yes);
        remove();
        ASSERT_EQ(boxes.Boxes().size(), before + 1);
        EXPECT_EQ(boxes.Boxes().back().text, "Are you sure you want to delete the selected item(s)?");
        EXPECT_FALSE(model.Contains(pc1));
        EXPECT_EQ(frame->CaretNode(), nullptr);
        EXPECT_EQ(frame->Details().CurrentKey(), details::kNoSelection);
        EXPECT_FALSE(ButtonEnabled(*frame, "actionRescan"));

        // With nothing marked Delete does nothing, as the disabled menu item.
        pressDelete();
        EXPECT_EQ(boxes.Boxes().size(), before + 1);
        model.DeleteSubtree(pc2);
    }
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, AnExitThatCannotSaveSaysSoAndMayKeepTheWindowOpen) {
    struct Case {
        bool storedSaveFlag;  // SaveWorkspaceInfo 1 stored by an earlier run
        bool diskFull;        // every write fails
        std::string why;      // what was not saved, and why
    };
    const Case cases[] = {
        // The flag could not be written: the tree is still wanted. Nothing is
        // left out of a save that did not land.
        {false, true, "the settings and the computer tree.\nThere is not enough space on the disk.\n"},
        {true, true,
         "the settings, the computer tree and the window layout.\nThere is not enough space on the disk.\n"},
        // The rest of the tree is saved; the folder no key can be named is named.
        {false, false,
         "the computer tree.\nLeft out:\n- the folder \"CORP\\Sales\" and everything in it: a name holding a "
         "backslash cannot be stored\n"},
    };
    for (const Case& c : cases) {
        if (c.storedSaveFlag)
            Put("SaveWorkspaceInfo", 1);
        auto frame = Start();
        InventoryModel& model = frame->Model();
        model.InsertNode(nullptr, std::make_unique<ComputerRecord>("pc1"), false);
        auto* sales =
            static_cast<FolderNode*>(model.InsertNode(nullptr, std::make_unique<FolderNode>("CORP\\Sales"), false));
        model.InsertNode(sales, std::make_unique<ComputerRecord>("pc2"), false);
        FailingRegistry failing(*platform.local, 1);
        if (c.diskFull)
            platform.localFront = &failing;
        const std::size_t before = boxes.Boxes().size();

        boxes.QueueAnswer(MessageAnswer::No);
        frame->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Boxes().size() > before; }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return frame->CurrentState() == CMainFrame::State::Running; }, 10000));
        EXPECT_EQ(boxes.Boxes().back().icon, MessageIcon::Question);
        EXPECT_EQ(boxes.Boxes().back().text,
                  "Vantor Netwarden could not save " + c.why +
                      "Close it anyway? Choose No to keep the window open, for instance to export the computer "
                      "list.");
        EXPECT_TRUE(frame->isVisible());

        // Yes closes without the tree, or without what it left out.
        boxes.QueueAnswer(MessageAnswer::Yes);
        ASSERT_TRUE(CloseAndWait(*frame));
        EXPECT_EQ(boxes.Boxes().size(), before + 2);
        EXPECT_EQ(InventoryStored(), !c.diskFull);
        platform.localFront = nullptr;
    }
}

TEST_F(MainFrameTest, CancelSignalsTheStopEventsOfAllThreeScanWorkers) {
    auto frame = Start();
    CTreeStatus& panel = frame->TreeView().StatusPanel();
    frame->TreeView().Status().Show(true);
    QTest::mouseClick(panel.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(panel.Text().left(32), QStringLiteral("Cancel request acknowledged. Ple"));
    EXPECT_TRUE(frame->SubnetScan().GetStopEvent().Wait(std::chrono::milliseconds(0)));
    EXPECT_TRUE(frame->NetworkScan().GetStopEvent().Wait(std::chrono::milliseconds(0)));
    EXPECT_TRUE(frame->ComputerScan().GetStopEvent().Wait(std::chrono::milliseconds(0)));
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, CancelBeforeAScanDoesNotStopTheNextOne) {
    auto frame = Start();
    // Cancel on the hidden panel, with no scan running.
    frame->TreeView().StatusPanel().CancelButton()->click();
    auto job = std::make_unique<ComputerScanJob>(frame->WorkerStatusSink(), frame->WorkerTreeSink(), catalogue);
    job->Entries.push_back({"pc1", nullptr});
    job->Entries.push_back({"pc2", nullptr});
    ASSERT_TRUE(frame->ComputerScan().Start(std::move(job)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->ComputerScan().IsRunning(); }, 10000));
    EXPECT_EQ(frame->Model().rowCount(), 2);
    EXPECT_FALSE(frame->TreeView().Status().IsShown());
    ASSERT_TRUE(CloseAndWait(*frame));
}

// Holds the probe of one computer until the test lets it go.
class ProbeGate {
public:
    explicit ProbeGate(FakePlatform& platform) {
        platform.SetCallHook([this](const FakeCall& call) {
            if (call.operation == "RegConnectRegistry" && call.computer == "pc1") {
                entered_.Set();
                release_.WaitForever();
            }
        });
    }
    // The worker needs this thread for its status texts: wait with the event loop running.
    bool WaitEntered() {
        return QTest::qWaitFor([this] { return entered_.Wait(std::chrono::milliseconds(0)); }, 5000);
    }
    void Release() { release_.Set(); }

private:
    Event entered_{Event::Mode::ManualReset};
    Event release_{Event::Mode::ManualReset};
};

TEST_F(MainFrameTest, ClosingWaitsForTheRunningScanAndASecondCloseChangesNothing) {
    ProbeGate gate(platform.fake);
    auto frame = Start();
    QSignalSpy shutdowns(frame.get(), &CMainFrame::shutdownStarted);
    auto job = std::make_unique<ComputerScanJob>(frame->WorkerStatusSink(), frame->WorkerTreeSink(), catalogue);
    job->Entries.push_back({"pc1", nullptr});
    job->Entries.push_back({"pc2", nullptr});
    ASSERT_TRUE(frame->ComputerScan().Start(std::move(job)));
    ASSERT_TRUE(gate.WaitEntered());

    frame->close();
    frame->close();
    QTest::qWait(100);
    EXPECT_EQ(shutdowns.count(), 1);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(frame->CurrentState(), CMainFrame::State::Closing);
    EXPECT_TRUE(frame->ComputerScan().IsRunning());

    gate.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 10000));
    EXPECT_FALSE(frame->ComputerScan().IsRunning());
    EXPECT_EQ(shutdowns.count(), 1);
    // The computer being examined was finished and saved; the stop came
    // before the next one.
    ASSERT_EQ(frame->Model().rowCount(), 1);
    EXPECT_TRUE(InventoryStored());
    EXPECT_EQ(Get("SaveWorkspaceInfo"), 1u);
}

TEST_F(MainFrameTest, CancelDuringAComputerScanEndsItBeforeTheNextComputer) {
    ProbeGate gate(platform.fake);
    auto frame = Start();
    auto job = std::make_unique<ComputerScanJob>(frame->WorkerStatusSink(), frame->WorkerTreeSink(), catalogue);
    job->Entries.push_back({"pc1", nullptr});
    job->Entries.push_back({"pc2", nullptr});
    ASSERT_TRUE(frame->ComputerScan().Start(std::move(job)));
    ASSERT_TRUE(gate.WaitEntered());
    CTreeStatus& panel = frame->TreeView().StatusPanel();
    ASSERT_TRUE(panel.isVisible());
    QTest::mouseClick(panel.CancelButton(), Qt::LeftButton);
    gate.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->ComputerScan().IsRunning(); }, 10000));
    ASSERT_EQ(frame->Model().rowCount(), 1);
    EXPECT_EQ(frame->Model().ChildrenOf(nullptr).front()->Name, "pc1");
    EXPECT_FALSE(panel.isVisible());
    ASSERT_TRUE(CloseAndWait(*frame));
}

TEST_F(MainFrameTest, SettingsDialogChangesTheRecordAndTheLockButWritesNothing) {
    auto frame = Start();
    WhenModal<CSettingsDlg>([](CSettingsDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Settings"));
        EXPECT_TRUE(dialog.SaveSettingsBox()->isChecked());
        EXPECT_FALSE(dialog.WelcomeScreenBox()->isChecked());
        EXPECT_TRUE(dialog.LockSplitterBox()->isChecked());
        dialog.WelcomeScreenBox()->setChecked(true);
        dialog.LockSplitterBox()->setChecked(false);
        dialog.accept();
    });
    frame->SendCommand(cmd::kSettings);
    EXPECT_EQ(frame->Settings().WelcomeScreen, 1u);
    EXPECT_EQ(frame->Settings().LockHorizontalSplitter, 0u);
    EXPECT_FALSE(frame->RightSplitter().IsLocked());
    EXPECT_FALSE(Get("WelcomeScreen"));

    WhenModal<CSettingsDlg>([](CSettingsDlg& dialog) {
        dialog.SaveSettingsBox()->setChecked(false);
        dialog.reject();
    });
    frame->ShowSettingsDialog();
    EXPECT_EQ(frame->Settings().SaveWorkspaceInfo, 1u);
    ASSERT_TRUE(CloseAndWait(*frame));
    EXPECT_EQ(Get("WelcomeScreen"), 1u);
}

// Without an identity a one-line notice says what an anonymous examination
// misses; its link opens the credentials dialog, and it goes once
// credentials are set there.
TEST_F(MainFrameTest, TheAnonymousNoticeLeadsToTheCredentialsDialogAndGoesWhenTheyAreSet) {
    setenv("KRB5CCNAME", "FILE:/nonexistent/no-ticket", 1);
    MemoryKeyring keyring;
    NetworkIdentity identity(
        keyring, [](const smb::SmbCredentials&) {}, "/nonexistent/credentials");
    identity.UseStored();
    MainFrameOptions options;
    options.LoadCatalogue = false;
    options.Identity = &identity;
    CMainFrame frame(platform, catalogue, options);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    auto* notice = frame.findChild<QToolBar*>(QStringLiteral("CredentialsNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    auto* text = notice->findChild<QLabel*>(QStringLiteral("credentialsNoticeText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->text().startsWith(QStringLiteral(
        "Computers will be examined anonymously: products that only administrators may read will not be found.")));

    WhenModal<NetworkCredentialsDialog>([](NetworkCredentialsDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("userEdit"))->setText(QStringLiteral("admin"));
        dialog.findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("Secret-1"));
        dialog.accept();
    });
    emit text->linkActivated(QStringLiteral("credentials"));
    EXPECT_TRUE(keyring.entry.has_value());
    EXPECT_FALSE(notice->isVisible());

    WhenModal<NetworkCredentialsDialog>([](NetworkCredentialsDialog& dialog) {
        dialog.findChild<QPushButton*>(QStringLiteral("forgetButton"))->click();
        dialog.reject();
    });
    frame.ShowNetworkCredentialsDialog();
    EXPECT_TRUE(notice->isVisible());
    ASSERT_TRUE(CloseAndWait(frame));
}

TEST_F(MainFrameTest, WelcomeScanButtonRunsItsCommandBeforeTheScreenCloses) {
    Put("WelcomeScreen", 1);
    auto frame = Start();
    bool ranWhileOpen = false;
    SubsystemLaunchers launchers;
    launchers.ScanSubnet = [&] {
        ranWhileOpen = qobject_cast<CWelcomeDlg*>(QApplication::activeModalWidget()) != nullptr;
    };
    frame->Commands().SetLaunchers(launchers);
    WhenModal<CWelcomeDlg>([](CWelcomeDlg& dialog) {
        auto* prompt = dialog.findChild<QLabel*>(QStringLiteral("prompt"));
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(prompt->text(), QStringLiteral("Scan. Please select an operation below."));
        EXPECT_TRUE(dialog.ShowAtStartupBox()->isChecked());
        dialog.ShowAtStartupBox()->setChecked(false);
        dialog.ScanSubnetButton()->click();
    });
    frame->RunWelcomeScreen();
    EXPECT_TRUE(ranWhileOpen);
    EXPECT_EQ(frame->Settings().WelcomeScreen, 0u);

    // Cancel leaves the setting alone.
    frame->Settings().WelcomeScreen = 1;
    WhenModal<CWelcomeDlg>([](CWelcomeDlg& dialog) {
        dialog.ShowAtStartupBox()->setChecked(false);
        dialog.reject();
    });
    frame->RunWelcomeScreen();
    EXPECT_EQ(frame->Settings().WelcomeScreen, 1u);
    ASSERT_TRUE(CloseAndWait(*frame));
}

}  // namespace
}  // namespace vn::test

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <algorithm>
#include <chrono>
#include <random>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryTreeBuilder.h"
#include "inventory/NameCompare.h"
#include "inventory/NodeImage.h"

namespace vn {
namespace {

using test::AddComputer;
using test::AddFolder;
using test::ChildTexts;
using Texts = std::vector<std::string>;

// Every model change is checked against Qt's model contract; its complaints
// arrive as warnings.
class InventoryModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Warnings().clear();
        previousHandler_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                Warnings().push_back(text.toStdString());
        });
    }
    void TearDown() override {
        qInstallMessageHandler(previousHandler_);
        EXPECT_TRUE(Warnings().empty()) << Warnings().front();
    }
    static std::vector<std::string>& Warnings() {
        static std::vector<std::string> list;
        return list;
    }

    InventoryModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Warning};

private:
    QtMessageHandler previousHandler_ = nullptr;
};

TEST_F(InventoryModelTest, FoldersComeFirstThenComputersByLowerCasedName) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    AddComputer(model, lab, "beta");
    AddComputer(model, lab, "Alpha");
    AddComputer(model, lab, "gamma");
    AddFolder(model, lab, "Zulu");
    AddFolder(model, lab, "alpha");
    EXPECT_EQ(ChildTexts(model, lab), (Texts{"alpha", "Zulu", "Alpha", "beta", "gamma"}));

    // Byte order of the lower-cased names: "_" (0x5F) sorts before "a" only once lower-cased.
    AddComputer(model, nullptr, "B");
    AddComputer(model, nullptr, "_x");
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"Lab", "_x", "B"}));
}

// One rule with the registry that stores the names: case beyond ASCII folds too.
TEST_F(InventoryModelTest, NamesEqualIgnoringUnicodeCaseAreOneNode) {
    for (const char* name : {"\u00C4PC", "\u00E4pc", "\u00C9", "\u00E9", "\u03A3", "\u03C3", "\u03C2"})
        AddComputer(model, nullptr, name);
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"\u00C4PC", "\u00C9", "\u03A3"}));
    FolderNode* upper = AddFolder(model, nullptr, "\u00C4");
    EXPECT_EQ(AddFolder(model, nullptr, "\u00E4"), upper);
}

TEST_F(InventoryModelTest, ComputerOfExistingNameTakesNewDataAndKeepsItsItem) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    ComputerRecord* old = AddComputer(model, lab, "pc1");
    old->Description = "old";
    const QPersistentModelIndex oldIndex = model.IndexOf(old);
    QSignalSpy refreshed(&model, &InventoryModel::nodeRefreshed);

    auto fresh = std::make_unique<ComputerRecord>("PC1");
    fresh->OSVersion = "Windows NT Server 4.0";
    fresh->HasError = 1;
    fresh->ErrorString = "Access is denied.\r\n";
    fresh->LastKnownIP = 0x0A000001;
    InventoryNode* result = model.InsertNode(lab, std::move(fresh), true);

    EXPECT_EQ(result, old);
    EXPECT_EQ(model.ChildrenOf(lab).size(), 1u);
    EXPECT_EQ(old->Name, "PC1");
    EXPECT_EQ(old->ItemText, "pc1");
    EXPECT_EQ(model.data(oldIndex).toString(), "pc1");
    EXPECT_EQ(old->Description, "");
    EXPECT_EQ(old->LastKnownIP, 0x0A000001u);
    EXPECT_EQ(model.data(oldIndex, InventoryModel::NodeImageRole).toInt(), AccessDeniedImage);
    ASSERT_EQ(refreshed.count(), 1);
    EXPECT_EQ(refreshed.at(0).at(0).toModelIndex(), QModelIndex(oldIndex));
}

// A rescan that failed (unreachable, cut short) knows nothing of the
// products, so the ones known stay; one that succeeded replaces them.
TEST_F(InventoryModelTest, FailedResultKeepsTheKnownProductsAndAGoodOneReplacesThem) {
    const ProductDef vantor{};
    const ProductDef kestrel{};
    ComputerRecord* pc = AddComputer(model, nullptr, "PC1");
    pc->InstalledProducts = {&vantor};
    const struct {
        int hasError;
        std::vector<const ProductDef*> found;
        std::vector<const ProductDef*> kept;
    } cases[] = {
        {1, {}, {&vantor}},
        {1, {&kestrel}, {&vantor}},
        {0, {&kestrel}, {&kestrel}},
        {0, {}, {}},
    };
    for (const auto& c : cases) {
        pc->InstalledProducts = {&vantor};
        auto fresh = std::make_unique<ComputerRecord>("PC1");
        fresh->HasError = c.hasError;
        fresh->InstalledProducts = c.found;
        ASSERT_EQ(model.InsertNode(nullptr, std::move(fresh), false), pc);
        EXPECT_EQ(pc->InstalledProducts, c.kept) << c.hasError;
        EXPECT_EQ(pc->HasError, c.hasError);
    }
}

TEST_F(InventoryModelTest, FolderOfExistingNameIsReturnedAndReceivesTheChildren) {
    FolderNode* sales = AddFolder(model, nullptr, "SALES");
    AddComputer(model, sales, "pc2");

    auto incoming = std::make_unique<FolderNode>("Sales");
    incoming->Children.push_back(std::make_unique<ComputerRecord>("pc1"));
    InventoryNode* result = model.InsertNode(nullptr, std::move(incoming), true);
    ASSERT_EQ(result, sales);
    AddComputer(model, static_cast<FolderNode*>(result), "pc0");

    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"SALES"}));
    EXPECT_EQ(ChildTexts(model, sales), (Texts{"pc0", "pc1", "pc2"}));
    for (const InventoryNode* child : sales->Children)
        EXPECT_TRUE(model.Contains(child));
}

TEST_F(InventoryModelTest, FolderAndComputerOfOneNameAreSiblings) {
    FolderNode* folder = AddFolder(model, nullptr, "srv");
    ComputerRecord* computer = AddComputer(model, nullptr, "SRV");
    EXPECT_NE(static_cast<InventoryNode*>(folder), computer);
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"srv", "SRV"}));
}

TEST_F(InventoryModelTest, EnsureVisibleOnlyWhenAskedAndOnlyForNewItems) {
    QSignalSpy visible(&model, &InventoryModel::ensureVisible);
    AddComputer(model, nullptr, "quiet");
    EXPECT_EQ(visible.count(), 0);
    InventoryNode* loud = model.InsertNode(nullptr, std::make_unique<ComputerRecord>("loud"), true);
    ASSERT_EQ(visible.count(), 1);
    EXPECT_EQ(InventoryModel::NodeAt(visible.at(0).at(0).toModelIndex()), loud);
}

TEST_F(InventoryModelTest, ParentThatLeftTheTreeCountsAsTopLevel) {
    FolderNode* gone = AddFolder(model, nullptr, "gone");
    model.DeleteSubtree(gone);
    EXPECT_FALSE(model.Contains(gone));
    // A scan result whose folder was removed meanwhile lands at the top level.
    InventoryNode* node = model.InsertNode(gone, std::make_unique<ComputerRecord>("pc1"), false);
    EXPECT_EQ(model.ParentOf(node), nullptr);
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"pc1"}));
}

TEST_F(InventoryModelTest, DeleteSubtreeRemovesEverythingBelow) {
    FolderNode* a = AddFolder(model, nullptr, "a");
    FolderNode* b = AddFolder(model, a, "b");
    ComputerRecord* pc = AddComputer(model, b, "pc");
    AddComputer(model, nullptr, "keep");
    model.DeleteSubtree(a);
    for (const InventoryNode* node :
         {static_cast<InventoryNode*>(a), static_cast<InventoryNode*>(b), static_cast<InventoryNode*>(pc)})
        EXPECT_FALSE(model.Contains(node));
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"keep"}));
}

TEST_F(InventoryModelTest, NodeImages) {
    ComputerRecord computer("pc");
    EXPECT_EQ(NodeImage(computer), WorkstationImage);
    computer.IsServer = 1;
    EXPECT_EQ(NodeImage(computer), ServerImage);
    computer.HasError = 1;
    computer.ErrorString = "Access is denied.\r\n";
    EXPECT_EQ(NodeImage(computer), AccessDeniedImage);
    computer.ErrorString = "The network path was not found.\r\n";
    EXPECT_EQ(NodeImage(computer), ErrorImage);
    computer.ErrorString = "access is denied.";  // the test is case-sensitive
    EXPECT_EQ(NodeImage(computer), ErrorImage);
    EXPECT_EQ(NodeImage(FolderNode("f")), FolderImage);
}

TEST_F(InventoryModelTest, ExpandedStateIsKeptAndAnnounced) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    QSignalSpy changed(&model, &InventoryModel::expandedChanged);
    model.SetExpanded(lab, true);
    model.SetExpanded(lab, true);
    EXPECT_TRUE(model.IsExpanded(lab));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(1).toBool());
}

class MoveNodesTest : public InventoryModelTest {
protected:
    void SetUp() override {
        InventoryModelTest::SetUp();
        a = AddFolder(model, nullptr, "a");
        aSub = AddFolder(model, a, "sub");
        aPc = AddComputer(model, aSub, "pc1");
        b = AddFolder(model, nullptr, "b");
        lone = AddComputer(model, nullptr, "lone");
    }
    FolderNode* a = nullptr;
    FolderNode* aSub = nullptr;
    ComputerRecord* aPc = nullptr;
    FolderNode* b = nullptr;
    ComputerRecord* lone = nullptr;
};

TEST_F(MoveNodesTest, RefusedTargetsChangeNothing) {
    const Texts before = ChildTexts(model, nullptr);
    EXPECT_FALSE(model.MoveNodes(aSub, {a}, a));     // into its own subfolder
    EXPECT_FALSE(model.MoveNodes(a, {a}, a));        // onto itself
    EXPECT_FALSE(model.MoveNodes(a, {aSub}, aSub));  // onto its current parent
    EXPECT_FALSE(model.MoveNodes(nullptr, {lone}, lone));
    EXPECT_FALSE(model.MoveNodes(lone, {a}, a));  // not a folder
    // Dragging b while a is also selected: b's subtree target inside a is refused.
    EXPECT_FALSE(model.MoveNodes(aSub, {b, a}, b));
    EXPECT_EQ(ChildTexts(model, nullptr), before);
    EXPECT_TRUE(model.Contains(aPc));
    EXPECT_FALSE(model.IsExpanded(aSub));
}

TEST_F(MoveNodesTest, MovedFolderMergesIntoTargetAndOriginalsAreFreed) {
    FolderNode* bSub = AddFolder(model, b, "SUB");
    ComputerRecord* existing = AddComputer(model, bSub, "PC1");
    aPc->Description = "moved data";

    EXPECT_TRUE(model.MoveNodes(b, {aSub}, aSub));

    EXPECT_TRUE(model.IsExpanded(b));
    EXPECT_FALSE(model.Contains(aSub));
    EXPECT_FALSE(model.Contains(aPc));
    EXPECT_TRUE(model.ChildrenOf(a).empty());
    EXPECT_EQ(ChildTexts(model, b), (Texts{"SUB"}));
    EXPECT_EQ(ChildTexts(model, bSub), (Texts{"PC1"}));
    EXPECT_EQ(existing->Description, "moved data");
}

TEST_F(MoveNodesTest, SelectionHoldingAFolderAndItsChildMovesTheFolderOnce) {
    // The child is freed with its folder; it must not be moved a second time.
    EXPECT_TRUE(model.MoveNodes(b, {aSub, aPc, lone}, aSub));
    EXPECT_EQ(ChildTexts(model, b), (Texts{"sub", "lone"}));
    const auto* movedSub = static_cast<const FolderNode*>(model.ChildrenOf(b).front());
    EXPECT_EQ(ChildTexts(model, movedSub), (Texts{"pc1"}));
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"a", "b"}));
}

TEST_F(MoveNodesTest, SelectedNodeAlreadyInTargetStays) {
    ComputerRecord* inB = AddComputer(model, b, "inb");
    inB->Description = "kept";
    EXPECT_TRUE(model.MoveNodes(b, {inB, lone}, lone));
    EXPECT_TRUE(model.Contains(inB));
    EXPECT_EQ(inB->Description, "kept");
    EXPECT_EQ(ChildTexts(model, b), (Texts{"inb", "lone"}));
}

// Renaming a (holding sub/pc1) among b (holding SUB/PC1) and the computer
// lone: the rows stay sorted, a twin folder takes the content with the drop's
// merge, and a computer's name is refused.
TEST_F(InventoryModelTest, RenamedFolderIsResortedOrMergedIntoItsTwin) {
    using Result = InventoryModel::RenameResult;
    struct Case {
        const char* newName;
        Result result;
        Texts top;
        Texts inB;  // the children of b afterwards
    };
    const Case cases[] = {
        {"c", Result::Renamed, {"b", "c", "lone"}, {"SUB"}},
        {"A", Result::Renamed, {"A", "b", "lone"}, {"SUB"}},
        {"0", Result::Renamed, {"0", "b", "lone"}, {"SUB"}},
        {"B", Result::Merged, {"b", "lone"}, {"SUB", "x"}},
        {"LONE", Result::TakenByComputer, {"a", "b", "lone"}, {"SUB"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newName);
        InventoryModel tree;
        QAbstractItemModelTester check{&tree, QAbstractItemModelTester::FailureReportingMode::Warning};
        FolderNode* a = AddFolder(tree, nullptr, "a");
        ComputerRecord* moved = AddComputer(tree, AddFolder(tree, a, "sub"), "pc1");
        AddFolder(tree, a, "x");
        moved->Description = "from a";
        FolderNode* b = AddFolder(tree, nullptr, "b");
        ComputerRecord* kept = AddComputer(tree, AddFolder(tree, b, "SUB"), "PC1");
        AddComputer(tree, nullptr, "lone");

        FolderNode* renamed = a;
        EXPECT_EQ(tree.RenameFolder(renamed, c.newName), c.result);
        EXPECT_EQ(ChildTexts(tree, nullptr), c.top);
        EXPECT_EQ(ChildTexts(tree, b), c.inB);
        switch (c.result) {
        case Result::Renamed:
            EXPECT_EQ(renamed, a);
            EXPECT_EQ(a->Name, c.newName);
            EXPECT_EQ(tree.IndexOf(a).data(InventoryModel::NameRole).toString().toStdString(), c.newName);
            break;
        case Result::Merged:
            EXPECT_EQ(renamed, b);
            EXPECT_FALSE(tree.Contains(a));
            EXPECT_EQ(kept->Description, "from a");
            break;
        default: EXPECT_EQ(renamed, a); EXPECT_EQ(a->Name, "a");
        }
    }
    FolderNode* outside = nullptr;
    EXPECT_EQ(model.RenameFolder(outside, "x"), Result::NotInTree);
}

TEST(InventoryModelPerformance, TenThousandRandomInsertsIntoOneFolder) {
    InventoryModel model;
    FolderNode* folder = AddFolder(model, nullptr, "big");
    std::vector<std::string> names;
    names.reserve(10000);
    for (int i = 0; i < 10000; ++i)
        names.push_back((i % 2 ? "PC-" : "pc-") + std::to_string(i * 7919 % 10007));
    std::shuffle(names.begin(), names.end(), std::mt19937(42));

    const auto start = std::chrono::steady_clock::now();
    for (const auto& name : names)
        AddComputer(model, folder, name);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LE(elapsed, std::chrono::seconds(2));
    const auto& children = model.ChildrenOf(folder);
    ASSERT_EQ(children.size(), 10000u);
    EXPECT_TRUE(std::is_sorted(children.begin(), children.end(), [](const InventoryNode* x, const InventoryNode* y) {
        return CompareLowerCase(x->Name, y->Name) < 0;
    }));
    // Row lookups stay right for every child.
    for (int row : {0, 4999, 9999})
        EXPECT_EQ(model.IndexOf(children[static_cast<std::size_t>(row)]).row(), row);
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <functional>

#include "app/CColumnTreeCtrl.h"
#include "app/ComputerReportTip.h"
#include "app/context/CommandIds.h"
#include "inventory/InventoryModel.h"

namespace vn::test {
namespace {

// Alpha (a1, a2, a3), Beta, pc1, pc2 (access denied), pc3 at the top level.
class TreeSelectionTest : public testing::Test {
protected:
    TreeSelectionTest() {
        qRegisterMetaType<InventoryNode*>();
        alpha = Folder("Alpha", nullptr);
        beta = Folder("Beta", nullptr);
        a1 = Computer("a1", alpha);
        a2 = Computer("a2", alpha);
        a3 = Computer("a3", alpha);
        pc1 = Computer("pc1", nullptr);
        pc2 = Computer("pc2", nullptr);
        pc2->HasError = 1;
        pc2->ErrorString = "Access is denied.";
        pc3 = Computer("pc3", nullptr);
        tree.resize(420, 300);
        tree.show();
        tree.expand(model.IndexOf(alpha));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&tree));
    }

    FolderNode* Folder(const char* name, FolderNode* parent) {
        return static_cast<FolderNode*>(model.InsertNode(parent, std::make_unique<FolderNode>(name), false));
    }
    ComputerRecord* Computer(const char* name, FolderNode* parent) {
        return static_cast<ComputerRecord*>(model.InsertNode(parent, std::make_unique<ComputerRecord>(name), false));
    }

    QPoint LabelPoint(const InventoryNode* node) const { return tree.LabelRect(model.IndexOf(node)).center(); }
    // On the row but right of the label, in the product column.
    QPoint RowEndPoint(const InventoryNode* node) const {
        return tree.visualRect(model.IndexOf(node, InventoryModel::ProductsColumn)).center();
    }
    void Click(const InventoryNode* node, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, modifiers, LabelPoint(node));
    }
    void RightClickAt(const QPoint& point) { QTest::mouseClick(tree.viewport(), Qt::RightButton, {}, point); }
    void KeyboardMenu() {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(1, 1), tree.viewport()->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(tree.viewport(), &event);
    }
    std::vector<InventoryNode*> Marked() const { return tree.SelectedNodes(); }
    int LastMenu(const QSignalSpy& spy) const { return spy.isEmpty() ? 0 : spy.last().at(0).toInt(); }

    InventoryModel model;
    CColumnTreeCtrl tree{model};
    FolderNode* alpha;
    FolderNode* beta;
    ComputerRecord *a1, *a2, *a3, *pc1, *pc2, *pc3;
};

using Nodes = std::vector<InventoryNode*>;

TEST_F(TreeSelectionTest, PlainClickSelectsTheItemAloneAndMovesTheCaret) {
    QSignalSpy carets(&tree, &CColumnTreeCtrl::caretChanged);
    Click(pc1);
    EXPECT_EQ(Marked(), Nodes{pc1});
    EXPECT_EQ(tree.CaretNode(), pc1);
    Click(a2);
    EXPECT_EQ(Marked(), Nodes{a2});
    EXPECT_EQ(tree.CaretNode(), a2);
    ASSERT_GE(carets.count(), 2);
    EXPECT_EQ(carets.last().at(0).value<InventoryNode*>(), a2);
}

TEST_F(TreeSelectionTest, CtrlClickTogglesMarksWithoutMovingTheCaret) {
    Click(pc1);
    Click(pc3, Qt::ControlModifier);
    Click(a1, Qt::ControlModifier);
    EXPECT_EQ(Marked(), (Nodes{a1, pc1, pc3}));                      // tree order
    EXPECT_EQ(tree.Marks().SelectionList(), (Nodes{pc1, pc3, a1}));  // click order
    EXPECT_EQ(tree.CaretNode(), pc1);

    Click(pc1, Qt::ControlModifier);
    EXPECT_EQ(Marked(), (Nodes{a1, pc3}));
    EXPECT_EQ(tree.Marks().SelectionList(), (Nodes{pc3, a1}));
    EXPECT_EQ(tree.CaretNode(), pc1);
}

// Whichever marked item a plain click lands on, it alone stays selected, so
// no command acts on an item the user no longer sees chosen.
TEST_F(TreeSelectionTest, PlainClickOnAMarkedItemSelectsItAlone) {
    struct Case {
        const char* name;
        std::vector<ComputerRecord*> ctrlClicked;  // after a plain click on pc1
        ComputerRecord* clicked;
    };
    const Case cases[] = {
        {"the item clicked last", {pc3}, pc3},
        {"the item clicked before the last", {pc3}, pc1},
        {"one of three", {pc2, pc3}, pc2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Click(pc1);
        for (ComputerRecord* node : c.ctrlClicked)
            Click(node, Qt::ControlModifier);
        ASSERT_EQ(Marked().size(), 1 + c.ctrlClicked.size());
        Click(c.clicked);
        EXPECT_EQ(Marked(), Nodes{c.clicked});
        EXPECT_EQ(tree.Marks().SelectionList(), Nodes{c.clicked});
        EXPECT_EQ(tree.CaretNode(), c.clicked);
    }
}

// A press on a marked item keeps the others until the release shows it was
// no drag: a drag from it moves them all.
TEST_F(TreeSelectionTest, APressOnAMarkedItemKeepsTheSelectionForADrag) {
    Click(a1);
    Click(a2, Qt::ControlModifier);
    QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, LabelPoint(a1));
    EXPECT_EQ(Marked(), (Nodes{a1, a2}));
    EXPECT_EQ(tree.Marks().SelectionList(), (Nodes{a1, a2}));
    QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, LabelPoint(a1));
    EXPECT_EQ(Marked(), Nodes{a1});
}

TEST_F(TreeSelectionTest, ShiftClickMarksTheSiblingsBetweenCaretAndItem) {
    Click(a3);
    Click(a1, Qt::ShiftModifier);
    EXPECT_EQ(Marked(), (Nodes{a1, a2, a3}));
    EXPECT_EQ(tree.Marks().SelectionList(), (Nodes{a3, a2, a1}));  // from the caret on
    EXPECT_EQ(tree.CaretNode(), a3);

    // Under another parent: nothing happens.
    Click(pc2, Qt::ShiftModifier);
    EXPECT_EQ(Marked(), (Nodes{a1, a2, a3}));
    EXPECT_EQ(tree.CaretNode(), a3);
}

// Nothing stays chosen: neither the marks nor the caret, whose item the
// details would otherwise go on showing.
TEST_F(TreeSelectionTest, ClickOnEmptySpaceClearsTheMarksAndTheCaret) {
    Click(pc1);
    Click(pc2, Qt::ControlModifier);
    QSignalSpy carets(&tree, &CColumnTreeCtrl::caretChanged);
    QSignalSpy marks(&tree, &CColumnTreeCtrl::marksChanged);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(50, tree.viewport()->height() - 5));
    EXPECT_TRUE(Marked().empty());
    EXPECT_TRUE(tree.Marks().SelectionList().empty());
    EXPECT_EQ(tree.CaretNode(), nullptr);
    ASSERT_EQ(carets.count(), 1);
    EXPECT_EQ(carets.front().at(0).value<InventoryNode*>(), nullptr);
    EXPECT_GE(marks.count(), 1);
}

// The commands that act on the marks hear of every change of them, also
// one that leaves the caret where it is.
TEST_F(TreeSelectionTest, EveryChangeOfTheMarksIsAnnounced) {
    QSignalSpy marks(&tree, &CColumnTreeCtrl::marksChanged);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"plain click", [this] { Click(pc1); }},
        {"ctrl+click", [this] { Click(pc3, Qt::ControlModifier); }},
        {"ctrl+click off", [this] { Click(pc3, Qt::ControlModifier); }},
        {"shift+click", [this] { Click(pc3, Qt::ShiftModifier); }},
        {"a marked node removed", [this] { model.DeleteSubtree(pc3); }},
        {"drop", [this] { tree.DropOn(pc1, beta); }},
        {"keyboard", [this] { QTest::keyClick(&tree, Qt::Key_Up); }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        marks.clear();
        change();
        EXPECT_GE(marks.count(), 1);
    }
}

TEST_F(TreeSelectionTest, KeyboardMovesSelectTheNewCaretAlone) {
    Click(pc1);
    Click(pc3, Qt::ControlModifier);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(tree.CaretNode(), pc2);
    EXPECT_EQ(Marked(), Nodes{pc2});
}

TEST_F(TreeSelectionTest, RightClickOnAnUnmarkedLabelSelectsItForItsMenu) {
    QSignalSpy menus(&tree, &CColumnTreeCtrl::contextMenuWanted);
    Click(pc1);
    RightClickAt(LabelPoint(alpha));
    EXPECT_EQ(Marked(), Nodes{alpha});
    EXPECT_EQ(tree.CaretNode(), alpha);
    EXPECT_EQ(LastMenu(menus), menu::kSingleFolder);

    RightClickAt(LabelPoint(pc1));
    EXPECT_EQ(LastMenu(menus), menu::kSingleComputer);
    RightClickAt(LabelPoint(pc2));
    EXPECT_EQ(LastMenu(menus), menu::kSingleFailedComputer);
}

TEST_F(TreeSelectionTest, RightClickOnAMarkedItemKeepsTheMultiSelection) {
    QSignalSpy menus(&tree, &CColumnTreeCtrl::contextMenuWanted);
    Click(pc1);
    Click(pc2, Qt::ControlModifier);
    RightClickAt(LabelPoint(pc2));
    EXPECT_EQ(Marked(), (Nodes{pc1, pc2}));
    EXPECT_EQ(LastMenu(menus), menu::kSeveralComputers);

    Click(alpha);
    Click(beta, Qt::ControlModifier);
    RightClickAt(LabelPoint(beta));
    EXPECT_EQ(LastMenu(menus), menu::kSeveralFolders);

    // Folders and computers mixed: no menu.
    const qsizetype before = menus.count();
    Click(pc3, Qt::ControlModifier);
    RightClickAt(LabelPoint(pc3));
    EXPECT_EQ(menus.count(), before);
}

TEST_F(TreeSelectionTest, RightClickBesideAnUnmarkedItemWhileTwoAreMarkedUsesTheirMenu) {
    QSignalSpy menus(&tree, &CColumnTreeCtrl::contextMenuWanted);
    Click(pc1);
    Click(pc2, Qt::ControlModifier);
    RightClickAt(RowEndPoint(pc3));
    EXPECT_EQ(LastMenu(menus), menu::kSeveralComputers);
    EXPECT_EQ(tree.CaretNode(), pc3);
    EXPECT_EQ(Marked(), (Nodes{pc1, pc2}));
}

TEST_F(TreeSelectionTest, RightClickWithNothingMarkedShowsNoMenu) {
    QSignalSpy menus(&tree, &CColumnTreeCtrl::contextMenuWanted);
    RightClickAt(RowEndPoint(pc1));
    EXPECT_TRUE(menus.isEmpty());
    // The item under the mouse became the selected caret for the next time.
    EXPECT_EQ(Marked(), Nodes{pc1});
    EXPECT_EQ(tree.CaretNode(), pc1);
}

TEST_F(TreeSelectionTest, KeyboardMenuOfOneComputerIsTheShortOneAtTheItemsCentre) {
    // The menu key, and Shift+F10 as its stand-in.
    const std::function<void()> keys[] = {[this] { KeyboardMenu(); },
                                          [this] { QTest::keyClick(&tree, Qt::Key_F10, Qt::ShiftModifier); }};
    for (const auto& openMenu : keys) {
        QSignalSpy menus(&tree, &CColumnTreeCtrl::contextMenuWanted);
        Click(pc1);
        openMenu();
        ASSERT_EQ(menus.count(), 1);
        EXPECT_EQ(menus.at(0).at(0).toInt(), menu::kSingleFailedComputer);
        const QPoint centre = tree.viewport()->mapToGlobal(tree.visualRect(model.IndexOf(pc1)).center());
        EXPECT_EQ(menus.at(0).at(1).toPoint(), centre);
    }
}

TEST_F(TreeSelectionTest, DoubleClickTogglesOnlyOnTheLabelText) {
    const QModelIndex index = model.IndexOf(alpha);
    ASSERT_TRUE(tree.isExpanded(index));
    const QRect cell = tree.visualRect(index);
    // Far right in the name column: the rest of the label only focuses.
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 180, cell.center().y()));
    EXPECT_TRUE(tree.isExpanded(index));
    QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, LabelPoint(alpha));
    EXPECT_FALSE(tree.isExpanded(index));
    EXPECT_FALSE(model.IsExpanded(alpha));
}

TEST_F(TreeSelectionTest, DropMovesTheSelectionListIntoTheTarget) {
    Click(a1);
    Click(a2, Qt::ControlModifier);
    QSignalSpy carets(&tree, &CColumnTreeCtrl::caretChanged);
    tree.DropOn(a1, beta);
    ASSERT_EQ(model.ChildrenOf(beta).size(), 2u);
    EXPECT_EQ(model.ChildrenOf(beta)[0]->Name, "a1");
    EXPECT_EQ(model.ChildrenOf(alpha).size(), 1u);
    EXPECT_TRUE(model.IsExpanded(beta));
    // The moved items stay selected in their new place and the caret goes
    // with the dragged one, without stopping at a neighbour on the way.
    const Nodes moved(model.ChildrenOf(beta).begin(), model.ChildrenOf(beta).end());
    EXPECT_EQ(Marked(), moved);
    EXPECT_EQ(tree.Marks().SelectionList(), moved);
    EXPECT_EQ(tree.CaretNode(), moved.front());
    ASSERT_EQ(carets.count(), 1);
    EXPECT_EQ(carets.front().at(0).value<InventoryNode*>(), moved.front());
}

// A refused drop keeps the selection: the marked items can be dragged on.
TEST_F(TreeSelectionTest, ARefusedDropKeepsTheSelectionForTheNextDrop) {
    Click(a1);
    Click(a2, Qt::ControlModifier);
    Click(a3, Qt::ControlModifier);
    // Onto a computer, onto the dragged item's own parent.
    for (InventoryNode* refusing : std::vector<InventoryNode*>{pc1, alpha}) {
        tree.DropOn(a1, refusing);
        EXPECT_EQ(model.ChildrenOf(alpha).size(), 3u);
        EXPECT_EQ(Marked(), (Nodes{a1, a2, a3}));
        EXPECT_EQ(tree.Marks().SelectionList(), (Nodes{a1, a2, a3}));
    }
    tree.DropOn(a1, beta);
    EXPECT_TRUE(model.ChildrenOf(alpha).empty());
    ASSERT_EQ(model.ChildrenOf(beta).size(), 3u);
    EXPECT_EQ(Marked(), Nodes(model.ChildrenOf(beta).begin(), model.ChildrenOf(beta).end()));
}

TEST_F(TreeSelectionTest, RemovedNodesLeaveTheSelection) {
    Click(alpha);
    Click(pc1, Qt::ControlModifier);
    model.DeleteSubtree(alpha);
    EXPECT_EQ(Marked(), Nodes{pc1});
    EXPECT_EQ(tree.Marks().SelectionList(), Nodes{pc1});
}

TEST_F(TreeSelectionTest, ColumnsAreNamedAndTheProductColumnKeepsItsWidth) {
    QHeaderView* header = tree.header();
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Computer Name"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Installed Remote Access Products"));
    EXPECT_EQ(header->sectionSize(0), 200);
    // At least as wide as its title needs: it is not cut.
    const int products = header->sectionSize(1);
    EXPECT_GE(products, 200);
    EXPECT_GE(products, header->fontMetrics().horizontalAdvance(QStringLiteral("Installed Remote Access Products")));
    header->resizeSection(0, 320);
    EXPECT_EQ(header->sectionSize(1), products);
    // Wider than the view: the columns scroll sideways.
    EXPECT_TRUE(QTest::qWaitFor([&] { return tree.horizontalScrollBar()->maximum() > 0; }, 2000));
    EXPECT_EQ(tree.horizontalScrollBar()->singleStep(), 15);
}

TEST_F(TreeSelectionTest, ComputersShowTheirReportAsToolTipFoldersNone) {
    QHelpEvent overComputer(QEvent::ToolTip, LabelPoint(pc2), tree.viewport()->mapToGlobal(LabelPoint(pc2)));
    QApplication::sendEvent(tree.viewport(), &overComputer);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("<b>pc2</b>")));
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("Access is denied.")));

    QHelpEvent overFolder(QEvent::ToolTip, LabelPoint(alpha), tree.viewport()->mapToGlobal(LabelPoint(alpha)));
    QApplication::sendEvent(tree.viewport(), &overFolder);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST(ComputerReportTipTest, LongLinesWrapAtWordsWithinTheWidth) {
    const QFontMetrics metrics(QApplication::font());
    const QString line = QStringLiteral(
        "The remote procedure call failed and did not execute because the "
        "server was too busy to complete this operation");
    const QStringList lines = WrapToWidth(line, metrics, 300);
    EXPECT_GT(lines.size(), 1);
    for (const QString& part : lines)
        EXPECT_LE(metrics.horizontalAdvance(part), 300) << part.toStdString();
    EXPECT_EQ(lines.join(QLatin1Char(' ')), line);
    // A word wider than the limit stays whole.
    const QString word(200, QLatin1Char('w'));
    EXPECT_EQ(WrapToWidth(word, metrics, 300), QStringList{word});
}

}  // namespace
}  // namespace vn::test

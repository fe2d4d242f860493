#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <thread>

#include "app/CColumnTreeCtrl.h"
#include "app/CMainTreeView.h"
#include "discovery/ui/CTreeStatus.h"
#include "inventory/InventoryModel.h"

namespace vn::test {
namespace {

TEST(CTreeStatusTest, ChildrenKeepTheirOffsetsFromThePanelEdges) {
    CTreeStatus panel;
    panel.show();
    for (const QSize size : {QSize(400, 70), QSize(250, 70)}) {
        panel.resize(size);
        const int w = size.width();
        EXPECT_EQ(panel.TextLabel()->geometry(), QRect(4, 4, w - 8, 40));
        EXPECT_EQ(panel.CancelButton()->geometry(), QRect(w - 74, 46, 70, 20));
        EXPECT_EQ(panel.ProgressBar()->geometry(), QRect(4, 46, w - 80, 20));
    }
    EXPECT_EQ(panel.CancelButton()->text(), QStringLiteral("Cancel"));
}

TEST(CTreeStatusTest, RangeKeepsOnlyItsLowSixteenBitsAndPositionsStayInside) {
    CTreeStatus panel;
    panel.SetRange(70000);
    EXPECT_EQ(panel.RangeMaximum(), 4464);
    EXPECT_EQ(panel.ProgressBar()->maximum(), 4464);

    panel.SetPos(5000);
    EXPECT_EQ(panel.Pos(), 4464);
    panel.SetRange(10);
    panel.SetPos(9);
    panel.Step();
    EXPECT_EQ(panel.ProgressBar()->value(), 10);
    panel.Step();
    EXPECT_EQ(panel.ProgressBar()->value(), 10);

    // A range of 0 draws an empty bar, not Qt's busy indicator.
    panel.SetRange(65536);
    EXPECT_EQ(panel.RangeMaximum(), 0);
    EXPECT_EQ(panel.ProgressBar()->value(), 0);
    EXPECT_GT(panel.ProgressBar()->maximum(), 0);
}

TEST(CTreeStatusTest, CancelAcknowledgesAndAsksForTheStopAndStaysUsable) {
    CTreeStatus panel;
    QSignalSpy stops(&panel, &CTreeStatus::stopScansRequested);
    panel.SetText(QStringLiteral("Scanning pc1"));
    QTest::mouseClick(panel.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(stops.count(), 1);
    EXPECT_EQ(panel.Text(), QStringLiteral("Cancel request acknowledged. Please wait while Vantor Netwarden "
                                           "finishes scanning the current resource..."));
    EXPECT_TRUE(panel.CancelButton()->isEnabled());
    QTest::mouseClick(panel.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(stops.count(), 2);
}

class TreeViewStatusTest : public testing::Test {
protected:
    TreeViewStatusTest() {
        view.resize(300, 400);
        view.show();
    }
    InventoryModel model;
    CMainTreeView view{model};
};

TEST_F(TreeViewStatusTest, ShownPanelTakesTheBottomSeventyPixels) {
    StatusSink& status = view.Status();
    EXPECT_FALSE(status.IsShown());
    EXPECT_FALSE(view.StatusPanel().isVisible());
    EXPECT_EQ(view.Tree().geometry(), QRect(0, 0, 300, 400));

    status.Show(true);
    EXPECT_TRUE(status.IsShown());
    EXPECT_TRUE(view.StatusPanel().isVisible());
    EXPECT_TRUE(view.StatusPanel().isEnabled());
    EXPECT_EQ(view.Tree().geometry(), QRect(0, 0, 300, 330));
    EXPECT_EQ(view.StatusPanel().geometry(), QRect(0, 330, 300, 70));

    view.resize(200, 300);
    EXPECT_EQ(view.StatusPanel().geometry(), QRect(0, 230, 200, 70));
    EXPECT_EQ(view.StatusPanel().CancelButton()->geometry(), QRect(126, 46, 70, 20));

    status.Show(false);
    EXPECT_FALSE(view.StatusPanel().isVisible());
    EXPECT_FALSE(view.StatusPanel().isEnabled());
    EXPECT_EQ(view.Tree().geometry(), QRect(0, 0, 200, 300));

    // A failure's text stays in sight, with nothing left to cancel.
    status.ShowIdle();
    EXPECT_TRUE(view.StatusPanel().isVisible());
    EXPECT_TRUE(view.StatusPanel().TextLabel()->isEnabled()) << "readable, not greyed";
    EXPECT_FALSE(view.StatusPanel().CancelButton()->isEnabled());
    EXPECT_EQ(view.Tree().geometry(), QRect(0, 0, 200, 230));
    status.Show(true);
    EXPECT_TRUE(view.StatusPanel().CancelButton()->isEnabled());
}

TEST_F(TreeViewStatusTest, TextAndProgressKeepTheirValuesWhileHiddenUntilReset) {
    StatusSink& status = view.Status();
    status.SetText("Scanning %s (%d of %d)", std::string("pc1"), 1, 3);
    status.SetRange(3);
    status.Step();
    status.Show(false);
    EXPECT_EQ(view.StatusPanel().Text(), QStringLiteral("Scanning pc1 (1 of 3)"));
    EXPECT_EQ(view.StatusPanel().Pos(), 1);
    status.Reset();
    EXPECT_EQ(view.StatusPanel().Text(), QString());
    EXPECT_EQ(view.StatusPanel().Pos(), 0);
}

TEST_F(TreeViewStatusTest, LongTextIsSetWhole) {
    const std::string longText(2000, 'x');
    view.Status().SetText("%s", longText);
    EXPECT_EQ(view.StatusPanel().Text().size(), 2000);
}

TEST_F(TreeViewStatusTest, WorkersReportThroughTheUserInterfaceThread) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        StatusSink& status = view.WorkerStatusSink();
        status.Show(true);
        status.SetRange(4);
        status.SetPos(2);
        status.SetText("Resolving %s", std::string("pc7"));
        done = true;
    });
    // The worker waits on each call until this thread has carried it out.
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(view.Status().IsShown());
    EXPECT_EQ(view.StatusPanel().Text(), QStringLiteral("Resolving pc7"));
    EXPECT_EQ(view.StatusPanel().Pos(), 2);
}

TEST_F(TreeViewStatusTest, WorkerResultsEnterTheTreeOnTheUserInterfaceThread) {
    auto* folder = static_cast<FolderNode*>(model.InsertNode(nullptr, std::make_unique<FolderNode>("Lab"), false));
    InventoryNode* added = nullptr;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        added = view.WorkerTreeSink().AddNode(std::make_unique<ComputerRecord>("pc1"), folder);
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    worker.join();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(model.ParentOf(added), folder);
    // Inserted with make-visible: the folder opened.
    EXPECT_TRUE(view.Tree().isExpanded(model.IndexOf(folder)));
}

}  // namespace
}  // namespace vn::test

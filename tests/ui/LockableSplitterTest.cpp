#include "ui/LockableSplitter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSplitterHandle>

namespace vn {
namespace {

class LockableSplitterTest : public testing::Test {
protected:
    void SetUp() override {
        splitter_.addWidget(new QWidget);
        splitter_.addWidget(new QWidget);
        splitter_.resize(401, 100);
        splitter_.show();
        splitter_.setSizes({200, 200});
        QApplication::processEvents();
    }

    // Drags the bar between the two panes by dx pixels with the left button.
    void DragBar(int dx) {
        QSplitterHandle* bar = splitter_.handle(1);
        const QPointF start = QPointF(bar->rect().center());
        const QPointF end = start + QPointF(dx, 0);
        SendMouse(bar, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
        SendMouse(bar, QEvent::MouseMove, end, Qt::NoButton, Qt::LeftButton);
        SendMouse(bar, QEvent::MouseButtonRelease, end, Qt::LeftButton, Qt::NoButton);
    }

    static void SendMouse(QWidget* target, QEvent::Type type, QPointF at, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    // Qt widens the grab area of thin bars by a margin, so where the press
    // lands decides the result to within that margin.
    void ExpectFirstPane(int width) {
        const QList<int> sizes = splitter_.sizes();
        ASSERT_EQ(sizes.size(), 2);
        EXPECT_NEAR(sizes[0], width, 2);
        EXPECT_EQ(sizes[0] + sizes[1], 400);
    }

    LockableSplitter splitter_{Qt::Horizontal};
};

TEST_F(LockableSplitterTest, BarsAreOnePixelWide) {
    EXPECT_EQ(splitter_.handleWidth(), 1);
    EXPECT_EQ(splitter_.sizes(), (QList<int>{200, 200}));
}

TEST_F(LockableSplitterTest, UnlockedBarDragsLikeAnyOther) {
    EXPECT_FALSE(splitter_.IsLocked());
    DragBar(50);
    ExpectFirstPane(250);
}

TEST_F(LockableSplitterTest, LockedBarIgnoresTheMouse) {
    splitter_.SetLocked(true);
    DragBar(50);
    EXPECT_EQ(splitter_.sizes(), (QList<int>{200, 200}));
    DragBar(-80);
    EXPECT_EQ(splitter_.sizes(), (QList<int>{200, 200}));

    // Unlocked again, dragging works again.
    splitter_.SetLocked(false);
    DragBar(-80);
    ExpectFirstPane(120);
}

TEST_F(LockableSplitterTest, LockedSizesCanStillBeSetByTheProgram) {
    splitter_.SetLocked(true);
    splitter_.setSizes({300, 100});
    EXPECT_EQ(splitter_.sizes(), (QList<int>{300, 100}));
}

TEST_F(LockableSplitterTest, ResizeCursorOnlyWhileUnlocked) {
    QSplitterHandle* bar = splitter_.handle(1);
    EXPECT_EQ(bar->cursor().shape(), Qt::SplitHCursor);
    splitter_.SetLocked(true);
    EXPECT_EQ(bar->cursor().shape(), Qt::ArrowCursor);
    splitter_.SetLocked(false);
    EXPECT_EQ(bar->cursor().shape(), Qt::SplitHCursor);
}

TEST(LockableSplitterVerticalTest, PanesAddedWhileLockedGetInertBars) {
    LockableSplitter splitter(Qt::Vertical);
    splitter.SetLocked(true);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    splitter.addWidget(new QWidget);
    EXPECT_EQ(splitter.handle(1)->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(splitter.handle(2)->cursor().shape(), Qt::ArrowCursor);
    splitter.SetLocked(false);
    EXPECT_EQ(splitter.handle(2)->cursor().shape(), Qt::SplitVCursor);
}

}  // namespace
}  // namespace vn

#include "ui/LockableSplitter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QMouseEvent>
#include <QSplitterHandle>
#include <QStyle>

namespace vn {
namespace {

class LockableSplitterTest : public testing::Test {
protected:
    void SetUp() override {
        splitter_.addWidget(new QWidget);
        splitter_.addWidget(new QWidget);
        splitter_.resize(400 + splitter_.handleWidth(), 100);
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

// The bars are the style's usual ones; the 1-pixel border is the panes'.
TEST_F(LockableSplitterTest, PanesHaveASunkenOnePixelBorderBetweenOrdinaryBars) {
    EXPECT_EQ(splitter_.handleWidth(), splitter_.style()->pixelMetric(QStyle::PM_SplitterWidth, nullptr, &splitter_));

    LockableSplitter framed(Qt::Vertical);
    auto* content = new QWidget;
    content->setAutoFillBackground(true);
    QFrame* border = framed.AddPane(content);
    framed.resize(100, 60);
    framed.show();
    QApplication::processEvents();
    EXPECT_EQ(content->geometry(), border->rect().adjusted(1, 1, -1, -1));
    const QImage picture = border->grab().toImage();
    const QPalette& colours = border->palette();
    const QRgb shadow = colours.color(QPalette::Dark).rgb();
    const QRgb highlight = colours.color(QPalette::Light).rgb();
    const int right = picture.width() - 1;
    const int bottom = picture.height() - 1;
    for (const QPoint& top : {QPoint(1, 0), QPoint(right / 2, 0)})
        EXPECT_EQ(picture.pixel(top), shadow);
    EXPECT_EQ(picture.pixel(0, bottom / 2), shadow);
    EXPECT_EQ(picture.pixel(right, bottom / 2), highlight);
    EXPECT_EQ(picture.pixel(right / 2, bottom), highlight);
    EXPECT_NE(picture.pixel(1, 1), shadow);  // one pixel only
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

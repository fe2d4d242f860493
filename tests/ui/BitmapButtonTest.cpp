#include "ui/BitmapButton.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "pictures/PictureIds.h"
#include "pictures/PngImage.h"

namespace vn {
namespace {

TEST(BitmapButtonTest, ShowsItsPictureBesideItsCaption) {
    BitmapButton button(picture::kToolRescan, "Rescan");
    EXPECT_EQ(button.text(), "Rescan");
    EXPECT_EQ(button.Picture(), picture::kToolRescan);
    EXPECT_EQ(button.iconSize(), QSize(16, 16));
    EXPECT_EQ(button.toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_TRUE(button.autoRaise());
    const QImage shown = button.icon().pixmap(QSize(16, 16)).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), LoadPngResource(picture::kToolRescan));
}

TEST(BitmapButtonTest, ClickSendsItsCommandOnce) {
    BitmapButton button(picture::kToolInstall, "Install");
    button.SetCommandId(173);
    button.show();
    QSignalSpy commands(&button, &BitmapButton::commandTriggered);
    QTest::mouseClick(&button, Qt::LeftButton);
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 173);

    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(commands.count(), 1);
}

TEST(BitmapButtonTest, PictureCanChangeAndMayBeMissing) {
    BitmapButton button(4711, "");
    EXPECT_TRUE(button.icon().isNull());
    EXPECT_EQ(button.toolButtonStyle(), Qt::ToolButtonIconOnly);
    button.SetPicture(picture::kWorkstation);
    EXPECT_EQ(button.iconSize(), QSize(32, 32));
    EXPECT_FALSE(button.icon().isNull());
}

}  // namespace
}  // namespace vn

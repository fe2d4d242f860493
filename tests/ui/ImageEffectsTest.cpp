#include "pictures/ImageEffects.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

QImage TwoPixels() {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(200, 30, 40, 255));
    image.setPixel(1, 0, qRgba(0, 0, 0, 0));
    return image;
}

TEST(ImageEffectsTest, DisabledIsGreyAndHalfTransparent) {
    const QImage disabled = DisabledImage(TwoPixels()).convertToFormat(QImage::Format_ARGB32);
    const QRgb pixel = disabled.pixel(0, 0);
    EXPECT_NEAR(qRed(pixel), qGreen(pixel), 1);
    EXPECT_NEAR(qGreen(pixel), qBlue(pixel), 1);
    EXPECT_NEAR(qAlpha(pixel), 127, 1);
    EXPECT_EQ(qAlpha(disabled.pixel(1, 0)), 0);  // transparent stays transparent
}

TEST(ImageEffectsTest, HoverLightensAndKeepsTransparency) {
    const QImage hover = HoverImage(TwoPixels()).convertToFormat(QImage::Format_ARGB32);
    const QRgb pixel = hover.pixel(0, 0);
    EXPECT_EQ(qAlpha(pixel), 255);
    EXPECT_GT(qRed(pixel), 200);
    EXPECT_GT(qGreen(pixel), 30);
    EXPECT_GT(qBlue(pixel), 40);
    EXPECT_EQ(qAlpha(hover.pixel(1, 0)), 0);
}

}  // namespace
}  // namespace vn

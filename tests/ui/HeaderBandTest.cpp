#include "ui/HeaderBand.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QPainter>

namespace vn {
namespace {

QImage PaintBand(HeaderBand::Edge edges, const QPalette& palette) {
    QImage image(40, 55, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    HeaderBand::Paint(painter, image.rect(), edges, palette);
    return image;
}

TEST(HeaderBandTest, WhiteWithSunkenLinesOnTheChosenEdges) {
    QPalette palette;
    palette.setColor(QPalette::Dark, QColor(128, 128, 128));
    palette.setColor(QPalette::Light, QColor(250, 250, 250));
    const QRgb white = qRgb(255, 255, 255);

    const QImage both = PaintBand(HeaderBand::BothEdges, palette);
    EXPECT_EQ(both.pixel(20, 0), qRgb(128, 128, 128));
    EXPECT_EQ(both.pixel(20, 1), qRgb(250, 250, 250));
    EXPECT_EQ(both.pixel(20, 27), white);
    EXPECT_EQ(both.pixel(20, 53), qRgb(128, 128, 128));
    EXPECT_EQ(both.pixel(20, 54), qRgb(250, 250, 250));

    const QImage bottom = PaintBand(HeaderBand::BottomEdge, palette);
    EXPECT_EQ(bottom.pixel(0, 0), white);
    EXPECT_EQ(bottom.pixel(39, 53), qRgb(128, 128, 128));

    const QImage none = PaintBand(HeaderBand::NoEdge, palette);
    EXPECT_EQ(none.pixel(0, 54), white);
}

TEST(HeaderBandTest, TitleFontIsTenPixelsTallerAndBold) {
    QFont dialogFont;
    dialogFont.setPixelSize(11);
    const QFont title = HeaderBand::TitleFont(dialogFont);
    EXPECT_EQ(title.pixelSize(), 21);
    EXPECT_TRUE(title.bold());
    EXPECT_EQ(title.family(), dialogFont.family());
}

}  // namespace
}  // namespace vn

#include "pictures/ResourceIcon.h"

#include <gtest/gtest.h>

#include "pictures/ImageIconEngine.h"
#include "pictures/PictureIds.h"
#include "pictures/PngImage.h"

namespace vn {
namespace {

// These tests run without an application object on purpose: the product
// catalogue makes its icons before any window exists.

TEST(ResourceIconTest, IconHoldsEverySizeDrawnForTheNumber) {
    const QIcon icon = ResourceIcon(picture::kProductVantor);
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes, (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
    // (QIcon::actualSize itself needs the application object; the engine does not.)
    ImageIconEngine engine({LoadPngResource(picture::kProductVantor), LoadPngResource(picture::kProductVantor, 16)});
    EXPECT_EQ(engine.actualSize(QSize(16, 16), QIcon::Normal, QIcon::Off), QSize(16, 16));
    EXPECT_EQ(engine.actualSize(QSize(24, 24), QIcon::Normal, QIcon::Off), QSize(24, 24));
    EXPECT_EQ(engine.actualSize(QSize(64, 64), QIcon::Normal, QIcon::Off), QSize(32, 32));
    EXPECT_EQ(engine.actualSize(QSize(64, 16), QIcon::Normal, QIcon::Off), QSize(16, 16));
}

TEST(ResourceIconTest, UnknownNumberGivesNullIcon) {
    EXPECT_TRUE(ResourceIcon(4711).isNull());
    EXPECT_TRUE(ResourceImageStrip(4711, 16).empty());
    EXPECT_TRUE(ResourceIconStrip(4711, 16).empty());
}

TEST(ResourceIconTest, EngineDrawsTheVersionMadeForTheSize) {
    const QImage small = LoadPngResource(picture::kProductKestrel, 16);
    const QImage large = LoadPngResource(picture::kProductKestrel);
    ImageIconEngine engine({large, small, QImage()});
    EXPECT_EQ(engine.ImageFor(QSize(16, 16), QIcon::Normal), small);
    EXPECT_EQ(engine.ImageFor(QSize(32, 32), QIcon::Normal), large);
    EXPECT_EQ(engine.ImageFor(QSize(20, 20), QIcon::Normal).size(), QSize(20, 20));
    EXPECT_TRUE(engine.ImageFor(QSize(0, 0), QIcon::Normal).isNull());
    EXPECT_NE(engine.ImageFor(QSize(16, 16), QIcon::Disabled), small);
    EXPECT_NE(engine.ImageFor(QSize(16, 16), QIcon::Active), small);
    EXPECT_EQ(engine.ImageFor(QSize(16, 16), QIcon::Selected), small);

    ImageIconEngine empty({QImage()});
    EXPECT_TRUE(empty.isNull());
    EXPECT_TRUE(empty.ImageFor(QSize(16, 16), QIcon::Normal).isNull());
}

TEST(ResourceIconTest, NodeImageStripCutsIntoFiveDistinctCells) {
    const std::vector<QImage> cells = ResourceImageStrip(picture::kNodeImages, picture::kNodeImageWidth);
    ASSERT_EQ(cells.size(), 5u);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        EXPECT_EQ(cells[i].size(), QSize(16, 16));
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(cells[i], cells[j]) << i << " equals " << j;
    }
    const QImage strip = LoadPngResource(picture::kNodeImages);
    EXPECT_EQ(cells[2], strip.copy(32, 0, 16, 16));
    EXPECT_EQ(ResourceIconStrip(picture::kNodeImages, picture::kNodeImageWidth).size(), 5u);
}

TEST(ResourceIconTest, CheckBoxStripsHaveTheirCells) {
    const auto rows = ResourceImageStrip(picture::kListCheckBoxes, picture::kListCheckBoxWidth);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].size(), QSize(24, 15));
    // Cell 0 is blank: every pixel transparent.
    bool blank = true;
    for (int y = 0; y < rows[0].height(); ++y)
        for (int x = 0; x < rows[0].width(); ++x)
            blank = blank && qAlpha(rows[0].pixel(x, y)) == 0;
    EXPECT_TRUE(blank);
    EXPECT_NE(rows[1], rows[2]);

    const auto header = ResourceImageStrip(picture::kHeaderCheckBoxes, picture::kHeaderCheckBoxWidth);
    ASSERT_EQ(header.size(), 2u);
    EXPECT_EQ(header[1].size(), QSize(11, 11));
}

TEST(ResourceIconTest, StripIgnoresNarrowRemainderAndBadWidths) {
    EXPECT_EQ(ResourceImageStrip(picture::kNodeImages, 30).size(), 2u);  // 80 = 2 x 30 + 20
    EXPECT_TRUE(ResourceImageStrip(picture::kNodeImages, 0).empty());
    EXPECT_TRUE(ResourceImageStrip(picture::kNodeImages, -16).empty());
    EXPECT_TRUE(ResourceImageStrip(picture::kNodeImages, 81).empty());
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/HexBitmap.h"
#include "catalogue/ProductIcon.h"

namespace vn {
namespace {

struct BmpLayout {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB
    std::vector<std::uint8_t> pixels;    // rows bottom-up, padded
};

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0);
}

std::string ToHex(const std::vector<std::uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

std::string BmpHex(const BmpLayout& layout) {
    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, 0, 4);  // the file header's pixel offset, deliberately wrong: it is not used
    Put(b, 40, 4);
    Put(b, static_cast<std::uint32_t>(layout.width), 4);
    Put(b, static_cast<std::uint32_t>(layout.height), 4);
    Put(b, 1, 2);
    Put(b, layout.bitCount, 2);
    Put(b, layout.compression, 4);
    Put(b, 0, 4 * 3);
    Put(b, layout.clrUsed, 4);
    Put(b, 0, 4);
    for (std::uint32_t rgb : layout.palette)
        Put(b, rgb, 4);
    b.insert(b.end(), layout.pixels.begin(), layout.pixels.end());
    return ToHex(b);
}

// A 2x2 24-bit image: bottom row red, white; top row blue, black.
BmpLayout TwoByTwo() {
    BmpLayout layout;
    layout.pixels = {0,   0, 255, 255, 255, 255, 0, 0,   // bottom row + 2 padding bytes
                     255, 0, 0,   0,   0,   0,   0, 0};  // top row + padding
    return layout;
}

TEST(HexBitmapTest, DecodesBottomUpTrueColourAndPaletteImages) {
    QImage image = DecodeHexBitmap(BmpHex(TwoByTwo()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(2, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));

    // Upper-case digits and a trailing odd digit are accepted.
    std::string hex = BmpHex(TwoByTwo());
    for (char& c : hex)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_FALSE(DecodeHexBitmap(hex + "F").isNull());

    // 1 bit per pixel with a stated two-entry palette: pixel data after it.
    BmpLayout mono;
    mono.width = 3;
    mono.height = 1;
    mono.bitCount = 1;
    mono.clrUsed = 2;
    mono.palette = {0x000000, 0xFFFFFF};
    mono.pixels = {0b10100000, 0, 0, 0};
    QImage monoImage = DecodeHexBitmap(BmpHex(mono));
    ASSERT_FALSE(monoImage.isNull());
    EXPECT_EQ(monoImage.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(monoImage.pixel(1, 0), qRgb(0, 0, 0));
    EXPECT_EQ(monoImage.pixel(2, 0), qRgb(255, 255, 255));
}

TEST(HexBitmapTest, HostileOrShortDataGivesNoImage) {
    const std::string good = BmpHex(TwoByTwo());
    EXPECT_TRUE(DecodeHexBitmap("").isNull());
    EXPECT_TRUE(DecodeHexBitmap(good.substr(0, 106)).isNull());              // headers cut short
    EXPECT_TRUE(DecodeHexBitmap(good.substr(0, good.size() - 2)).isNull());  // last pixel byte missing
    EXPECT_TRUE(DecodeHexBitmap("zz" + good.substr(2)).isNull());            // not hexadecimal

    auto broken = [](auto change) {
        BmpLayout layout = TwoByTwo();
        change(layout);
        return DecodeHexBitmap(BmpHex(layout)).isNull();
    };
    EXPECT_TRUE(broken([](BmpLayout& s) { s.height = -2; }));
    EXPECT_TRUE(broken([](BmpLayout& s) { s.width = 0; }));
    EXPECT_TRUE(broken([](BmpLayout& s) {
        s.width = 0x7FFFFFFF;
        s.height = 0x7FFFFFFF;
    }));
    EXPECT_TRUE(broken([](BmpLayout& s) { s.width = kMaxHexBitmapSide + 1; }));
    EXPECT_TRUE(broken([](BmpLayout& s) { s.bitCount = 7; }));
    EXPECT_TRUE(broken([](BmpLayout& s) { s.compression = 1; }));
    // A colour table larger than the data moves the pixels beyond its end.
    EXPECT_TRUE(broken([](BmpLayout& s) { s.clrUsed = 0xFFFFFFFF; }));
    // A palette image without a stated palette size reads its pixels from
    // right after the header, where its (missing) palette would stand.
    EXPECT_TRUE(broken([](BmpLayout& s) {
        s.bitCount = 8;
        s.pixels.resize(8);
    }));
}

TEST(HexBitmapTest, MaskWhiteMakesTheIconTransparent) {
    QImage colour(2, 1, QImage::Format_RGB32);
    colour.setPixel(0, 0, qRgb(10, 20, 30));
    colour.setPixel(1, 0, qRgb(40, 50, 60));
    QImage mask(2, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, qRgb(255, 255, 255));
    mask.setPixel(1, 0, qRgb(0, 0, 0));
    QImage icon = ComposeProductIconImage(colour, mask);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(icon.pixel(1, 0), qRgba(40, 50, 60, 255));
    EXPECT_FALSE(MakeProductIcon(colour, mask).isNull());
    EXPECT_TRUE(MakeProductIcon(QImage(), mask).isNull());
}

}  // namespace
}  // namespace vn

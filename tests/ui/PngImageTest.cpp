#include "pictures/PngImage.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <set>
#include <utility>
#include <vector>

#include "pictures/PictureIds.h"
#include "pictures/PngResourceTable.h"

namespace vn {
namespace {

struct ExpectedPicture {
    int id;
    int smallSize;
    int width;
    int height;
};

// Every picture the windows ask for, at the size they draw it.
const ExpectedPicture
    kExpected[] =
        {
            {128, 0, 32, 32}, {128, 16, 16, 16}, {185, 0, 32, 32}, {185, 16, 16, 16},
            {131, 0, 80, 16},  // five 16 x 16 node images
            {189, 0, 32, 32}, {189, 16, 16, 16}, {191, 0, 32, 32}, {191, 16, 16, 16},
            {163, 0, 32, 32}, {222, 0, 32, 32},  {223, 0, 32, 32}, {224, 0, 32, 32},
            {207, 0, 16, 16}, {226, 0, 16, 16},  {175, 0, 16, 16}, {173, 0, 16, 16},
            {208, 0, 16, 16}, {271, 0, 16, 16},  {272, 0, 16, 16}, {151, 0, 16, 16},
            {152, 0, 16, 16}, {153, 0, 16, 16},  {200, 0, 16, 16}, {154, 0, 16, 16},
            {155, 0, 16, 16}, {156, 0, 16, 16},  {158, 0, 16, 16}, {910, 0, 72, 15},
            {911, 0, 22, 11}, {920, 0, 32, 32},  {921, 0, 32, 32},
};

std::vector<unsigned char> ResourceBytes(int id) {
    for (const PngResource& resource : PngResources()) {
        if (resource.Id == id && resource.SmallSize == 0) {
            return {resource.Data.begin(), resource.Data.end()};
        }
    }
    return {};
}

void PutBigEndian32(std::vector<unsigned char>& bytes, std::size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// Rewrites the CRC of the chunk at offset (its length field) so only the
// content is wrong, not the checksum.
void FixChunkCrc(std::vector<unsigned char>& bytes, std::size_t chunk) {
    const uint32_t length = (uint32_t{bytes[chunk]} << 24) | (uint32_t{bytes[chunk + 1]} << 16) |
                            (uint32_t{bytes[chunk + 2]} << 8) | bytes[chunk + 3];
    const uLong crc = crc32(0L, bytes.data() + chunk + 4, length + 4);
    PutBigEndian32(bytes, chunk + 8 + length, static_cast<uint32_t>(crc));
}

std::size_t FindChunk(const std::vector<unsigned char>& bytes, const char* type) {
    std::size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const uint32_t length = (uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
                                (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
        if (std::equal(type, type + 4, bytes.begin() + static_cast<long>(at) + 4))
            return at;
        at += 12 + length;
    }
    return 0;
}

TEST(PngImageTest, EveryPictureDecodesAtItsSize) {
    for (const ExpectedPicture& expected : kExpected) {
        SCOPED_TRACE(testing::Message() << expected.id << " small " << expected.smallSize);
        const QImage image = LoadPngResource(expected.id, expected.smallSize);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), expected.width);
        EXPECT_EQ(image.height(), expected.height);
        EXPECT_TRUE(image.hasAlphaChannel());
    }
}

TEST(PngImageTest, TableHoldsOnlyTheExpectedPictures) {
    std::set<std::pair<int, int>> expected;
    for (const ExpectedPicture& picture : kExpected)
        expected.insert({picture.id, picture.smallSize});
    std::set<std::pair<int, int>> compiled;
    for (const PngResource& resource : PngResources()) {
        EXPECT_TRUE(compiled.insert({resource.Id, resource.SmallSize}).second)
            << "picture " << resource.Id << " compiled in twice";
    }
    EXPECT_EQ(compiled, expected);
}

TEST(PngImageTest, DecodedColoursArePremultipliedArgb) {
    // Pixel (8, 8) of the Vantor icon's small version lies on its white letter
    // or its blue tile: opaque either way.
    const QImage icon = LoadPngResource(picture::kProductVantor, 16);
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(qAlpha(icon.pixel(8, 8)), 255);
    // The corner lies outside the rounded tile.
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
}

TEST(PngImageTest, UnknownNumberGivesNullImage) {
    EXPECT_TRUE(LoadPngResource(4711).isNull());
    EXPECT_TRUE(LoadPngResource(picture::kFolder, 16).isNull());  // no small version
}

TEST(PngImageTest, BadDataGivesNullImageAndReason) {
    const std::vector<unsigned char> good = ResourceBytes(picture::kFolder);
    ASSERT_FALSE(good.empty());
    ASSERT_FALSE(DecodePng(good).isNull());

    std::string error;
    EXPECT_TRUE(DecodePng({}, &error).isNull());
    EXPECT_FALSE(error.empty());

    const std::vector<unsigned char> garbage(200, 0x5A);
    error.clear();
    EXPECT_TRUE(DecodePng(garbage, &error).isNull());
    EXPECT_FALSE(error.empty());

    // Only the signature and part of the header.
    error.clear();
    EXPECT_TRUE(DecodePng(std::span(good).first(20), &error).isNull());
    EXPECT_FALSE(error.empty());

    // Header intact, pixel data cut off half way.
    error.clear();
    EXPECT_TRUE(DecodePng(std::span(good).first(good.size() / 2), &error).isNull());
    EXPECT_FALSE(error.empty());
}

TEST(PngImageTest, DamagedChunksGiveNullImage) {
    const std::vector<unsigned char> good = ResourceBytes(picture::kFolder);
    const std::size_t idat = FindChunk(good, "IDAT");
    ASSERT_NE(idat, 0u);

    // A changed byte without a matching checksum.
    std::vector<unsigned char> badCrc = good;
    badCrc[idat + 8 + 10] ^= 0xFF;
    EXPECT_TRUE(DecodePng(badCrc).isNull());

    // A checksum that matches compressed data that does not inflate.
    std::vector<unsigned char> badStream = good;
    for (std::size_t i = idat + 8; i < idat + 8 + 12; ++i)
        badStream[i] = 0xFF;
    FixChunkCrc(badStream, idat);
    EXPECT_TRUE(DecodePng(badStream).isNull());
}

TEST(PngImageTest, ForgedHugeSizeIsRefusedBeforeAllocating) {
    std::vector<unsigned char> forged = ResourceBytes(picture::kFolder);
    const std::size_t ihdr = FindChunk(forged, "IHDR");
    ASSERT_EQ(ihdr, 8u);
    PutBigEndian32(forged, ihdr + 8, 100000);   // width
    PutBigEndian32(forged, ihdr + 12, 100000);  // height
    FixChunkCrc(forged, ihdr);
    std::string error;
    EXPECT_TRUE(DecodePng(forged, &error).isNull());
    EXPECT_EQ(error, "picture size out of range");

    // Just inside the limit the header passes and the too short pixel data fails.
    PutBigEndian32(forged, ihdr + 8, kMaxPngSide);
    PutBigEndian32(forged, ihdr + 12, 1);
    FixChunkCrc(forged, ihdr);
    error.clear();
    EXPECT_TRUE(DecodePng(forged, &error).isNull());
    EXPECT_FALSE(error.empty());
    EXPECT_NE(error, "picture size out of range");
}

}  // namespace
}  // namespace vn

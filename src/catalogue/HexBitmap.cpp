#include "catalogue/HexBitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/HexDigit.h"

namespace vn {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;
constexpr std::uint32_t BI_RGB = 0;

std::optional<std::vector<std::uint8_t>> HexToBytes(std::string_view hex) {
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexDigitValue(hex[2 * i]);
        const int low = HexDigitValue(hex[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

std::uint32_t ReadU32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
           std::uint32_t{b[at + 3]} << 24;
}

std::uint16_t ReadU16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct InfoHeader {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t clrUsed;
};

InfoHeader ReadInfoHeader(const std::vector<std::uint8_t>& b) {
    const std::size_t at = kFileHeaderSize;
    return InfoHeader{static_cast<std::int32_t>(ReadU32(b, at + 4)),
                      static_cast<std::int32_t>(ReadU32(b, at + 8)),
                      ReadU16(b, at + 12),
                      ReadU16(b, at + 14),
                      ReadU32(b, at + 16),
                      ReadU32(b, at + 32)};
}

// The colour table as the system reads it: biClrUsed entries, or for an
// image with a palette and biClrUsed 0 the full 2^bits entries, starting
// right after the info header. Null when the data ends first.
std::optional<std::vector<QRgb>> ReadPalette(const std::vector<std::uint8_t>& b, const InfoHeader& info) {
    std::vector<QRgb> palette;
    if (info.bitCount > 8)
        return palette;
    const std::size_t maxEntries = std::size_t{1} << info.bitCount;
    const std::size_t entries = info.clrUsed == 0 ? maxEntries : std::min<std::size_t>(info.clrUsed, maxEntries);
    if (entries * 4 > b.size() - kHeadersSize)
        return std::nullopt;
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t at = kHeadersSize + 4 * i;
        palette.push_back(qRgb(b[at + 2], b[at + 1], b[at]));
    }
    return palette;
}

QRgb PixelAt(const std::uint8_t* row, std::ptrdiff_t x, int bitCount, const std::vector<QRgb>& palette) {
    switch (bitCount) {
    case 1:
    case 4:
    case 8: {
        const std::ptrdiff_t bitOffset = x * bitCount;
        const int shift = 8 - bitCount - static_cast<int>(bitOffset % 8);
        const unsigned index = (row[bitOffset / 8] >> shift) & ((1u << bitCount) - 1);
        return index < palette.size() ? palette[index] : qRgb(0, 0, 0);
    }
    case 16: {
        const unsigned value = row[2 * x] | row[2 * x + 1] << 8;
        const auto scale = [](unsigned five) { return static_cast<int>((five << 3) | (five >> 2)); };
        return qRgb(scale((value >> 10) & 31), scale((value >> 5) & 31), scale(value & 31));
    }
    case 24: return qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: return qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
    }
}

bool SupportedBitCount(std::uint16_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

QImage DecodeHexBitmap(std::string_view hex) {
    const std::optional<std::vector<std::uint8_t>> decoded = HexToBytes(hex);
    if (!decoded || decoded->size() < kHeadersSize)
        return {};
    const std::vector<std::uint8_t>& bytes = *decoded;
    const InfoHeader info = ReadInfoHeader(bytes);
    if (ReadU32(bytes, kFileHeaderSize) < kInfoHeaderSize || info.planes != 1 || info.compression != BI_RGB ||
        !SupportedBitCount(info.bitCount))
        return {};
    // Bottom-up images only; the side limit keeps a hostile file from asking
    // for a huge allocation.
    if (info.width <= 0 || info.height <= 0 || info.width > kMaxHexBitmapSide || info.height > kMaxHexBitmapSide)
        return {};

    const std::uint64_t pixelOffset = kHeadersSize + 4 * std::uint64_t{info.clrUsed};
    const std::uint64_t stride = (std::uint64_t(info.width) * info.bitCount + 31) / 32 * 4;
    if (pixelOffset > bytes.size() || stride * std::uint64_t(info.height) > bytes.size() - pixelOffset)
        return {};
    const std::optional<std::vector<QRgb>> palette = ReadPalette(bytes, info);
    if (!palette)
        return {};

    QImage image(info.width, info.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < info.height; ++y) {
        const std::uint8_t* row = bytes.data() + pixelOffset + stride * std::uint64_t(info.height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < info.width; ++x)
            line[x] = PixelAt(row, x, info.bitCount, *palette);
    }
    return image;
}

}  // namespace vn

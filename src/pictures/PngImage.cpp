#include "pictures/PngImage.h"

#include <png.h>

#include "pictures/PngResourceTable.h"

namespace vn {
namespace {

void SetError(std::string* error, const char* text) {
    if (error)
        *error = text;
}

// Frees libpng's state on every path; png_image_free is a no-op on a freed image.
class PngReadImage {
public:
    PngReadImage() { image_.version = PNG_IMAGE_VERSION; }
    ~PngReadImage() { png_image_free(&image_); }
    PngReadImage(const PngReadImage&) = delete;
    PngReadImage& operator=(const PngReadImage&) = delete;

    png_image* get() { return &image_; }
    png_image* operator->() { return &image_; }

private:
    png_image image_{};
};

}  // namespace

QImage DecodePng(std::span<const unsigned char> bytes, std::string* error) {
    if (bytes.empty()) {
        SetError(error, "no data");
        return {};
    }
    PngReadImage png;
    if (!png_image_begin_read_from_memory(png.get(), bytes.data(), bytes.size())) {
        SetError(error, png->message);
        return {};
    }
    if (png->width == 0 || png->height == 0 || png->width > kMaxPngSide || png->height > kMaxPngSide) {
        SetError(error, "picture size out of range");
        return {};
    }

    // RGBA byte order matches QImage::Format_RGBA8888 on every host.
    png->format = PNG_FORMAT_RGBA;
    QImage image(static_cast<int>(png->width), static_cast<int>(png->height), QImage::Format_RGBA8888);
    if (image.isNull()) {
        SetError(error, "out of memory");
        return {};
    }
    const auto rowStride = static_cast<png_int_32>(image.bytesPerLine());
    if (!png_image_finish_read(png.get(), nullptr, image.bits(), rowStride, nullptr)) {
        SetError(error, png->message);
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage LoadPngResource(int id, int smallSize) {
    for (const PngResource& resource : PngResources()) {
        if (resource.Id == id && resource.SmallSize == smallSize) {
            return DecodePng(resource.Data);
        }
    }
    return {};
}

}  // namespace vn

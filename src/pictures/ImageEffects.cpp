#include "pictures/ImageEffects.h"

#include <QColor>

namespace vn {
namespace {

// Applies change to every pixel, on straight (not premultiplied) colours.
template <typename Change>
QImage MapPixels(const QImage& image, Change change) {
    if (image.isNull())
        return {};
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = change(row[x]);
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QImage DisabledImage(const QImage& image) {
    return MapPixels(image, [](QRgb pixel) {
        // Lift the grey towards the light end so dark outlines do not dominate.
        const int grey = 96 + qGray(pixel) * 5 / 8;
        return qRgba(grey, grey, grey, qAlpha(pixel) / 2);
    });
}

QImage HoverImage(const QImage& image) {
    return MapPixels(image, [](QRgb pixel) {
        auto lighten = [](int channel) { return channel + (255 - channel) / 5; };
        return qRgba(lighten(qRed(pixel)), lighten(qGreen(pixel)), lighten(qBlue(pixel)), qAlpha(pixel));
    });
}

}  // namespace vn

#include "pictures/ImageIconEngine.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "pictures/ImageEffects.h"

namespace vn {

ImageIconEngine::ImageIconEngine(std::vector<QImage> images) : images_(std::move(images)) {
    std::erase_if(images_, [](const QImage& image) { return image.isNull(); });
    std::sort(images_.begin(), images_.end(),
              [](const QImage& a, const QImage& b) { return a.width() * a.height() < b.width() * b.height(); });
}

const QImage* ImageIconEngine::BestImage(const QSize& size) const {
    if (images_.empty())
        return nullptr;
    for (const QImage& image : images_) {
        if (image.width() >= size.width() && image.height() >= size.height())
            return &image;
    }
    return &images_.back();
}

QImage ImageIconEngine::ImageFor(const QSize& size, QIcon::Mode mode) const {
    const QImage* best = BestImage(size);
    if (!best || size.isEmpty())
        return {};
    QImage image = *best;
    if (image.width() > size.width() || image.height() > size.height()) {
        image = image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    switch (mode) {
    case QIcon::Disabled: return DisabledImage(image);
    case QIcon::Active: return HoverImage(image);
    case QIcon::Normal:
    case QIcon::Selected: break;
    }
    return image;
}

void ImageIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) {
    const QImage image = ImageFor(rect.size(), mode);
    if (image.isNull())
        return;
    // Centred in the rectangle when the picture is smaller than it.
    const QPoint topLeft(rect.x() + (rect.width() - image.width()) / 2,
                         rect.y() + (rect.height() - image.height()) / 2);
    painter->drawImage(topLeft, image);
}

QPixmap ImageIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) {
    return QPixmap::fromImage(ImageFor(size, mode));
}

QSize ImageIconEngine::actualSize(const QSize& size, QIcon::Mode, QIcon::State) {
    const QImage* best = BestImage(size);
    if (!best)
        return {};
    QSize actual = best->size();
    if (actual.width() > size.width() || actual.height() > size.height()) {
        actual.scale(size, Qt::KeepAspectRatio);
    }
    return actual;
}

QList<QSize> ImageIconEngine::availableSizes(QIcon::Mode, QIcon::State) {
    QList<QSize> sizes;
    for (const QImage& image : images_)
        sizes.append(image.size());
    return sizes;
}

QIconEngine* ImageIconEngine::clone() const { return new ImageIconEngine(*this); }

QString ImageIconEngine::key() const { return QStringLiteral("vn-image"); }

bool ImageIconEngine::isNull() { return images_.empty(); }

}  // namespace vn

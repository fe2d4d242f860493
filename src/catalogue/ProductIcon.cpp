#include "catalogue/ProductIcon.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

#include "pictures/ResourceIcon.h"

namespace vn {
namespace {

// Draws one image at any size. Unlike an icon built from a pixmap it can be
// made without a GUI application (the catalogue also loads in the
// command-line program).
class ImageIconEngine final : public QIconEngine {
public:
    explicit ImageIconEngine(QImage image) : image_(std::move(image)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawImage(rect, image_);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        QSize actual = image_.size();
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QSize actual = actualSize(size, mode, state);
        return QPixmap::fromImage(image_.scaled(actual, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {image_.size()}; }
    QIconEngine* clone() const override { return new ImageIconEngine(image_); }
    QString key() const override { return QStringLiteral("vn-image"); }
    bool isNull() override { return image_.isNull(); }

private:
    QImage image_;
};

}  // namespace

QImage ComposeProductIconImage(const QImage& colour, const QImage& mask) {
    if (colour.isNull())
        return {};
    QImage result = colour.convertToFormat(QImage::Format_ARGB32);
    const QImage maskRgb = mask.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < result.height() && y < maskRgb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        const auto* maskLine = reinterpret_cast<const QRgb*>(maskRgb.constScanLine(y));
        for (int x = 0; x < result.width() && x < maskRgb.width(); ++x) {
            if ((maskLine[x] & 0xFFFFFF) == 0xFFFFFF)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}

QIcon MakeProductIcon(const QImage& colour, const QImage& mask) {
    QImage image = ComposeProductIconImage(colour, mask);
    if (image.isNull())
        return {};
    return QIcon(new ImageIconEngine(std::move(image)));
}

QIcon ProductIconResource(int id) {
    const QString large = QStringLiteral(":/icons/%1.png").arg(id);
    const QString small = QStringLiteral(":/icons/%1-16.png").arg(id);
    QIcon icon;
    if (QFile::exists(large))
        icon.addFile(large);
    if (QFile::exists(small))
        icon.addFile(small, QSize(16, 16));
    // The program's pictures are compiled into its own table, not Qt's
    // resources.
    if (icon.isNull())
        icon = ResourceIcon(id);
    return icon;
}

}  // namespace vn

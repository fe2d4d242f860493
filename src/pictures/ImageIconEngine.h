#pragma once

#include <QIconEngine>
#include <QImage>
#include <vector>

namespace vn {

// An icon made of ready images of several sizes. Unlike an icon built from
// pixmaps it can be made before the application object exists and on any
// thread; pixmaps are only made when the icon is drawn. Disabled and Active
// (under the mouse) pictures are derived from the normal ones.
class ImageIconEngine final : public QIconEngine {
public:
    // Null images are dropped.
    explicit ImageIconEngine(std::vector<QImage> images);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;
    bool isNull() override;

    // The picture drawn for a size: the smallest image that covers it, else
    // the largest; scaled down to fit, never up.
    QImage ImageFor(const QSize& size, QIcon::Mode mode) const;

private:
    const QImage* BestImage(const QSize& size) const;

    std::vector<QImage> images_;  // smallest first
};

}  // namespace vn

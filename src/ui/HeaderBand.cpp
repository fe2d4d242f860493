#include "ui/HeaderBand.h"

#include <QFontInfo>
#include <QPainter>

namespace vn {

HeaderBand::HeaderBand(int height, Edge edges, QWidget* parent) : QWidget(parent), edges_(edges) {
    setFixedHeight(height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HeaderBand::Paint(QPainter& painter, const QRect& band, Edge edges, const QPalette& palette) {
    painter.fillRect(band, Qt::white);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor highlight = palette.color(QPalette::Light);
    auto sunkenLine = [&](int y) {
        painter.fillRect(QRect(band.left(), y, band.width(), 1), shadow);
        painter.fillRect(QRect(band.left(), y + 1, band.width(), 1), highlight);
    };
    if (edges & TopEdge)
        sunkenLine(band.top());
    if (edges & BottomEdge)
        sunkenLine(band.bottom() - 1);
}

QFont HeaderBand::TitleFont(const QFont& dialogFont) {
    QFont title = dialogFont;
    title.setPixelSize(QFontInfo(dialogFont).pixelSize() + 10);
    title.setBold(true);
    return title;
}

void HeaderBand::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Paint(painter, rect(), edges_, palette());
}

}  // namespace vn

#pragma once

#include <QFont>
#include <QWidget>

class QPainter;

namespace vn {

// The white strip across the top of the program's views, panels and dialogs,
// with a sunken line along its top and/or bottom edge (shadow above,
// highlight below). Its children (title, picture, texts) are drawn on white.
class HeaderBand : public QWidget {
    Q_OBJECT
public:
    enum Edge { NoEdge = 0, TopEdge = 1, BottomEdge = 2, BothEdges = TopEdge | BottomEdge };

    HeaderBand(int height, Edge edges, QWidget* parent = nullptr);

    // The same drawing for views that paint the band themselves.
    static void Paint(QPainter& painter, const QRect& band, Edge edges, const QPalette& palette);

    // The band's title font: the given dialog font, 10 pixels taller and bold.
    static QFont TitleFont(const QFont& dialogFont);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Edge edges_;
};

}  // namespace vn

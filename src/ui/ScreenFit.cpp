#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace vn {
namespace {

// Room for a frame the window manager adds only once the window is shown:
// its title bar and borders.
constexpr int kFrameAllowance = 40;

}  // namespace

QRect FitIntoArea(const QRect& outer, const QRect& area) {
    const QSize size = outer.size().boundedTo(area.size());
    const int x = std::clamp(outer.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(outer.y(), area.top(), area.top() + area.height() - size.height());
    return {QPoint(x, y), size};
}

QRect AvailableAreaAt(const QPoint& point) {
    QScreen* screen = QGuiApplication::screenAt(point);
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

void FitWindowToScreen(QWidget& window, const QSize& wanted) {
    const QRect area = AvailableAreaAt(window.geometry().center());
    if (area.isEmpty()) {
        window.resize(wanted);
        return;
    }
    const QRect inside = area.adjusted(0, 0, -kFrameAllowance / 4, -kFrameAllowance);
    window.resize(wanted.boundedTo(inside.size()).expandedTo(window.minimumSize().boundedTo(inside.size())));
    if (window.isVisible())
        window.move(FitIntoArea(window.frameGeometry(), area).topLeft());
}

}  // namespace vn

#pragma once

#include <QRect>

class QWidget;

namespace vn {

// The place for a window's outer rectangle inside area (the available part
// of a screen): no larger than area, and moved the least distance that puts
// it wholly inside, so its title bar is never above or below the screen.
QRect FitIntoArea(const QRect& outer, const QRect& area);

// The available geometry of the screen that holds the point, or of the
// primary screen when none does (a window stored on a screen since removed).
QRect AvailableAreaAt(const QPoint& point);

// Resizes a top-level window to wanted, within the available area of its
// screen less room for the window manager's frame, and moves it inside.
void FitWindowToScreen(QWidget& window, const QSize& wanted);

}  // namespace vn

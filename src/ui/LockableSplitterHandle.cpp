#include "ui/LockableSplitterHandle.h"

#include <QMouseEvent>

#include "ui/LockableSplitter.h"

namespace vn {

LockableSplitterHandle::LockableSplitterHandle(Qt::Orientation orientation, LockableSplitter* parent)
    : QSplitterHandle(orientation, parent),
      splitter_(parent) {
    UpdateCursor();
}

bool LockableSplitterHandle::IsLocked() const { return splitter_->IsLocked(); }

void LockableSplitterHandle::UpdateCursor() {
    if (IsLocked()) {
        setCursor(Qt::ArrowCursor);
    } else {
        setCursor(orientation() == Qt::Horizontal ? Qt::SplitHCursor : Qt::SplitVCursor);
    }
}

// While locked the mouse is taken and dropped here, so the splitter never
// starts, continues or ends a drag.
void LockableSplitterHandle::mousePressEvent(QMouseEvent* event) {
    if (IsLocked()) {
        event->accept();
        return;
    }
    QSplitterHandle::mousePressEvent(event);
}

void LockableSplitterHandle::mouseMoveEvent(QMouseEvent* event) {
    if (IsLocked()) {
        event->accept();
        return;
    }
    QSplitterHandle::mouseMoveEvent(event);
}

void LockableSplitterHandle::mouseReleaseEvent(QMouseEvent* event) {
    if (IsLocked()) {
        event->accept();
        return;
    }
    QSplitterHandle::mouseReleaseEvent(event);
}

}  // namespace vn

#include "ui/LockableSplitter.h"

#include "ui/LockableSplitterHandle.h"

namespace vn {

LockableSplitter::LockableSplitter(Qt::Orientation orientation, QWidget* parent)
    : QSplitter(orientation, parent) {
    // Qt keeps a grab area of a few pixels around such thin bars.
    setHandleWidth(1);
}

void LockableSplitter::SetLocked(bool locked) {
    locked_ = locked;
    // Handle 0 exists for every pane but is never shown; updating it is harmless.
    for (int i = 0; i < count(); ++i) {
        if (auto* bar = qobject_cast<LockableSplitterHandle*>(handle(i))) bar->UpdateCursor();
    }
}

QSplitterHandle* LockableSplitter::createHandle() {
    return new LockableSplitterHandle(orientation(), this);
}

}  // namespace vn

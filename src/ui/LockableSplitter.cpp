#include "ui/LockableSplitter.h"

#include <QFrame>
#include <QVBoxLayout>

#include "ui/LockableSplitterHandle.h"

namespace vn {

LockableSplitter::LockableSplitter(Qt::Orientation orientation, QWidget* parent) : QSplitter(orientation, parent) {}

QFrame* LockableSplitter::AddPane(QWidget* content) {
    // A sunken panel of one pixel draws the palette's dark colour on the
    // top and left and its light colour on the bottom and right.
    auto* border = new QFrame(this);
    border->setObjectName(QStringLiteral("paneBorder"));
    border->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    border->setLineWidth(1);
    auto* layout = new QVBoxLayout(border);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(content);
    addWidget(border);
    return border;
}

void LockableSplitter::SetLocked(bool locked) {
    locked_ = locked;
    // Handle 0 exists for every pane but is never shown; updating it is harmless.
    for (int i = 0; i < count(); ++i) {
        if (auto* bar = qobject_cast<LockableSplitterHandle*>(handle(i)))
            bar->UpdateCursor();
    }
}

QSplitterHandle* LockableSplitter::createHandle() { return new LockableSplitterHandle(orientation(), this); }

}  // namespace vn

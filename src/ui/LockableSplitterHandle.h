#pragma once

#include <QSplitterHandle>

namespace vn {

class LockableSplitter;

// The bar of a LockableSplitter: an ordinary splitter bar while its splitter
// is unlocked, inert while it is locked.
class LockableSplitterHandle final : public QSplitterHandle {
    Q_OBJECT
public:
    LockableSplitterHandle(Qt::Orientation orientation, LockableSplitter* parent);

    // Shows the resize cursor only while the bar can be dragged.
    void UpdateCursor();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool IsLocked() const;

    LockableSplitter* splitter_;
};

}  // namespace vn

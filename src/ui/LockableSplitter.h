#pragma once

#include <QSplitter>

namespace vn {

// A splitter with 1-pixel bars that can be locked: while locked, its bars
// ignore the mouse and show no resize cursor, so the panes keep their sizes
// unless the program sets them. The orientation is fixed at construction.
class LockableSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit LockableSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    bool IsLocked() const { return locked_; }
    void SetLocked(bool locked);

protected:
    QSplitterHandle* createHandle() override;

private:
    bool locked_ = false;
};

}  // namespace vn

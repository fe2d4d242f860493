#pragma once

#include <QSplitter>

class QFrame;

namespace vn {

// A splitter whose panes have a 1-pixel sunken border (the shadow colour on
// the top and left, the highlight colour on the bottom and right) between
// bars of the usual kind, and whose bars can be locked: while locked, they
// ignore the mouse and show no resize cursor, so the panes keep their sizes
// unless the program sets them. The orientation is fixed at construction.
class LockableSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit LockableSplitter(Qt::Orientation orientation, QWidget* parent = nullptr);

    bool IsLocked() const { return locked_; }
    void SetLocked(bool locked);

    // Adds content as the next pane, inside its border; gives the border.
    QFrame* AddPane(QWidget* content);

protected:
    QSplitterHandle* createHandle() override;

private:
    bool locked_ = false;
};

}  // namespace vn

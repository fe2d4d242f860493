#pragma once

#include <QWidget>
#include <functional>

class QAction;

namespace vn {

class BitmapButton;

// The toolbar form: one row of picture buttons, 22 pixels high, each showing
// and triggering the action of its command.
class CMainToolBar final : public QWidget {
    Q_OBJECT
public:
    // actionOf gives the action of a command id (vn::cmd).
    CMainToolBar(const std::function<QAction*(int)>& actionOf, QWidget* parent = nullptr);

    // The button of that command; null when the toolbar has none.
    BitmapButton* Button(int commandId) const;
};

}  // namespace vn

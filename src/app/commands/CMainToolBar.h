#pragma once

#include <QWidget>

namespace vn {

class BitmapButton;

// The toolbar form: one row of picture buttons, 22 pixels high, each sending
// its command to the main window. Every button carries its command number in
// the property "commandId".
class CMainToolBar final : public QWidget {
    Q_OBJECT
public:
    explicit CMainToolBar(QWidget* parent = nullptr);

    // The button of that command; null when the toolbar has none.
    BitmapButton* Button(int commandId) const;

signals:
    void commandTriggered(int commandId);
};

}  // namespace vn

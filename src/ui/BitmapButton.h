#pragma once

#include <QToolButton>

namespace vn {

// A flat button showing a compiled-in picture, with its caption beside it:
// the frame appears only under the mouse, where the picture also lightens;
// disabled, the picture turns grey. A click also emits commandTriggered with
// the button's command number, so a row of them can share one handler.
class BitmapButton : public QToolButton {
    Q_OBJECT
public:
    BitmapButton(int pictureId, const QString& text, QWidget* parent = nullptr);

    void SetPicture(int pictureId);
    int Picture() const { return pictureId_; }

    void SetCommandId(int commandId) { commandId_ = commandId; }
    int CommandId() const { return commandId_; }

signals:
    void commandTriggered(int commandId);

private:
    int pictureId_ = 0;
    int commandId_ = 0;
};

}  // namespace vn

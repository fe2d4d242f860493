#pragma once

#include <QString>
#include <functional>

class QPixmap;
class QWidget;

namespace vn {

// Saves pictures of one window as PNG files in a folder: the window as it is
// drawn now, or with the pop-up menu that an action opens drawn over it
// (pop-ups are windows of their own, which grabbing the main window leaves
// out).
class ScreenRenderer {
public:
    ScreenRenderer(QWidget& window, QString folder) : window_(window), folder_(std::move(folder)) {}

    // Lets queued layout and paint work run before a picture is taken.
    static void Settle();

    bool Save(const QString& name);
    // Runs openMenu, which is expected to open a pop-up menu and wait in it;
    // the menu is drawn into the picture where it stands and then closed.
    bool SaveWithPopup(const QString& name, const std::function<void()>& openMenu);

    int Saved() const { return saved_; }

private:
    bool Write(const QString& name, const QPixmap& picture);

    QWidget& window_;
    QString folder_;
    int saved_ = 0;
};

}  // namespace vn

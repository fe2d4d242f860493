#pragma once

#include <QWidget>

class QTextBrowser;

namespace vn {

// The program's own help: the bundled HTML pages in a window with a topic
// list, back and forward. Links to other sites open in the desktop's browser.
class HelpWindow final : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the window with the start page of the help.
    void ShowStartPage();
    // Shows the window with one page of the help, such as "install.html".
    void ShowPage(const QString& page);
    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};

}  // namespace vn

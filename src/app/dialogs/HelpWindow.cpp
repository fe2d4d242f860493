#include "app/dialogs/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/ScreenFit.h"

namespace vn {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Vantor Netwarden Help"));
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);

    auto* contents = new QPushButton(QStringLiteral("Contents"), this);
    auto* back = new QPushButton(QStringLiteral("Back"), this);
    auto* forward = new QPushButton(QStringLiteral("Forward"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, browser_, &QTextBrowser::home);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    // A screen lower than the window, or a larger scale, keeps its bottom in view.
    FitWindowToScreen(*this, QSize(640, 560));
}

void HelpWindow::ShowStartPage() { ShowPage(QStringLiteral("index.html")); }

void HelpWindow::ShowPage(const QString& page) {
    browser_->setSource(QUrl(QStringLiteral("qrc:/help/") + page));
    placing_ = !isVisible();
    show();
    KeepOnScreen();
    raise();
    activateWindow();
}

void HelpWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // The window manager places a new window, frame and all, after it is
    // shown; where that runs past the screen's edge it comes back.
    if (placing_)
        KeepOnScreen();
}

void HelpWindow::KeepOnScreen() {
    const QRect outer = frameGeometry();
    if (outer.size() != size())
        placing_ = false;  // the frame is known: this is the manager's place
    if (const QRect area = AvailableAreaAt(outer.center()); !area.isEmpty() && !area.contains(outer))
        move(FitIntoArea(outer, area).topLeft());
}

}  // namespace vn

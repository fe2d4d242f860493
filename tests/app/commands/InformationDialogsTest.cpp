// The dialogs that only inform: Enter closes them with OK, whatever link
// they show first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <functional>
#include <memory>

#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/CBetaWarningDlg.h"
#include "app/dialogs/CHelpDialog.h"

namespace vn {
namespace {

// Stands in for the browser: counts the pages it is asked to open.
class PageCounter : public QObject {
    Q_OBJECT
public:
    int opened = 0;
public slots:
    void Open(const QUrl&) { ++opened; }
};

TEST(InformationDialogs, EnterPressesOkInsteadOfFollowingTheLink) {
    PageCounter browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "Open");
    const QString page = QStringLiteral("https://www.example.invalid/");
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QDialog>()>>> dialogs = {
        {"About", [&] { return std::make_unique<AboutDialog>(page); }},
        {"Support", [&] { return std::make_unique<CHelpDialog>(page); }},
        {"Vantor Information", [&] { return std::make_unique<CBetaWarningDlg>(page); }},
    };
    for (const auto& [name, make] : dialogs) {
        std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        dialog->activateWindow();
        QApplication::processEvents();
        QWidget* focused = dialog->focusWidget();
        ASSERT_NE(focused, nullptr) << name;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(focused, &press);
        EXPECT_EQ(dialog->result(), QDialog::Accepted) << name;
        EXPECT_FALSE(dialog->isVisible()) << name;
    }
    EXPECT_EQ(browser.opened, 0);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

}  // namespace
}  // namespace vn

#include "InformationDialogsTest.moc"

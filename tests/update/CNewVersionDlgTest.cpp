// The new-version dialog and the service that shows it, on Qt's offscreen
// platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include <chrono>
#include <thread>

#include "ui/HyperlinkLabel.h"
#include "update/ui/CNewVersionDlg.h"
#include "update/ui/QtNewVersionDialogService.h"

namespace vn {
namespace {

// Stands in for the browser: records the addresses it is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

class CNewVersionDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "update_ui_tests";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance())
            application_ = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
    }

    void SetUp() override { QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser_, "Open"); }
    void TearDown() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        for (auto* dialog : OpenDialogs())
            delete dialog;
    }

    static QList<CNewVersionDlg*> OpenDialogs() {
        QList<CNewVersionDlg*> dialogs;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<CNewVersionDlg*>(widget))
                dialogs.append(dialog);
        return dialogs;
    }

    static QStringList Texts(QWidget& dialog) {
        QStringList texts;
        for (auto* label : dialog.findChildren<QLabel*>())
            if (!label->text().isEmpty())
                texts.append(label->text());
        return texts;
    }

    static inline QApplication* application_ = nullptr;
    UrlRecorder browser_;
};

const QString kUrl = QStringLiteral("https://updates.example.test/go.asp?page=products_netwarden");

TEST_F(CNewVersionDlgTest, ShowsItsTextsIconAndLink) {
    CNewVersionDlg dialog(kUrl);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "New version warning");
    const QStringList texts = Texts(dialog);
    EXPECT_TRUE(texts.contains("A new version of Vantor Netwarden has been detected on the Internet."));
    EXPECT_TRUE(texts.contains("If you want to download the latest version, please visit:"));

    auto* icon = dialog.findChild<QLabel*>(QStringLiteral("informationIcon"));
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(icon->pos(), QPoint(15, 15));

    auto* link = dialog.findChild<HyperlinkLabel*>(QStringLiteral("downloadLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), kUrl);  // the link shows the address itself
}

TEST_F(CNewVersionDlgTest, LinkOpensTheDownloadPageInTheBrowser) {
    CNewVersionDlg dialog(kUrl);
    dialog.show();
    auto* link = dialog.findChild<HyperlinkLabel*>(QStringLiteral("downloadLink"));
    ASSERT_NE(link, nullptr);
    const QPoint inside = link->rect().center();
    QMouseEvent press(QEvent::MouseButtonPress, inside, link->mapToGlobal(inside), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, link->mapToGlobal(inside), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(link, &press);
    QApplication::sendEvent(link, &release);
    ASSERT_EQ(browser_.opened.size(), 1);
    EXPECT_EQ(browser_.opened[0], QUrl(kUrl));
}

TEST_F(CNewVersionDlgTest, OkClosesTheDialog) {
    CNewVersionDlg dialog(kUrl);
    dialog.show();
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(CNewVersionDlgTest, ServiceHandsTheDialogToTheUserInterfaceThread) {
    QtNewVersionDialogService service;
    std::thread worker([&] { service.ShowNewVersionDialog(kUrl.toStdString()); });
    worker.join();  // the call returns without waiting for the dialog

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (OpenDialogs().isEmpty() && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const auto dialogs = OpenDialogs();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0]->thread(), QApplication::instance()->thread());
    EXPECT_TRUE(dialogs[0]->isVisible());
    EXPECT_EQ(dialogs[0]->DownloadUrl(), kUrl);
    EXPECT_EQ(dialogs[0]->parentWidget(), nullptr);
}

}  // namespace
}  // namespace vn

#include "CNewVersionDlgTest.moc"

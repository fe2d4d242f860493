#include "ui/HyperlinkLabel.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>

#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

// Stands in for the desktop's browser: records the URLs it is asked to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened.append(url); }
};

class HyperlinkLabelTest : public testing::Test {
protected:
    void SetUp() override {
        QDesktopServices::setUrlHandler("https", &browser_, "Open");
        label_.resize(120, 20);
        label_.show();
    }
    void TearDown() override { QDesktopServices::unsetUrlHandler("https"); }

    UrlRecorder browser_;
    HyperlinkLabel label_{"What Netwarden detects"};
};

TEST_F(HyperlinkLabelTest, LeftClickEmitsClickedWithoutOpeningAnything) {
    QSignalSpy clicked(&label_, &HyperlinkLabel::clicked);
    QTest::mouseClick(&label_, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_TRUE(browser_.opened.isEmpty());
}

TEST_F(HyperlinkLabelTest, ClickOpensTheUrlOnce) {
    const QUrl url("https://download.example.invalid/go.asp?page=download");
    label_.SetUrl(url);
    QSignalSpy clicked(&label_, &HyperlinkLabel::clicked);
    QTest::mouseClick(&label_, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(browser_.opened, QList<QUrl>{url});
}

TEST_F(HyperlinkLabelTest, OtherButtonsAndReleasesOutsideDoNotCount) {
    label_.SetUrl(QUrl("https://support.example.invalid/"));
    QSignalSpy clicked(&label_, &HyperlinkLabel::clicked);
    QTest::mouseClick(&label_, Qt::RightButton);
    QTest::mouseClick(&label_, Qt::MiddleButton);
    // Pressed on the link, released beside it: the user changed his mind.
    QTest::mousePress(&label_, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&label_, Qt::LeftButton, Qt::NoModifier, QPoint(300, 5));
    // Released over the link without a press there first.
    QTest::mouseRelease(&label_, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(browser_.opened.isEmpty());
}

TEST_F(HyperlinkLabelTest, KeyboardActivatesIt) {
    QSignalSpy clicked(&label_, &HyperlinkLabel::clicked);
    QTest::keyClick(&label_, Qt::Key_Space);
    QTest::keyClick(&label_, Qt::Key_Return);
    QTest::keyClick(&label_, Qt::Key_A);
    EXPECT_EQ(clicked.count(), 2);
    EXPECT_EQ(label_.focusPolicy(), Qt::StrongFocus);
}

TEST_F(HyperlinkLabelTest, WithoutTextItShowsTheUrl) {
    HyperlinkLabel bare;
    bare.SetUrl(QUrl("https://www.example.invalid/go.asp?page=products_netwarden"));
    EXPECT_EQ(bare.text(), "https://www.example.invalid/go.asp?page=products_netwarden");

    label_.SetUrl(QUrl("https://www.example.invalid/"));
    EXPECT_EQ(label_.text(), "What Netwarden detects");
}

// No handler for the scheme and no browser to be found on the PATH: the
// user reads why nothing opened.
TEST_F(HyperlinkLabelTest, AnAddressNothingCanOpenIsReportedInAMessageBox) {
    test::ScriptedMessageBoxService boxes;
    QTemporaryDir emptyPath;
    const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", emptyPath.path().toLocal8Bit().constData(), 1);
    unsetenv("BROWSER");
    unsetenv("DEFAULT_BROWSER");
    label_.SetUrl(QUrl("http://support.example.invalid/"));
    QTest::keyClick(&label_, Qt::Key_Return);
    setenv("PATH", oldPath.c_str(), 1);

    const auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Vantor Netwarden");
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_NE(shown[0].text.find("\"http://support.example.invalid/\""), std::string::npos) << shown[0].text;

    // Where the desktop can open it, nothing is said.
    label_.SetUrl(QUrl("https://support.example.invalid/"));
    QTest::keyClick(&label_, Qt::Key_Return);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(browser_.opened.size(), 1);
}

}  // namespace
}  // namespace vn

#include "HyperlinkLabelTest.moc"

#include "ui/QtMessageBoxService.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace vn {
namespace {

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    int width = 0;
};

// Shows a box through the service and answers it with the given button.
MessageAnswer ShowAndAnswer(MessageIcon icon, MessageButtons buttons, QMessageBox::StandardButton answer, SeenBox& seen,
                            std::string_view text = "Are you sure?") {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), box->width()};
        if (QAbstractButton* button = box->button(answer))
            button->click();
        else
            box->reject();
    });
    QtMessageBoxService service;
    return service.Show("Vantor Netwarden", text, icon, buttons);
}

TEST(QtMessageBoxServiceTest, StopIconIsCriticalAndOkAnswers) {
    SeenBox seen;
    EXPECT_EQ(ShowAndAnswer(MessageIcon::Stop, MessageButtons::Ok, QMessageBox::Ok, seen), MessageAnswer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.caption, "Vantor Netwarden");
    EXPECT_EQ(seen.text, "Are you sure?");
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST(QtMessageBoxServiceTest, QuestionWithYesAndNo) {
    SeenBox seen;
    EXPECT_EQ(ShowAndAnswer(MessageIcon::Question, MessageButtons::YesNo, QMessageBox::No, seen), MessageAnswer::No);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(ShowAndAnswer(MessageIcon::Warning, MessageButtons::YesNo, QMessageBox::Yes, seen), MessageAnswer::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

// A box whose text is shorter than its title is still wide enough for the
// title beside the frame's buttons.
TEST(QtMessageBoxServiceTest, AShortTextKeepsTheTitleWhole) {
    SeenBox seen;
    (void)ShowAndAnswer(MessageIcon::None, MessageButtons::Ok, QMessageBox::Ok, seen, "Done.");
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(seen.width, QFontMetrics(bold).horizontalAdvance(QStringLiteral("Vantor Netwarden")) + 100);
}

}  // namespace
}  // namespace vn

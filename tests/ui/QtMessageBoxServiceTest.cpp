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
};

// Shows a box through the service and answers it with the given button.
MessageAnswer ShowAndAnswer(MessageIcon icon, MessageButtons buttons, QMessageBox::StandardButton answer,
                            SeenBox& seen) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (QAbstractButton* button = box->button(answer))
            button->click();
        else
            box->reject();
    });
    QtMessageBoxService service;
    return service.Show("Vantor Netwarden", "Are you sure?", icon, buttons);
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

}  // namespace
}  // namespace vn

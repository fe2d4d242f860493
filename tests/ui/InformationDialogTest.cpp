#include "ui/InformationDialog.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <vector>

#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

// The texts stand one under the other in the order given, the link below
// them and the OK button last, all right of the icon.
TEST(InformationDialogTest, StacksTheTextsLinkAndButtonBesideTheIcon) {
    const QString url = QStringLiteral("https://download.example.invalid/go.asp?page=download");
    const std::vector<QStringList> cases = {{}, {"only line"}, {"first line", "second line", "third line"}};
    for (const QStringList& lines : cases) {
        QDialog dialog;
        QList<QLabel*> texts;
        for (const QString& line : lines)
            texts.append(new QLabel(line, &dialog));
        HyperlinkLabel* link = LayOutInformationDialog(dialog, QStringLiteral("Title"), texts, url);
        dialog.show();

        EXPECT_EQ(dialog.windowTitle(), "Title");
        ASSERT_EQ(dialog.findChild<HyperlinkLabel*>(QStringLiteral("downloadLink")), link);
        EXPECT_EQ(link->text(), url);
        auto* icon = dialog.findChild<QLabel*>(QStringLiteral("informationIcon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->pos(), QPoint(15, 15));

        QList<QWidget*> column(texts.begin(), texts.end());
        column.append(link);
        column.append(dialog.findChild<QDialogButtonBox*>());
        for (qsizetype i = 0; i < column.size(); ++i) {
            EXPECT_GT(column[i]->x(), icon->x() + icon->width()) << lines.size() << " texts, row " << i;
            if (i > 0) {
                EXPECT_GT(column[i]->y(), column[i - 1]->y()) << lines.size() << " texts, row " << i;
            }
        }
    }
}

}  // namespace
}  // namespace vn

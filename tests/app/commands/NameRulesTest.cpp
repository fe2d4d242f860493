#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/dialogs/CAddComputer.h"
#include "app/dialogs/CAddFolder.h"
#include "app/dialogs/NameRules.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

constexpr const char* kListedCharacters = "~ ` ! @ # $ % ^ & * ( ) = + [ ] { } \\ | ; : ' \" , < > / and ?";

TEST(NameRules, RefusesEachOfTheThirtyCharactersWithTheWholeList) {
    ASSERT_EQ(kForbiddenNameCharacters.size(), 30u);
    for (char forbidden : kForbiddenNameCharacters) {
        const std::string name = std::string("pc") + forbidden + "1";
        EXPECT_EQ(NameRefusal(NameKind::Computer, name),
                  "The computer name \"" + name +
                      "\" contains characters which are not allowed. Characters which are not allowed include " +
                      kListedCharacters)
            << "character " << forbidden;
    }
}

TEST(NameRules, FolderNamesHaveTheirOwnWording) {
    EXPECT_EQ(NameRefusal(NameKind::Folder, ""), "The folder name is empty. Please enter a valid folder name.");
    EXPECT_EQ(NameRefusal(NameKind::Folder, "a/b"),
              std::string("The folder name \"a/b\" contains characters which are not allowed. Characters which are "
                          "not allowed include ") +
                  kListedCharacters);
    EXPECT_EQ(NameRefusal(NameKind::Computer, ""),
              "The \"Computer\" field is empty. Please enter a valid computer name.");
}

TEST(NameRules, AcceptsOrdinaryNamesAsTyped) {
    for (const char* name : {"pc01", "PC-01", "host.example.org", "10.0.0.1", "under_score", "K\xC3\xB6ln"})
        EXPECT_EQ(NameRefusal(NameKind::Computer, name), "") << name;
    // Nothing is trimmed: surrounding blanks are spaces, which are refused.
    EXPECT_NE(NameRefusal(NameKind::Computer, " pc01"), "");
}

TEST(AddDialogs, RefusedNameKeepsTheDialogOpen) {
    test::ScriptedMessageBoxService boxes;
    CAddComputer dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add Computer");
    dialog.show();
    dialog.NameEdit()->setText(QStringLiteral("pc 01"));
    dialog.accept();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Vantor Netwarden");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Stop);
    EXPECT_NE(boxes.Boxes()[0].text.find("\"pc 01\""), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.NameEdit()->setText(QStringLiteral("pc01"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), "pc01");
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST(AddDialogs, EmptyFolderNameIsRefused) {
    test::ScriptedMessageBoxService boxes;
    CAddFolder dialog;
    EXPECT_EQ(dialog.windowTitle(), "Add Folder");
    dialog.show();
    dialog.accept();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "The folder name is empty. Please enter a valid folder name.");
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <QLineEdit>

#include "app/dialogs/CAddComputer.h"
#include "app/dialogs/CAddFolder.h"
#include "inventory/NameRules.h"
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

// The names the stored tree cannot keep: Add Folder refuses them, a save
// says why it left them out, and a network scan (whose names may hold blanks)
// refuses only them.
TEST(NameRules, NamesTheStoredTreeCannotKeep) {
    struct Case {
        std::string name;
        std::string folderRefusal;  // empty: accepted
        std::string storedProblem;
        bool scanRefused;
    };
    const std::string listed = std::string(
                                   "\" contains characters which are not allowed. Characters which are not "
                                   "allowed include ") +
                               kListedCharacters;
    const std::string tooLong = "The folder name is longer than 255 bytes. Please enter a shorter folder name.";
    std::string umlauts;  // 128 characters, 256 bytes
    for (int i = 0; i < 128; ++i)
        umlauts += "\xC3\xA4";
    const Case cases[] = {
        {std::string(255, 'x'), "", "", false},
        {std::string(256, 'x'), tooLong, "a name longer than 255 bytes cannot be stored", true},
        // Bytes count, not characters.
        {umlauts, tooLong, "a name longer than 255 bytes cannot be stored", true},
        {"CORP\\Sales", "The folder name \"CORP\\Sales" + listed, "a name holding a backslash cannot be stored", true},
        {"Entire Network", "The folder name \"Entire Network" + listed, "", false},
        {"", "The folder name is empty. Please enter a valid folder name.", "an empty name cannot be stored", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(NameRefusal(NameKind::Folder, c.name), c.folderRefusal);
        EXPECT_EQ(StoredNameProblem(c.name), c.storedProblem);
        EXPECT_EQ(ScanFolderNameRefusal(c.name), c.scanRefused ? c.folderRefusal : "");
    }
    EXPECT_EQ(NameRefusal(NameKind::Computer, std::string(256, 'x')),
              "The computer name is longer than 255 bytes. Please enter a shorter computer name.");
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

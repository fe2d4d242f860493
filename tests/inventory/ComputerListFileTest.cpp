#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "inventory/ComputerListFile.h"
#include "inventory/InventoryTreeBuilder.h"

namespace vn {
namespace {

using Names = std::vector<std::string>;

Names Parse(const std::string& text, bool csv = false) {
    std::istringstream in(text);
    return ParseComputerList(in, csv);
}

class ComputerListFileTest : public ::testing::Test {
protected:
    ComputerListFileTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vn-list-XXXXXX").string();
        directory = mkdtemp(pattern.data());
    }
    ~ComputerListFileTest() override { std::filesystem::remove_all(directory); }

    std::filesystem::path Write(const std::string& name, const std::string& text) {
        auto path = directory / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path directory;
};

TEST_F(ComputerListFileTest, ExportWritesComputersInTreeOrderAndReadsBackToTheSameNames) {
    const ProductDef vantor = test::MakeProduct("Vantor", "");
    const ProductDef kestrel = test::MakeProduct("Kestrel", "");
    InventoryModel model;
    FolderNode* lab = test::AddFolder(model, nullptr, "Lab");
    test::AddComputer(model, lab, "pc1", {&vantor, &kestrel});
    test::AddComputer(model, test::AddFolder(model, lab, "Inner"), "deep");
    test::AddComputer(model, nullptr, "10.0.0.1");

    const auto path = directory / "out.txt";
    std::ofstream(path) << "previous content that must go away\n";
    ASSERT_TRUE(ExportComputerList(model, path));
    EXPECT_EQ(Contents(path), "deep\r\npc1, Vantor, Kestrel\r\n10.0.0.1\r\n");

    Names names;
    ASSERT_TRUE(ReadComputerList(path, names));
    EXPECT_EQ(names, (Names{"deep", "pc1", "10.0.0.1"}));
}

TEST_F(ComputerListFileTest, ExportFailureKeepsTheReason) {
    InventoryModel model;
    EXPECT_FALSE(ExportComputerList(model, directory / "missing" / "out.txt"));
    EXPECT_EQ(model.LastErrorText(), "The system cannot find the path specified.");
    EXPECT_FALSE(ExportComputerList(model, directory));
    EXPECT_EQ(model.LastErrorText(), "Access is denied.");
}

TEST_F(ComputerListFileTest, CsvHeaderRuleFollowsTheExactExtension) {
    const std::string text = "Name;Address\r\npc1;10.0.0.1\r\n";
    Names names;
    ASSERT_TRUE(ReadComputerList(Write("list.csv", text), names));
    EXPECT_EQ(names, (Names{"pc1"}));
    ASSERT_TRUE(ReadComputerList(Write("list.CSV", text), names));
    EXPECT_EQ(names, (Names{"Name", "pc1"}));
    ASSERT_TRUE(ReadComputerList(Write("list.txt", text), names));
    EXPECT_EQ(names, (Names{"Name", "pc1"}));
    // A CSV file without a header loses no line.
    ASSERT_TRUE(ReadComputerList(Write("plain.csv", "pc1,x\npc2\n"), names));
    EXPECT_EQ(names, (Names{"pc1", "pc2"}));
    EXPECT_FALSE(ReadComputerList(directory / "absent.txt", names));
}

TEST(ComputerListParseTest, NamesAreCutAtSemicolonCommaOrBlankOnly) {
    // The tab does not cut "pc4\tnote"; a name with a tab is then skipped (below).
    EXPECT_EQ(Parse("  pc1 Vantor\n\tpc2;x\npc3,y\n\npc4\tnote\n   \n"), (Names{"pc1", "pc2", "pc3"}));
    // A line that starts with a separator gives no name and is skipped.
    EXPECT_EQ(Parse(";pc1\n,pc2\npc3\n"), (Names{"pc3"}));
}

TEST(ComputerListParseTest, LaterDuplicatesIgnoringCaseAreDropped) {
    EXPECT_EQ(Parse("pc1\nPC1, Vantor\npc2\npC1\n"), (Names{"pc1", "pc2"}));
    EXPECT_EQ(Parse("\u00C4PC\n\u00E4pc\n\u00C9\n\u00E9\n"), (Names{"\u00C4PC", "\u00C9"}));
}

TEST(ComputerListParseTest, NamesNoComputerCanHaveAreSkippedNamingTheLine) {
    std::istringstream in(
        "Name\npc1\na/b\nc:d;x\n\n e*f \nfine\ng?h\ni\"j\nk<l\nm>n\no|p\nq\\r\n"
        "t\tu\nv\x01w\nx\x7Fy\n");
    std::vector<std::string> skipped;
    EXPECT_EQ(ParseComputerList(in, true, &skipped), (Names{"pc1", "fine"}));
    ASSERT_EQ(skipped.size(), 12u);
    EXPECT_EQ(skipped[0],
              "line 3: \"a/b\" is skipped: no computer name can hold / \\ : * ? \" < > | or control "
              "characters");
    EXPECT_EQ(skipped[1].substr(0, 16), "line 4: \"c:d\" is");
    EXPECT_EQ(skipped[2].substr(0, 16), "line 6: \"e*f\" is");
    EXPECT_EQ(skipped[11].substr(0, 17), "line 16: \"x\x7Fy\" is");
}

TEST(ComputerListParseTest, HostileInputKeepsTheGoodLines) {
    std::string text = "\xEF\xBB\xBFpc1\r\n";           // byte order mark
    text += std::string(200000, 'A') + "\n";            // far too long, no separator
    text += "pc2 " + std::string(200000, 'B') + "\n";   // long tail after the name
    text += std::string(100000, '\t') + "pc3\n";        // long leading white space
    text += "pc4" + std::string(100000, '\t') + "\n";   // long trailing white space
    text += "pc5" + std::string(100000, '\t') + "x\n";  // tab-joined name too long
    text += std::string("pc6\0hidden tail\n", 16);      // a NUL ends the line's text
    text += std::string("\0pc7\n", 5);
    text += "bad\xC3\x28name\n";  // invalid UTF-8
    text += "caf\xC3\xA9\n";      // valid UTF-8
    text += "\xED\xA0\x80surrogate\n";
    text += std::string(256, 'n') + "\n";  // longer than any host name
    text += std::string(255, 'm') + "\n";
    text += "last-without-newline";
    EXPECT_EQ(Parse(text),
              (Names{"pc1", "pc2", "pc3", "pc4", "pc6", "caf\xC3\xA9", std::string(255, 'm'), "last-without-newline"}));
}

}  // namespace
}  // namespace vn

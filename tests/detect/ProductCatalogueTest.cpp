#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/ProductCatalogue.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

// A 1x1 24-bit BMP image in hex (headers, one blue pixel, padding).
const std::string kPixelHex =
    "424d000000000000000000000000280000000100000001000000010018000000000000000000000000000000000000000000"
    "00000000ff0000000000";

class ProductCatalogueTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& text) {
        std::ofstream(path_, std::ios::binary) << text;
        return path_;
    }

    std::vector<std::string> Names(const ProductCatalogue& catalogue) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < catalogue.size(); ++i)
            names.push_back(catalogue.at(i).DisplayName);
        return names;
    }

    test::ScriptedMessageBoxService boxes_;
    std::filesystem::path path_ =
        std::filesystem::temp_directory_path() / ("vn-catalogue-" + std::to_string(::getpid()) + ".ini");

    void TearDown() override { std::filesystem::remove(path_); }
};

TEST_F(ProductCatalogueTest, MissingFileGivesTheBuiltInsAndOneWarningUnlessSilenced) {
    ProductCatalogue catalogue;
    catalogue.Load(path_);
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Vantor", "Kestrel"}));
    EXPECT_EQ(catalogue.at(1).ServicePath, "System\\CurrentControlSet\\Services\\Kestrel");
    EXPECT_EQ(catalogue.at(1).ServiceName, "Kestrel");
    auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Vantor Netwarden");
    EXPECT_EQ(boxes[0].text, "Could not open file \"" + path_.string() + "\".");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Warning);

    ProductCatalogue silent;
    silent.WarnIfMissing = false;
    silent.Load(path_);
    EXPECT_EQ(silent.size(), 2u);
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

TEST_F(ProductCatalogueTest, EntriesNeedASeparatingLineAndTheEndingLineIsConsumed) {
    ProductCatalogue catalogue;
    catalogue.Load(
        Write("[One]\nDisplayName=One\n\n[Two]\nDisplayName=Two\n"
              "[Swallowed]\nDisplayName=Three\nServicePath=Skipped\n"
              "; comment\n[Four]\r\nDisplayName=Four\r\n"));
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Vantor", "Kestrel", "One", "Two", "Four"}));
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ProductCatalogueTest, KeysAreCaseSensitiveAndValuesKeepInnerBlanks) {
    ProductCatalogue catalogue;
    catalogue.Load(
        Write("  [A]  \n   DisplayName= Padded Name   \n\tServicePath=Soft\\A\n"
              "ServiceName=first\nServiceName=second\n\n"
              "[B]\ndisplayname=Lower\nDisplayName=Never\n\n"
              "[C]\nxDisplayName=Cut\n"));
    ASSERT_EQ(catalogue.size(), 4u);
    EXPECT_EQ(catalogue.at(2).DisplayName, " Padded Name");
    EXPECT_EQ(catalogue.at(2).ServicePath, "Soft\\A");
    EXPECT_EQ(catalogue.at(2).ServiceName, "second");
    // "displayname=" ends entry B at once; without a name it is refused.
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
    // A key inside the line still cuts as many characters as the key has.
    EXPECT_EQ(catalogue.at(3).DisplayName, "=Cut");
}

TEST_F(ProductCatalogueTest, DuplicatesOfBuiltInsAndOfEarlierEntriesAreDropped) {
    ProductCatalogue catalogue;
    catalogue.Load(
        Write("[x]\nDisplayName=vantor\nServicePath=Other\n\n"
              "[y]\nDisplayName=Remote\n\n[z]\nDisplayName=REMOTE\nServicePath=Second\n"));
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Vantor", "Kestrel", "Remote"}));
    EXPECT_EQ(catalogue.FindByName("VANTOR")->ServicePath, "System\\CurrentControlSet\\Services\\Vantor");
    EXPECT_EQ(catalogue.FindByName("remote")->ServicePath, "");
    EXPECT_EQ(catalogue.FindByName("Missing"), nullptr);
}

TEST_F(ProductCatalogueTest, AnIconNeedsBothBitmaps) {
    ProductCatalogue catalogue;
    catalogue.Load(Write("[a]\nDisplayName=Both\nColorBitmap=" + kPixelHex + "\nMaskBitmap=" + kPixelHex +
                         "\n\n[b]\nDisplayName=ColourOnly\nColorBitmap=" + kPixelHex +
                         "\n\n[c]\nDisplayName=BadMask\nColorBitmap=" + kPixelHex + "\nMaskBitmap=00ff\n"));
    ASSERT_EQ(catalogue.size(), 5u);
    EXPECT_FALSE(catalogue.at(2).Icon.isNull());
    EXPECT_EQ(catalogue.at(2).Icon.availableSizes(), QList<QSize>{QSize(1, 1)});
    EXPECT_TRUE(catalogue.at(3).Icon.isNull());
    EXPECT_TRUE(catalogue.at(4).Icon.isNull());
}

// Computers store their products as registry keys named after them: a name
// that cannot be a key name would make every later save incomplete.
TEST_F(ProductCatalogueTest, EntriesWhoseNameCannotBeAKeyNameAreRefusedWithAWarning) {
    ProductCatalogue catalogue;
    catalogue.Load(
        Write("[a]\nDisplayName=\nServicePath=Empty\n\n[b]\nDisplayName=Back\\slash\n\n"
              "[c]\nDisplayName=" +
              std::string(256, 'x') + "\n\n[d]\nDisplayName=Good\n"));
    EXPECT_EQ(Names(catalogue), (std::vector<std::string>{"Vantor", "Kestrel", "Good"}));
    const auto boxes = boxes_.Boxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].text, "The product \"Back\\slash\" at line 5 of \"" + path_.string() +
                                 "\" is left out: a product name must not be empty, hold a backslash or be longer "
                                 "than 255 characters.");
    EXPECT_EQ(boxes[1].icon, MessageIcon::Warning);
    EXPECT_NE(boxes[0].text.find("\"\" at line 1 of"), std::string::npos);
}

// Products are stored as registry keys: names are one product exactly when
// they are one key. (The Kelvin sign is no upper-case "K" there.)
TEST_F(ProductCatalogueTest, NamesCompareIgnoringCaseAsTheRegistryDoes) {
    ProductCatalogue catalogue;
    catalogue.Load(
        Write("[a]\nDisplayName=\u00C4rger Remote\n\n[b]\nDisplayName=\u00E4RGER REMOTE\n\n"
              "[c]\nDisplayName=\u212Aey\n\n[d]\nDisplayName=key\n"));
    EXPECT_EQ(Names(catalogue),
              (std::vector<std::string>{"Vantor", "Kestrel", "\u00C4rger Remote", "\u212Aey", "key"}));
    EXPECT_EQ(catalogue.FindByName("\u00E4rger remote"), &catalogue.at(2));
    EXPECT_EQ(catalogue.FindByName("KEY"), &catalogue.at(4));
}

TEST(CatalogueFilePathTest, LiesBesideTheProgram) {
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(CatalogueFilePath(), program.parent_path() / "VtrNetwarden.ini");
    // Only the end of the program's file name counts, never a folder's name.
    const struct {
        const char* program;
        const char* catalogue;
    } cases[] = {
        {"/opt/app.exed/bin/netwarden", "/opt/app.exed/bin/VtrNetwarden.ini"},
        {"/opt/x.exe/netwarden", "/opt/x.exe/VtrNetwarden.ini"},
        {"/opt/bin/Netwarden.exe", "/opt/bin/Netwarden.ini"},
        {"/opt/bin/netwarden.exe.old", "/opt/bin/VtrNetwarden.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogueFilePathFor(c.program), std::filesystem::path(c.catalogue)) << c.program;
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <cctype>

#include "platform/NameFolding.h"
#include "platform/local/HivePaths.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/RegistryNames.h"

namespace vn {
namespace {

std::vector<std::string> Split(std::string_view path, Status expected = ERROR_SUCCESS) {
    std::vector<std::string> components{"stale"};
    EXPECT_EQ(SplitKeyPath(path, components), expected) << path;
    return components;
}

TEST(RegistryNamesTest, KeyPathsSplitAsWindowsParsesThem) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split(""), V{});
    EXPECT_EQ(Split("Software"), V{"Software"});
    EXPECT_EQ(Split("System\\CurrentControlSet\\Services\\"), (V{"System", "CurrentControlSet", "Services"}));
    EXPECT_EQ(Split("a\\\\b\\\\\\"), (V{"a", "b"}));
    EXPECT_EQ(Split("with space\\x.y"), (V{"with space", "x.y"}));
    Split("\\Software", ERROR_BAD_PATHNAME);
}

TEST(RegistryNamesTest, FoldingIgnoresCaseIncludingBeyondAscii) {
    EXPECT_EQ(FoldRegistryName("Software"), FoldRegistryName("SOFTWARE"));
    EXPECT_EQ(FoldRegistryName("Café Ärger"), FoldRegistryName("CAFÉ äRGER"));
    EXPECT_EQ(FoldRegistryName("σ"), FoldRegistryName("Σ"));
    EXPECT_NE(FoldRegistryName("a"), FoldRegistryName("b"));
    // Big-endian UTF-16 of the upper-cased name.
    EXPECT_EQ(FoldRegistryName("ab"), std::string("\0A\0B", 4));
    EXPECT_EQ(FoldRegistryName("\xF0\x9F\x98\x80"), std::string("\xD8\x3D\xDE\x00", 4));
}

TEST(RegistryNamesTest, EveryAsciiByteFoldsAsItsUpperCaseAndOnlySo) {
    // The ASCII fast path of the folding, byte by byte, against the C library.
    for (int c = 1; c < 0x80; ++c) {
        const std::string byte(1, static_cast<char>(c));
        const std::string upper(1, static_cast<char>(std::toupper(c)));
        EXPECT_EQ(FoldRegistryName(byte), FoldRegistryName(upper)) << c;
        EXPECT_TRUE(NamesEqualFolded(byte, upper)) << c;
        EXPECT_EQ(CompareFoldedNames(byte, upper), 0) << c;
        if (c + 1 < 0x80 && std::toupper(c) != std::toupper(c + 1)) {
            const std::string next(1, static_cast<char>(c + 1));
            EXPECT_FALSE(NamesEqualFolded(byte, next)) << c;
        }
    }
}

TEST(RegistryNamesTest, InvalidUtf8KeepsADistinctStableForm) {
    const std::string broken =
        "a\xFF"
        "b";
    EXPECT_EQ(FoldRegistryName(broken), FoldRegistryName("A\xFF"
                                                         "B"));
    EXPECT_NE(FoldRegistryName(broken), FoldRegistryName("a\xFE"
                                                         "b"));
    EXPECT_NE(FoldRegistryName("\xC3"), FoldRegistryName("\xC3\xA9"));  // truncated sequence
}

TEST(RegistryNamesTest, FoldedFormsOrderLikeUpperCasedUtf16) {
    // "_" (0x5F) sorts after the upper-cased letters, as Windows enumerates it.
    EXPECT_LT(FoldRegistryName("b"), FoldRegistryName("_"));
    EXPECT_LT(FoldRegistryName("alpha"), FoldRegistryName("Zeta"));
    EXPECT_LT(FoldRegistryName("a"), FoldRegistryName("a0"));
}

TEST(RegistryNamesTest, DuplicateFoldsAreFoundAmongFewAndMany) {
    using V = std::vector<std::string>;
    EXPECT_FALSE(HasDuplicateFolds(V{}));
    EXPECT_FALSE(HasDuplicateFolds(V{"A"}));
    EXPECT_TRUE(HasDuplicateFolds(V{"A", "B", "A"}));
    EXPECT_FALSE(HasDuplicateFolds(V{"A", "B", "C"}));
    // Past a handful the names are sorted: the twins anywhere.
    for (std::size_t count : {16U, 17U, 40U}) {
        V many;
        for (std::size_t i = 0; i < count; ++i)
            many.push_back("N" + std::to_string(count - i));
        EXPECT_FALSE(HasDuplicateFolds(many)) << count;
        many.back() = many.front();
        EXPECT_TRUE(HasDuplicateFolds(many)) << count;
    }
}

// The inventory's comparisons and the hive's folded forms must agree, or a
// node and its key stop being one.
TEST(RegistryNamesTest, NameComparisonsAgreeWithTheFoldedForms) {
    const char* names[] = {"pc1",    "PC1",   "\u00C4", "\u00E4",          "\u00C9", "e", "\u03C3", "\u03C2",
                           "\u03A3", "_x",    "B",      "\u0130",          "i",      "I", "\u212A", "k",
                           "a\xFF",  "A\xFF", "\xC3",   "\xF0\x9F\x98\x80"};
    for (const char* a : names) {
        for (const char* b : names) {
            const bool equal = FoldRegistryName(a) == FoldRegistryName(b);
            EXPECT_EQ(NamesEqualFolded(a, b), equal) << a << " " << b;
            EXPECT_EQ(CompareFoldedNames(a, b) == 0, equal) << a << " " << b;
            EXPECT_EQ(CompareFoldedNames(a, b), -CompareFoldedNames(b, a)) << a << " " << b;
        }
    }
    // Siblings sort by their lower-cased names.
    EXPECT_LT(CompareFoldedNames("_x", "B"), 0);
    EXPECT_LT(CompareFoldedNames("\u00C4pc", "\u00E9"), 0);
    EXPECT_LT(CompareFoldedNames("a", "a0"), 0);
}

TEST(HivePathsTest, EnvironmentChoosesTheHiveFiles) {
    auto lookup = [](std::initializer_list<std::pair<const char*, const char*>> variables) {
        std::vector<std::pair<std::string, std::string>> copy;
        for (auto& [name, value] : variables)
            copy.emplace_back(name, value);
        return [copy](const char* name) -> const char* {
            for (const auto& [key, value] : copy)
                if (key == name)
                    return value.c_str();
            return nullptr;
        };
    };
    HivePaths paths = HivePathsFromEnvironment(lookup({{"HOME", "/home/ann"}}));
    EXPECT_EQ(paths.currentUser, "/home/ann/.config/vantor-netwarden/user-hive.db");
    EXPECT_EQ(paths.localMachine, "/var/lib/vantor-netwarden/machine-hive.db");

    paths = HivePathsFromEnvironment(lookup({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "/cfg/"}}));
    EXPECT_EQ(paths.currentUser, "/cfg/vantor-netwarden/user-hive.db");
    paths = HivePathsFromEnvironment(lookup({{"HOME", "/home/ann"}, {"XDG_CONFIG_HOME", "relative"}}));
    EXPECT_EQ(paths.currentUser, "/home/ann/.config/vantor-netwarden/user-hive.db");

    paths =
        HivePathsFromEnvironment(lookup({{"NETWARDEN_USER_HIVE", "/t/u.db"}, {"NETWARDEN_MACHINE_HIVE", "/t/m.db"}}));
    EXPECT_EQ(paths.currentUser, "/t/u.db");
    EXPECT_EQ(paths.localMachine, "/t/m.db");
}

}  // namespace
}  // namespace vn

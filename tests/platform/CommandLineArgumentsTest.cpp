#include <gtest/gtest.h>

#include "platform/CommandLineQuoting.h"
#include "platform/local/CommandLineArguments.h"

namespace vn {
namespace {

using Args = std::vector<std::string>;

Args Split(std::string_view line) { return SplitCommandLine(line, "/opt/tool"); }

TEST(CommandLineArgumentsTest, BlanksSeparateAndTheFirstArgumentIsTheProgram) {
    EXPECT_EQ(Split("tool a b"), (Args{"tool", "a", "b"}));
    EXPECT_EQ(Split("tool\ta  \t b   "), (Args{"tool", "a", "b"}));
    EXPECT_EQ(Split("tool"), (Args{"tool"}));
    EXPECT_EQ(Split("tool   "), (Args{"tool"}));
    EXPECT_EQ(Split(""), (Args{"/opt/tool"}));
}

TEST(CommandLineArgumentsTest, ALeadingBlankGivesAnEmptyProgramArgument) {
    // The deploy runner's command lines begin with a blank.
    EXPECT_EQ(Split(" install -computer PC1 -port 5650 -path \"C:\\Program Files\\Vantor\""),
              (Args{"", "install", "-computer", "PC1", "-port", "5650", "-path", "C:\\Program Files\\Vantor"}));
    EXPECT_EQ(Split(" createinifile -inifile Vantor.ini"), (Args{"", "createinifile", "-inifile", "Vantor.ini"}));
}

TEST(CommandLineArgumentsTest, ProgramArgumentHasSimplerRules) {
    EXPECT_EQ(Split("\"C:\\Program Files\\x.exe\" -a"), (Args{"C:\\Program Files\\x.exe", "-a"}));
    EXPECT_EQ(Split("C:\\dir\\\"x -a"), (Args{"C:\\dir\\\"x", "-a"}));
    // The quoted program ends at its quote; what follows starts the next argument.
    EXPECT_EQ(Split("\"prog\"rest b"), (Args{"prog", "rest", "b"}));
    EXPECT_EQ(Split("\"unterminated program"), (Args{"unterminated program"}));
}

TEST(CommandLineArgumentsTest, BackslashesCountOnlyBeforeAQuote) {
    EXPECT_EQ(Split("p a\\b a\\\\b"), (Args{"p", "a\\b", "a\\\\b"}));
    EXPECT_EQ(Split("p a\\\"b"), (Args{"p", "a\"b"}));          // 1 -> literal quote
    EXPECT_EQ(Split("p a\\\\\"b c\""), (Args{"p", "a\\b c"}));  // 2 -> 1, quote opens
    EXPECT_EQ(Split("p a\\\\\\\"b"), (Args{"p", "a\\\"b"}));    // 3 -> 1 + literal quote
    EXPECT_EQ(Split("p \"a\\\\\""), (Args{"p", "a\\"}));        // quoted, 2 before the close
    // A quoted path ending in one backslash swallows the closing quote.
    EXPECT_EQ(Split("p \"C:\\temp\\\" next"), (Args{"p", "C:\\temp\" next"}));
}

TEST(CommandLineArgumentsTest, QuotesGroupAndDoubledQuotesFollowTheRunRule) {
    EXPECT_EQ(Split("p \"a b\" c"), (Args{"p", "a b", "c"}));
    EXPECT_EQ(Split("p a\"b c\"d"), (Args{"p", "ab cd"}));
    EXPECT_EQ(Split("p \"\" x"), (Args{"p", "", "x"}));
    // "" in quotes gives a quote and closes them, so the quote after b opens again.
    EXPECT_EQ(Split("p \"a\"\"b\" c"), (Args{"p", "a\"b c"}));
    EXPECT_EQ(Split("p \"a\"\"b c\""), (Args{"p", "a\"b", "c"}));
    EXPECT_EQ(Split("p \"\"\"a\"\"\""), (Args{"p", "\"a\""}));
    EXPECT_EQ(Split("p \"unterminated arg"), (Args{"p", "unterminated arg"}));
}

TEST(CommandLineArgumentsTest, QuotedArgumentsSplitBackToThemselves) {
    struct Case {
        std::string argument;
        std::string quoted;
    };
    const Case cases[] = {
        {"PC1", "PC1"},
        {"", "\"\""},
        {"PC1 -inifile x", "\"PC1 -inifile x\""},
        {"C:\\Program Files\\Vantor", "\"C:\\Program Files\\Vantor\""},
        {"D:\\", "D:\\"},
        {"D:\\ x\\", "\"D:\\ x\\\\\""},
        {"a\"b", "\"a\\\"b\""},
        {"a\\\"b", "\"a\\\\\\\"b\""},
        {"tab\there", "\"tab\there\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"\"\"\"", "\"\\\"\\\"\\\"\""},
        {"x\" -port 1 \"y", "\"x\\\" -port 1 \\\"y\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(QuoteCommandLineArgument(c.argument), c.quoted);
        EXPECT_EQ(Split("p " + QuoteCommandLineArgument(c.argument) + " next"), (Args{"p", c.argument, "next"}));
    }
}

}  // namespace
}  // namespace vn

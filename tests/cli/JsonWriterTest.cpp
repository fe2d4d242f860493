#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "cli/Utf8Scan.h"

namespace vn::cli {
namespace {

using namespace std::string_literals;

TEST(JsonQuotedTest, EscapesQuotesBackslashesAndEveryControlCharacter) {
    EXPECT_EQ(JsonQuoted("pc1"), "\"pc1\"");
    EXPECT_EQ(JsonQuoted("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(JsonQuoted("\b\f\n\r\t"), R"("\b\f\n\r\t")");
    EXPECT_EQ(JsonQuoted("a\0b\x01\x1f"s), R"("a\u0000b\u0001\u001f")");
    EXPECT_EQ(JsonQuoted("\x7f"), R"("\u007f")");
    EXPECT_EQ(JsonQuoted("\x1b[2J"), R"("\u001b[2J")");
    EXPECT_EQ(JsonQuoted("\xC2\x9B"
                         "31m"),
              R"("\u009b31m")");  // C1 control sequence introducer
    EXPECT_EQ(JsonQuoted("a\xE2\x80\xA8"
                         "b\xE2\x80\xA9"),
              R"("a\u2028b\u2029")");
}

TEST(JsonQuotedTest, KeepsWellFormedUtf8AndReplacesEverythingElse) {
    EXPECT_EQ(JsonQuoted("Z\xC3\xBCrich \xE2\x98\x83 \xF0\x9F\x98\x80"),
              "\"Z\xC3\xBCrich \xE2\x98\x83 \xF0\x9F\x98\x80\"");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\xFF", R"("\ufffd")"},
        {"ab\xE2\x82", R"("ab\ufffd")"},  // cut short at the end: one replacement
        {"\xE2\x82"
         "A",
         R"("\ufffdA")"},                                       // cut short by an ASCII byte, which stays
        {"\xC0\xAF", R"("\ufffd\ufffd")"},                      // overlong "/"
        {"\xE0\x80\xAF", R"("\ufffd\ufffd\ufffd")"},            // overlong in three bytes
        {"\xED\xA0\x80", R"("\ufffd\ufffd\ufffd")"},            // UTF-16 surrogate
        {"\xF4\x90\x80\x80", R"("\ufffd\ufffd\ufffd\ufffd")"},  // past U+10FFFF
        {"\x80x", R"("\ufffdx")"},                              // lone continuation byte
        {"\xF0\x9F\x98", R"("\ufffd")"},                        // three of four bytes
    };
    for (const auto& [text, quoted] : cases)
        EXPECT_EQ(JsonQuoted(text), quoted) << ::testing::PrintToString(text);
}

// Whatever bytes come in, the result is one line of valid UTF-8 without raw
// control characters, and its only quotes are the outer ones or escaped.
TEST(JsonQuotedTest, AnyBytesGiveValidSingleLineUtf8) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 2000; ++round) {
        std::string text(static_cast<std::size_t>(round % 24), '\0');
        for (char& c : text)
            c = static_cast<char>(byte(random));
        const std::string quoted = JsonQuoted(text);
        ASSERT_GE(quoted.size(), 2u);
        ASSERT_EQ(quoted.front(), '"');
        ASSERT_EQ(quoted.back(), '"');
        bool escaped = false;
        for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
            const auto c = static_cast<unsigned char>(quoted[i]);
            ASSERT_GE(c, 0x20) << ::testing::PrintToString(text);
            ASSERT_TRUE(c != '"' || escaped) << ::testing::PrintToString(text);
            escaped = !escaped && c == '\\';
        }
        ASSERT_FALSE(escaped);
        ScanUtf8(quoted, [&](const Utf8Piece& piece) { ASSERT_TRUE(piece.valid) << ::testing::PrintToString(text); });
    }
}

TEST(JsonObjectWriterTest, WritesMembersInOrderOnOneLine) {
    std::ostringstream out;
    JsonObjectWriter(out)
        .String("name", "pc\"1")
        .StringOrNull("ip", std::nullopt)
        .StringOrNull("os", std::string("Windows XP v5.1"))
        .Bool("server", false)
        .StringArray("products", {"Vantor", "Kes\ntrel"})
        .StringArray("none", {})
        .ObjectArray("rows", {{{"a", "1"}, {"b\"", "x\ty"}}, {}})
        .ObjectArray("noRows", {});
    { JsonObjectWriter empty(out); }
    EXPECT_EQ(out.str(),
              "{\"name\":\"pc\\\"1\",\"ip\":null,\"os\":\"Windows XP v5.1\",\"server\":false,"
              "\"products\":[\"Vantor\",\"Kes\\ntrel\"],\"none\":[],"
              "\"rows\":[{\"a\":\"1\",\"b\\\"\":\"x\\ty\"},{}],\"noRows\":[]}\n{}\n");
}

TEST(TerminalTextTest, KeepsLinesButNoControlSequences) {
    EXPECT_EQ(TerminalText("Failed.\r\nError message: x\r\n"), "Failed.\nError message: x\n");
    EXPECT_EQ(TerminalText("a\tb"), "a\tb");
    EXPECT_EQ(TerminalText("\x1b]0;owned\x07"
                           "done"),
              "\\x1B]0;owned\\x07done");
    EXPECT_EQ(TerminalText("over\rwrite"), "over\\x0Dwrite");
    EXPECT_EQ(TerminalText("end\r"), "end\\x0D");
    EXPECT_EQ(TerminalText("\xC2\x9B"
                           "2J"),
              "\\x9B2J");
    EXPECT_EQ(TerminalText("bad\xFF\xE2\x82"), "bad\\xFF\\xE2\\x82");
    EXPECT_EQ(TerminalText("Z\xC3\xBCrich"), "Z\xC3\xBCrich");
}

}  // namespace
}  // namespace vn::cli

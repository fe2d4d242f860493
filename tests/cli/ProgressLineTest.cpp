#include <gtest/gtest.h>

#include <sstream>

#include "cli/ProgressLine.h"

namespace vn::cli {
namespace {

TEST(ProgressLineTest, ReadsAsDoneOfTotalTheCountTheTimeAndWhatIsUnderWay) {
    struct Case {
        long done, total;
        bool percent;
        const char* noun;
        int counted;
        const char* now;
        const char* expected;
    };
    const Case cases[] = {
        {3, 16, false, "found", 2, "Scanning 10.0.1.3", "3/16, 2 found, 0s: Scanning 10.0.1.3"},
        {37, 100, true, "", 0, "", "37%, 0s"},
        {0, 0, false, "", 0, "Computer 1 of 2 (pc1)", "0s: Computer 1 of 2 (pc1)"},
        // Names from the network reach the terminal harmless and on one line.
        {1, 2, false, "", 0, "evil\r\n\x1b[2Jname", "1/2, 0s: evil \\x1B[2Jname"},
    };
    for (const Case& c : cases) {
        std::ostringstream err;
        ProgressLine line(err, 80, c.noun);
        line.SetProgress(c.done, c.total, c.percent);
        for (int i = 0; i < c.counted; ++i)
            line.Count();
        line.SetNow(c.now);
        EXPECT_EQ(line.Text(), c.expected);
        line.Draw();
        EXPECT_EQ(err.str(), std::string("\r") + c.expected + "\x1b[K");
    }
}

TEST(ProgressLineTest, DrawsInPlaceNeverWiderThanTheTerminalAndLeavesItClean) {
    std::ostringstream err;
    ProgressLine line(err, 12, "");
    line.SetNow("\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9");  // eight é
    line.Draw();
    // Eleven characters: "0s: " and seven é, one column short of the width.
    EXPECT_EQ(err.str(), "\r0s: \xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\x1b[K");

    // Other output takes the line away first; a held line is not drawn.
    err.str({});
    line.Beside([&] { err << "{\"json\":1}\n"; });
    line.Hold(true);
    line.Draw(true);
    EXPECT_EQ(err.str(), "\r\x1b[K{\"json\":1}\n");
    line.Hold(false);
    line.Draw(true);
    line.Finish();
    const std::string drawn = err.str();
    EXPECT_EQ(drawn.substr(drawn.size() - 4), "\r\x1b[K") << "cleared at the end";
    line.Draw(true);
    EXPECT_EQ(err.str(), drawn) << "nothing after the end";
}

TEST(ProgressLineTest, WithoutATerminalNothingIsWritten) {
    std::ostringstream err;
    {
        ProgressLine line(err, 0, "found");
        line.SetProgress(1, 2);
        line.Draw(true);
        line.Beside([] {});
        line.Hold(true);
    }
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace vn::cli

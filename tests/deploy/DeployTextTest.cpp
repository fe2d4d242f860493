#include <gtest/gtest.h>

#include "deploy/InstallStatusSink.h"
#include "deploy/ToolDirectory.h"
#include "platform/Status.h"
#include "support/FakePlatform.h"

namespace vn {
namespace {

using Lines = std::vector<std::string>;

TEST(DeployTextTest, ToolDirectoryIsCutAfterTheLastSeparator) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Program Files\\Vantor\\Vantor.exe", "C:\\Program Files\\Vantor\\"},
        {"\"C:\\Program Files\\Vantor\\Vantor.exe\" -service -run", "C:\\Program Files\\Vantor\\"},
        {"/opt/vantor/Vantor.exe", "/opt/vantor/"},
        {"/opt/vantor\\x/Vantor.exe", "/opt/vantor\\x/"},
        {"Vantor.exe", "Vantor.exe"},      // no separator: the value stays whole
        {"\\Vantor.exe", "\\Vantor.exe"},  // the first character is never looked at
        {"", ""},
    };
    for (const auto& [imagePath, directory] : cases)
        EXPECT_EQ(ToolDirectoryOfImagePath(imagePath), directory) << imagePath;
}

TEST(DeployTextTest, ToolDirectoryComesFromTheMachineHive) {
    struct Case {
        std::uint32_t type;
        std::string value;
        std::string directory;
    };
    const Case cases[] = {
        {REG_SZ, "/opt/vantor/Vantor.exe", "/opt/vantor/"},
        {REG_EXPAND_SZ, "%ProgramFiles%\\Vantor\\Vantor.exe", "%ProgramFiles%\\Vantor\\"},
        {REG_BINARY, "/opt/vantor/Vantor.exe", ""},
        {REG_SZ, "/" + std::string(600, 'v') + "/Vantor.exe", ""},  // longer than the 520-byte buffer
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        std::vector<std::uint8_t> bytes(c.value.begin(), c.value.end());
        bytes.push_back(0);
        platform.Local().Key(Hive::LocalMachine, kToolServiceKey).Value(kToolImagePathValue, c.type, bytes);
        EXPECT_EQ(ReadToolDirectory(platform.registry()), c.directory) << c.value;
    }
    test::FakePlatform withoutHost;
    EXPECT_EQ(ReadToolDirectory(withoutHost.registry()), "");
    ASSERT_EQ(RecordToolProgram(withoutHost.registry(), "/opt/v/Vantor.exe"), ERROR_SUCCESS);
    EXPECT_EQ(ReadToolDirectory(withoutHost.registry()), "/opt/v/");
}

TEST(DeployTextTest, DetailEntriesLoseCarriageReturnsAndSplitAtLineFeeds) {
    const std::pair<std::string, Lines> cases[] = {
        {"one", {"one"}}, {"one\r", {"one"}}, {"a\r\nb\r\n", {"a", "b", ""}},
        {"a\rb", {"ab"}}, {"", {""}},         {"\n", {"", ""}},
    };
    for (const auto& [text, entries] : cases)
        EXPECT_EQ(DetailEntries(text), entries) << text;
}

TEST(DeployTextTest, OnlyTheTwoSpellingsOfErrorCount) {
    const std::pair<Lines, bool> cases[] = {
        {{"Installed."}, false}, {{"ok", "Error 5"}, true}, {{"an error occurred"}, true},
        {{"ERROR"}, false},      {{"errors: none"}, true},  {{}, false},
    };
    for (const auto& [lines, errors] : cases)
        EXPECT_EQ(DetailsShowErrors(lines), errors) << (lines.empty() ? "" : lines.front());
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cli/BashCompletion.h"
#include "cli/CommandLine.h"
#include "cli/CommandTable.h"
#include "cli/ManualPages.h"
#include "platform/TempDirectory.h"

namespace vn::cli {
namespace {

struct Output {
    std::string out;
    int status = -1;
};

Output Shell(const std::string& command) {
    Output result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    result.status = pclose(pipe);
    return result;
}

// The page as man shows it: one long line per paragraph, no hyphenation, so
// texts can be looked for whole; before it, groff's warnings at the usual
// 80 columns.
std::string Rendered(const TempDirectory& directory, const std::string& page) {
    const std::string file = directory.File("page.1");
    std::ofstream(file) << page;
    return Shell("groff -man -Tutf8 -ww -z " + file + " 2>&1").out +
           Shell("groff -man -Tutf8 -ww -rLL=2000n -rHY=0 -P-cbou " + file + " 2>&1").out;
}

TEST(ManualPagesTest, TheNetwardenPageShowsEveryCommandAndOptionAsHelpSpellsThem) {
    TempDirectory directory;
    const std::string shown = Rendered(directory, NetwardenManualPage("9.8.7"));
    EXPECT_EQ(shown.find("warning"), std::string::npos) << shown;
    std::vector<std::string> expected = {"netwarden [OPTIONS] COMMAND [ARGUMENTS]",
                                         "Vantor Netwarden 9.8.7",
                                         "C:\\Program Files\\Vantor\\",
                                         "\"entire network\"",
                                         "NETWARDEN_PASSWORD",
                                         "/var/lib/vantor-netwarden/machine-hive.db",
                                         "../share/vantor-netwarden/",
                                         std::string(ExitStatusHelp().substr(0, 30))};
    for (const CommandSpec& command : AllCommands())
        expected.push_back(Synopsis(command));
    for (const OptionSpec& option : AllOptions())
        expected.push_back(OptionSynopsis(option));
    for (const std::string& text : expected)
        EXPECT_NE(shown.find(text), std::string::npos) << text;
    // The window program's variable is not netwarden's.
    EXPECT_EQ(shown.find("NETWARDEN_UPDATE_HOST"), std::string::npos);
}

TEST(ManualPagesTest, TheWindowProgramPageNamesItsFiles) {
    TempDirectory directory;
    const std::string shown = Rendered(directory, WindowProgramManualPage("9.8.7"));
    EXPECT_EQ(shown.find("warning"), std::string::npos) << shown;
    for (const char* text : {"VtrNetwarden", "NETWARDEN_UPDATE_HOST", "VtrNetwarden_GroupPolicies.pdf", "netwarden(1)"})
        EXPECT_NE(shown.find(text), std::string::npos) << text;
    EXPECT_EQ(shown.find("NETWARDEN_PASSWORD"), std::string::npos);
}

// The completion as bash runs it: the words typed, the last one being completed.
TEST(BashCompletionTest, CompletesCommandsOptionsAndFiles) {
    TempDirectory directory;
    const std::string script = directory.File("netwarden");
    std::ofstream(script) << BashCompletionScript();
    std::ofstream(directory.File("hosts.txt")) << "pc1\n";
    const struct {
        const char* typed;  // after "netwarden", the last word being completed
        const char* offered;
    } cases[] = {
        {"pro", "probe products"},
        {"inventory ", "add-folder export import list remove rename-folder rescan"},
        {"--user 'DOM\\ann' inventory im", "import"},
        {"scan subnet 10.0.0.0/24 --",
         "--authfile --fast --folder --help --kerberos --no-resolve --parallel --ports --quiet --user --verbose"},
        {"-v deploy --f", "--file"},
        {"probe pc1 --f", ""},
        {"services pc1 ", ""},
        {"inventory import hos", "hosts.txt"},
        {"deploy --file hos", "hosts.txt"},
        {"--user hos", ""},
    };
    for (const auto& c : cases) {
        const std::string command = "cd " + directory.Path() +
                                    " && bash -c '. ./netwarden; "
                                    "eval \"COMP_WORDS=(netwarden $1)\"; [[ $1 == *\" \" ]] && COMP_WORDS+=(\"\"); "
                                    "COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _netwarden; "
                                    "printf \"%s\\n\" \"${COMPREPLY[@]}\" | sort | paste -sd \" \"' _ \"" +
                                    std::string(c.typed) + "\"";
        const Output output = Shell(command);
        EXPECT_EQ(output.status, 0) << c.typed;
        EXPECT_EQ(output.out, std::string(c.offered) + "\n") << c.typed;
    }
}

}  // namespace
}  // namespace vn::cli

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "ProgramTest.h"

namespace vn::cli {
namespace {

namespace fs = std::filesystem;

using test::ProgramOutcome;

// The built program, run as a script would run it.
class NetwardenProgramTest : public test::ProgramTest {
protected:
    ProgramOutcome Run(const QStringList& arguments, const fs::path& program = {}) {
        return runner_.Run(arguments, program);
    }

    fs::path ProgramCopy(const std::string& folder, const std::string& catalogue) {
        return runner_.CopyWithCatalogue(fs::path(directory_.Path()) / folder, catalogue);
    }
};

TEST_F(NetwardenProgramTest, HelpAndBadUsageGiveTheirExitStatusesAndStreams) {
    const ProgramOutcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: netwarden [OPTIONS] COMMAND", 0), 0u);
    EXPECT_EQ(help.err, "");

    const ProgramOutcome bad = Run({"inventory", "frob"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("netwarden: unknown command \"frob\"\n\nUsage: netwarden [OPTIONS] inventory", 0), 0u);
}

// Beside the program (the build tree), else in the installed data folder.
TEST_F(NetwardenProgramTest, TheCatalogueIsTheFileBesideTheProgramOrInstalled) {
    const std::string catalogue =
        "[Remote]\nDisplayName=Remote One\nServiceName=R1\nServicePath=Software\\Remote One\n";
    const fs::path root(directory_.Path());
    for (const fs::path& program :
         {runner_.CopyWithCatalogue(root / "with", catalogue), runner_.CopyInstalled(root / "usr", catalogue)}) {
        const ProgramOutcome withFile = Run({"products"}, program);
        EXPECT_EQ(withFile.exitCode, 0);
        EXPECT_EQ(withFile.err, "");
        EXPECT_NE(withFile.out.find("\n{\"name\":\"Kestrel\""), std::string::npos);
        EXPECT_NE(withFile.out.find("{\"name\":\"Remote One\",\"service\":\"R1\",\"path\":\"Software\\\\Remote "
                                    "One\",\"icon\":false}\n"),
                  std::string::npos)
            << program;
    }

    const fs::path lone = ProgramCopy("without", "");
    const ProgramOutcome withoutFile = Run({"products"}, lone);
    EXPECT_EQ(withoutFile.exitCode, 0);
    EXPECT_EQ(withoutFile.out.rfind("{\"name\":\"Vantor\"", 0), 0u);
    EXPECT_EQ(std::count(withoutFile.out.begin(), withoutFile.out.end(), '\n'), 2);
    EXPECT_NE(withoutFile.err.find("Could not open file \"" + (lone.parent_path() / "VtrNetwarden.ini").string()),
              std::string::npos);
}

// Without its helper a program cannot reach a computer at all ("cannot find
// the file"); installed, it finds the helper in libexec and gets as far as the
// silent address.
TEST_F(NetwardenProgramTest, AnInstalledProgramFindsItsHelper) {
    const fs::path root(directory_.Path());
    const struct {
        fs::path program;
        const char* error;
    } cases[] = {
        {runner_.CopyInstalled(root / "usr", ""), "\"error\":\"The network path was not found.\\r\\n\""},
        {runner_.CopyWithCatalogue(root / "lone", ""), "\"error\":\"The system cannot find the file specified."},
    };
    fs::remove(root / "lone/netwarden-smb-helper");
    for (const auto& c : cases) {
        const ProgramOutcome probed = Run({"probe", "127.0.0.9"}, c.program);
        EXPECT_EQ(probed.exitCode, 1);
        EXPECT_NE(probed.out.find(c.error), std::string::npos) << c.program << ": " << probed.out;
    }
}

TEST_F(NetwardenProgramTest, TheInventoryLivesInTheUserHive) {
    const ProgramOutcome added = Run({"inventory", "add-folder", "Lab/Sub"});
    EXPECT_EQ(added.exitCode, 0);
    ASSERT_TRUE(fs::exists(directory_.File("user.db")));
    EXPECT_EQ(fs::status(directory_.File("user.db")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    const ProgramOutcome listed = Run({"inventory", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out,
              "{\"path\":\"Lab\",\"folder\":true,\"expanded\":false}\n"
              "{\"path\":\"Lab/Sub\",\"folder\":true,\"expanded\":false}\n");
}

// A reader that went away (a closed pipe, as a directory server that hangs
// up) makes a write fail: the program reports it and ends by itself, even
// when it was started with SIGPIPE at its default.
TEST_F(NetwardenProgramTest, AReaderThatWentAwayIsAFailedWriteNotTheEndOfTheProgram) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    const std::string program = runner_.Program().string();
    std::string products = "products";
    char* arguments[] = {const_cast<char*>(program.c_str()), products.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &files, &attributes, arguments, environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    close(ends[1]);
    ASSERT_EQ(spawned, 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

// 127.0.0.9 is the address the test lab keeps free: nothing answers there.
TEST_F(NetwardenProgramTest, AComputerThatDoesNotAnswerGivesExitStatusOne) {
    runner_.Set("NETWARDEN_PASSWORD", "pw-8c1f2e");
    const ProgramOutcome probed = Run({"--user", "LAB\\ann", "-v", "probe", "127.0.0.9"});
    EXPECT_EQ(probed.exitCode, 1);
    EXPECT_EQ(probed.out.rfind("{\"name\":\"127.0.0.9\",\"ip\":null,", 0), 0u);
    EXPECT_EQ(probed.out.find("\"error\":null"), std::string::npos);
    EXPECT_NE(probed.err.find("Connecting to computer 127.0.0.9\n"), std::string::npos);
    EXPECT_EQ(probed.out.find("pw-8c1f2e"), std::string::npos);
    EXPECT_EQ(probed.err.find("pw-8c1f2e"), std::string::npos);
}

TEST_F(NetwardenProgramTest, ACredentialsFileOthersCanReadIsWarnedAbout) {
    const std::string file = directory_.File("credentials");
    std::ofstream(file) << "username = LAB\\ann\npassword = pw-8c1f2e\n";
    fs::permissions(file,
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    // A rescan of the empty tree reaches no computer but sets up the credentials.
    const ProgramOutcome open = Run({"--authfile", QString::fromStdString(file), "inventory", "rescan"});
    EXPECT_EQ(open.exitCode, 0);
    EXPECT_NE(open.err.find("Permissions 0644 for '" + file + "' are too open."), std::string::npos) << open.err;

    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    const ProgramOutcome private_ = Run({"--authfile", QString::fromStdString(file), "inventory", "rescan"});
    EXPECT_EQ(private_.exitCode, 0);
    EXPECT_EQ(private_.err, "");
}

TEST_F(NetwardenProgramTest, AUserWithoutPasswordOrTerminalIsRefused) {
    const ProgramOutcome refused = Run({"--user", "LAB\\ann", "probe", "127.0.0.9"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "netwarden: --user needs a password: set NETWARDEN_PASSWORD or run on a terminal\n");
}

}  // namespace
}  // namespace vn::cli

#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <filesystem>
#include <fstream>

#include "platform/TempDirectory.h"

namespace vn::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The built program, run as a script would run it: its own user hive, home
// and configuration in a temporary directory, no controlling terminal.
class NetwardenProgramTest : public ::testing::Test {
protected:
    NetwardenProgramTest() {
        const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
        program_ = binaryDir ? fs::path(binaryDir) / "bin" / "netwarden" : fs::path();
        environment_ = QProcessEnvironment::systemEnvironment();
        const auto set = [&](const char* name, const std::string& value) {
            environment_.insert(QString::fromLatin1(name), QString::fromStdString(value));
        };
        set("NETWARDEN_USER_HIVE", directory_.File("user.db"));
        set("NETWARDEN_MACHINE_HIVE", directory_.File("machine.db"));
        set("HOME", directory_.path());
        set("XDG_CONFIG_HOME", directory_.File("config"));
        set("KRB5CCNAME", "FILE:" + directory_.File("no-ticket"));
        environment_.remove(QStringLiteral("NETWARDEN_PASSWORD"));
        environment_.remove(QStringLiteral("NETWARDEN_AUTH_FILE"));
    }

    void SetUp() override {
        if (program_.empty() || !fs::exists(program_))
            GTEST_SKIP() << "netwarden is not built next to the tests";
    }

    Outcome Run(const QStringList& arguments, const fs::path& program = {}) {
        QProcess process;
        process.setProcessEnvironment(environment_);
        process.setChildProcessModifier([] { setsid(); });  // no terminal to ask a password on
        process.start(QString::fromStdString((program.empty() ? program_ : program).string()), arguments);
        EXPECT_TRUE(process.waitForStarted(10000));
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        return Outcome{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                       process.readAllStandardOutput().toStdString(),
                       process.readAllStandardError().toStdString()};
    }

    // A copy of the program in a folder of its own, with a catalogue file
    // beside it when one is given.
    fs::path ProgramCopy(const std::string& folder, const std::string& catalogue) {
        const fs::path bin = fs::path(directory_.path()) / folder;
        fs::create_directories(bin);
        fs::copy_file(program_, bin / "netwarden");
        if (!catalogue.empty())
            std::ofstream(bin / "VtrNetwarden.ini", std::ios::binary) << catalogue;
        return bin / "netwarden";
    }

    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[1] = {name_};
    QCoreApplication application_{argc_, argv_};
    TempDirectory directory_;
    fs::path program_;
    QProcessEnvironment environment_;
};

TEST_F(NetwardenProgramTest, HelpAndBadUsageGiveTheirExitStatusesAndStreams) {
    const Outcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: netwarden [OPTIONS] COMMAND", 0), 0u);
    EXPECT_EQ(help.err, "");

    const Outcome bad = Run({"inventory", "frob"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("netwarden: unknown command \"frob\"\n\nUsage: netwarden [OPTIONS] inventory", 0), 0u);
}

TEST_F(NetwardenProgramTest, TheCatalogueIsTheFileBesideTheProgram) {
    const Outcome withFile =
        Run({"products"}, ProgramCopy("with", "[Remote]\nDisplayName=Remote One\nServiceName=R1\n"
                                              "ServicePath=Software\\Remote One\n"));
    EXPECT_EQ(withFile.exitCode, 0);
    EXPECT_EQ(withFile.err, "");
    EXPECT_NE(withFile.out.find("\n{\"name\":\"Kestrel\""), std::string::npos);
    EXPECT_NE(withFile.out.find("{\"name\":\"Remote One\",\"service\":\"R1\",\"path\":\"Software\\\\Remote One\","
                                "\"icon\":false}\n"),
              std::string::npos);

    const fs::path lone = ProgramCopy("without", "");
    const Outcome withoutFile = Run({"products"}, lone);
    EXPECT_EQ(withoutFile.exitCode, 0);
    EXPECT_EQ(withoutFile.out.rfind("{\"name\":\"Vantor\"", 0), 0u);
    EXPECT_EQ(std::count(withoutFile.out.begin(), withoutFile.out.end(), '\n'), 2);
    EXPECT_NE(withoutFile.err.find("Could not open file \"" + (lone.parent_path() / "VtrNetwarden.ini").string()),
              std::string::npos);
}

TEST_F(NetwardenProgramTest, TheInventoryLivesInTheUserHive) {
    const Outcome added = Run({"inventory", "add-folder", "Lab/Sub"});
    EXPECT_EQ(added.exitCode, 0);
    EXPECT_TRUE(fs::exists(directory_.File("user.db")));
    const Outcome listed = Run({"inventory", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "{\"path\":\"Lab\",\"folder\":true,\"expanded\":false}\n"
                          "{\"path\":\"Lab/Sub\",\"folder\":true,\"expanded\":false}\n");
}

// 127.0.0.9 is the address the test lab keeps free: nothing answers there.
TEST_F(NetwardenProgramTest, AComputerThatDoesNotAnswerGivesExitStatusOne) {
    environment_.insert(QStringLiteral("NETWARDEN_PASSWORD"), QStringLiteral("pw-8c1f2e"));
    const Outcome probed = Run({"--user", "LAB\\ann", "-v", "probe", "127.0.0.9"});
    EXPECT_EQ(probed.exitCode, 1);
    EXPECT_EQ(probed.out.rfind("{\"name\":\"127.0.0.9\",\"ip\":null,", 0), 0u);
    EXPECT_EQ(probed.out.find("\"error\":null"), std::string::npos);
    EXPECT_NE(probed.err.find("Connecting to computer 127.0.0.9\n"), std::string::npos);
    EXPECT_EQ(probed.out.find("pw-8c1f2e"), std::string::npos);
    EXPECT_EQ(probed.err.find("pw-8c1f2e"), std::string::npos);
}

TEST_F(NetwardenProgramTest, AUserWithoutPasswordOrTerminalIsRefused) {
    const Outcome refused = Run({"--user", "LAB\\ann", "probe", "127.0.0.9"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "netwarden: --user needs a password: set NETWARDEN_PASSWORD or run on a terminal\n");
}

}  // namespace
}  // namespace vn::cli

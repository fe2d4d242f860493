#include <gtest/gtest.h>

#include <signal.h>

#include <QProcess>
#include <filesystem>
#include <fstream>

#include "ProgramTest.h"

namespace vn::cli {
namespace {

namespace fs = std::filesystem;

using test::ProgramOutcome;

// netwarden deploy running the stand-in tool, recorded as Vantor.exe of a
// folder of its own.
class NetwardenDeployTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        fs::create_directory(toolFolder_);
        fs::copy_file(VN_STAND_IN_TOOL, toolFolder_ / "Vantor.exe");
    }

    ProgramOutcome Run(const QStringList& arguments) { return runner_.Run(arguments); }

    // Reads from the running program until channel has shown text.
    static bool WaitFor(QProcess& program, QProcess::ProcessChannel channel, const std::string& text,
                        std::string& seen) {
        program.setReadChannel(channel);
        while (seen.find(text) == std::string::npos) {
            if (!program.waitForReadyRead(30000))
                return false;
            seen += program.readAll().toStdString();
        }
        return true;
    }

    fs::path toolFolder_ = fs::path(directory_.Path()) / "host";
};

TEST_F(NetwardenDeployTest, TheRecordedToolRunsForEachComputer) {
    const ProgramOutcome unrecorded = Run({"deploy-tool"});
    EXPECT_EQ(unrecorded.exitCode, 1);
    EXPECT_EQ(unrecorded.err,
              "netwarden: no deployment tool is recorded; record one with: netwarden deploy-tool PATH\n");

    const std::string directory = toolFolder_.string() + "/";
    const std::string json = "{\"tool\":\"" + directory + "Vantor.exe\",\"directory\":\"" + directory + "\"}\n";
    const ProgramOutcome recorded = Run({"deploy-tool", QString::fromStdString(toolFolder_.string())});
    EXPECT_EQ(recorded.exitCode, 0) << recorded.err;
    EXPECT_EQ(recorded.out, json);
    EXPECT_EQ(Run({"deploy-tool"}).out, json);

    const fs::path list = fs::path(directory_.Path()) / "targets.txt";
    std::ofstream(list) << "  lines \n\n\t\nPC2\nLINES\n";
    const ProgramOutcome deployed = Run({"deploy", "--file", QString::fromStdString(list.string()), "--port", "5650",
                                         "--settings", "--path", "D:\\Vantor\\"});
    EXPECT_EQ(deployed.exitCode, 0) << deployed.err;
    EXPECT_EQ(deployed.out,
              "args [install] [-computer] [lines] [-port] [5650] [-path] [D:\\Vantor]\none\ntwo\nthree\n"
              "args [createinifile] [-inifile] [Vantor.ini]\nsettings written\n"
              "args [loadinifile] [-inifile] [Vantor.ini] [-computer] [lines]\none\ntwo\nthree\n"
              "args [install] [-computer] [PC2] [-port] [5650] [-path] [D:\\Vantor]\n"
              "args [createinifile] [-inifile] [Vantor.ini]\nsettings written\n"
              "args [loadinifile] [-inifile] [Vantor.ini] [-computer] [PC2]\n"
              "Vantor was installed on 2 computer(s).\n");
    EXPECT_EQ(deployed.err, "netwarden: LINES: The specified computer already exists\n");
    EXPECT_TRUE(fs::exists(toolFolder_ / "Vantor.ini"));

    // Only the computer whose tool run printed no error and ended with status 0 counts.
    const ProgramOutcome failing = Run({"deploy", "failing", "quitting", "PC3"});
    EXPECT_EQ(failing.exitCode, 1);
    EXPECT_EQ(failing.out,
              "args [install] [-computer] [failing] [-port] [2002] [-path] [C:\\Program Files\\Vantor]\n"
              "Error 53: The network path was not found.\n"
              "args [install] [-computer] [quitting] [-port] [2002] [-path] [C:\\Program Files\\Vantor]\n"
              "setup ended early\nError: Vantor.exe ended with exit status 3\n"
              "args [install] [-computer] [PC3] [-port] [2002] [-path] [C:\\Program Files\\Vantor]\n"
              "Vantor was installed on 1 computer(s).\n");
}

// An import file's line is read only as far as any name could go: a longer
// one is refused by its length, never cut to a shorter name.
TEST_F(NetwardenDeployTest, AnOverlongLineOfTheFileIsRefusedByItsLength) {
    ASSERT_EQ(Run({"deploy-tool", QString::fromStdString(toolFolder_.string())}).exitCode, 0);
    const fs::path list = fs::path(directory_.Path()) / "targets.txt";
    std::ofstream(list) << "PC1\n" << std::string(1 << 20, 'x') << "\n";
    const ProgramOutcome refused = Run({"deploy", "--file", QString::fromStdString(list.string())});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("\"" + std::string(256, 'x') +
                               "\" cannot be a computer name: it is longer than 255 "
                               "bytes."),
              std::string::npos)
        << refused.err.substr(0, 400);
}

TEST_F(NetwardenDeployTest, CtrlCStopsAfterTheToolsRunAndASecondEndsAHangingTool) {
    ASSERT_EQ(Run({"deploy-tool", QString::fromStdString(toolFolder_.string())}).exitCode, 0);
    struct Case {
        const char* host;
        const char* waitFor;
        int interrupts;
        std::string out;
    };
    const Case cases[] = {
        // Without a terminal the question is answered Yes.
        {"slow", "waiting", 1, "waiting\nwent\nCancelled.\nVantor was installed on 1 computer(s).\n"},
        {"forever", "hanging", 2, "hanging\nCancelled.\nVantor was installed on 0 computer(s).\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        std::unique_ptr<QProcess> program = runner_.Start({"deploy", c.host, "PC2"});
        std::string out, err;
        ASSERT_TRUE(WaitFor(*program, QProcess::StandardOutput, c.waitFor, out));
        kill(static_cast<pid_t>(program->processId()), SIGINT);
        ASSERT_TRUE(WaitFor(*program, QProcess::StandardError, "stopping after the tool's current run", err));
        if (c.interrupts == 2) {
            kill(static_cast<pid_t>(program->processId()), SIGINT);
            ASSERT_TRUE(WaitFor(*program, QProcess::StandardError, "ending the deployment tool", err));
        } else {
            std::ofstream(toolFolder_ / "go").flush();
        }
        ASSERT_TRUE(program->waitForFinished(60000));
        out += program->readAllStandardOutput().toStdString();
        EXPECT_EQ(out.substr(out.find('\n') + 1), c.out);
        EXPECT_EQ(program->exitCode(), 1);
        // PC2 was never reached.
        EXPECT_EQ(out.find("PC2"), std::string::npos);
    }
}

}  // namespace
}  // namespace vn::cli

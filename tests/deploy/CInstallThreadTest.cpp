#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "deploy/CInstallThread.h"
#include "deploy/RecordingInstallSink.h"
#include "platform/Event.h"
#include "platform/TempDirectory.h"
#include "platform/local/LocalProcesses.h"

namespace vn {
namespace {

using Lines = std::vector<std::string>;

InstallTarget Target(std::string host, std::string path = "C:\\Program Files\\Vantor\\", int settings = 0) {
    return {std::move(host), std::move(path), 5650, settings};
}

// The stand-in tool as Vantor.exe of a tool directory of its own.
class CInstallThreadTest : public ::testing::Test {
protected:
    CInstallThreadTest() : toolDirectory_(directory_.Path() + "/") {
        std::filesystem::create_symlink(VN_STAND_IN_TOOL, directory_.File("Vantor.exe"));
    }
    ~CInstallThreadTest() override { EndPipeHolder(); }

    // Whether the run completed.
    bool Run() {
        CInstallThread runner(processes_, targets_, toolDirectory_, sink_);
        EXPECT_TRUE(runner.Start());
        runner.Wait();
        return runner.Completed();
    }

    void EndPipeHolder() {
        std::ifstream file(directory_.File("holder.pid"));
        pid_t pid = 0;
        if (file >> pid && pid > 0)
            kill(pid, SIGKILL);
    }

    TempDirectory directory_;
    std::string toolDirectory_;
    LocalProcesses processes_;
    std::vector<InstallTarget> targets_;
    test::RecordingInstallSink sink_;
};

TEST_F(CInstallThreadTest, EachValueReachesTheToolAsOneArgument) {
    struct Case {
        InstallTarget target;
        Lines arguments;
    };
    const Case cases[] = {
        {Target("PC1"), {"args [install] [-computer] [PC1] [-port] [5650] [-path] [C:\\Program Files\\Vantor]"}},
        {Target("PC1", "D:\\"), {"args [install] [-computer] [PC1] [-port] [5650] [-path] [D:]"}},
        // Only one trailing backslash goes.
        {Target("PC1", "D:\\x\\\\"), {"args [install] [-computer] [PC1] [-port] [5650] [-path] [D:\\x\\]"}},
        {Target("PC1", "C:\\a\" -port 1 \"b"),
         {"args [install] [-computer] [PC1] [-port] [5650] [-path] [C:\\a\" -port 1 \"b]"}},
        {Target("PC1", ""), {"args [install] [-computer] [PC1] [-port] [5650] [-path] []"}},
        {Target("PC1", "C:\\V\\", 1),
         {"args [install] [-computer] [PC1] [-port] [5650] [-path] [C:\\V]",
          "args [createinifile] [-inifile] [Vantor.ini]",
          "args [loadinifile] [-inifile] [Vantor.ini] [-computer] [PC1]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target.destinationPath);
        test::RecordingInstallSink sink;
        std::vector<InstallTarget> targets{c.target};
        CInstallThread runner(processes_, targets, toolDirectory_, sink);
        ASSERT_TRUE(runner.Start());
        runner.Wait();
        EXPECT_EQ(sink.ArgumentLines(), c.arguments);
        EXPECT_EQ(sink.Calls().back(), "EndRun Vantor was installed on 1 computer(s).");
    }
    // The settings run writes its file into the tool directory, where it stays.
    EXPECT_TRUE(std::filesystem::exists(directory_.File("Vantor.ini")));
}

// The tool's lines, and what they and its exit status make of the summary:
// a computer counts as installed only when neither tells of an error.
TEST_F(CInstallThreadTest, ToolOutputBecomesDetailEntries) {
    struct Case {
        std::string host;
        Lines entries;
        bool errors;
        int installed = 1;
    };
    const std::string full(4095, 'x');
    const Case cases[] = {
        {"lines", {"one", "two", "three"}, false},
        // A line longer than the buffer is cut, never overrunning it.
        {"long", {full, full, std::string(10000 - 2 * 4095, 'x'), "after"}, false},
        // A line that just fits is one entry, whose line feed ends no other.
        {"exact", {full, std::string(4094, 'y')}, false},
        // A line that comes in two reads is one entry.
        {"dribble", {"parted", "next"}, false},
        {"zero", {"ab"}, false},
        {"unfinished", {"no line feed"}, false},
        // Its child still holds the pipe: the output ends with the tool.
        {"holder", {"parent done"}, false},
        {"failing", {"Error 53: The network path was not found."}, true, 0},
        {"shouting", {"ERROR IN CAPITALS ONLY"}, false},
        {"quitting", {"setup ended early", "Error: Vantor.exe ended with exit status 3"}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        test::RecordingInstallSink sink;
        std::vector<InstallTarget> targets{Target(c.host)};
        CInstallThread runner(processes_, targets, toolDirectory_, sink);
        ASSERT_TRUE(runner.Start());
        runner.Wait();
        EXPECT_EQ(sink.ToolText(), c.entries);
        EXPECT_EQ(sink.Calls().back(), "EndRun Vantor was installed on " + std::to_string(c.installed) +
                                           " computer(s)." + (c.errors ? " errors" : ""));
        EndPipeHolder();
    }
}

TEST_F(CInstallThreadTest, ARunReportsInOrder) {
    targets_ = {Target("lines"), Target("PC2", "C:\\V\\", 1)};
    EXPECT_TRUE(Run());
    EXPECT_EQ(sink_.Calls(), (Lines{"BeginRun 2", "SetAnimating on", "SetComputerLine Computer 1 of 2 (lines)",
                                    "SetTotalPos 1", "SetComputerLine Computer 2 of 2 (PC2)", "SetTotalPos 2",
                                    "EndRun Vantor was installed on 2 computer(s)."}));
    EXPECT_EQ(sink_.Details().size(), 1u + 3u + 3u + 1u);  // four tool runs, three lines of text
}

TEST_F(CInstallThreadTest, ImpossibleHostNamesNeverReachTheTool) {
    const std::string longest(255, 'p');
    targets_ = {Target("PC1 -inifile x"), Target("PC\"2"),       Target("-inifile"), Target(""),
                Target("PC\t3"),          Target(longest + "p"), Target("PC4"),      Target(longest)};
    Run();
    EXPECT_EQ(
        sink_.ArgumentLines(),
        (Lines{"args [install] [-computer] [PC4] [-port] [5650] [-path] [C:\\Program Files\\Vantor]",
               "args [install] [-computer] [" + longest + "] [-port] [5650] [-path] [C:\\Program Files\\Vantor]"}));
    const Lines details = sink_.Details();
    ASSERT_GE(details.size(), 6u);
    EXPECT_EQ(details[0],
              "Error: \"PC1 -inifile x\" cannot be a computer name: it holds a blank, a quote or a control character. "
              "The computer is skipped.");
    EXPECT_EQ(details[2],
              "Error: \"-inifile\" cannot be a computer name: it begins with \"-\". The computer is "
              "skipped.");
    EXPECT_EQ(details[3], "Error: A computer name cannot be empty. The computer is skipped.");
    EXPECT_EQ(details[4],
              "Error: \"PC?3\" cannot be a computer name: it holds a blank, a quote or a control "
              "character. The computer is skipped.");
    EXPECT_EQ(details[5], "Error: \"" + longest +
                              "p\" cannot be a computer name: it is longer than 255 bytes. The "
                              "computer is skipped.");
    EXPECT_EQ(sink_.Calls().back(), "EndRun Vantor was installed on 2 computer(s). errors");
}

TEST_F(CInstallThreadTest, FailuresEndTheRunWithTheirEntry) {
    struct Case {
        std::string toolDirectory;
        Lines details;
        bool animates;
    };
    const Case cases[] = {
        {"", {"Could not get the Vantor path from the registry. "}, false},
        // No tool in the directory, or a directory that is none here.
        {directory_.File("empty") + "/", {"Could not start Vantor.exe"}, true},
        {"C:\\Program Files\\Vantor\\", {"Could not start Vantor.exe"}, true},
    };
    std::filesystem::create_directory(directory_.File("empty"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toolDirectory);
        test::RecordingInstallSink sink;
        std::vector<InstallTarget> targets{Target("PC1"), Target("PC2")};
        CInstallThread runner(processes_, targets, c.toolDirectory, sink);
        ASSERT_TRUE(runner.Start());
        runner.Wait();
        EXPECT_EQ(sink.Details(), c.details);
        EXPECT_FALSE(runner.Completed());
        const Lines calls = sink.Calls();
        EXPECT_EQ(calls.back(), "EndRun Vantor was installed on 0 computer(s).");
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetAnimating on"), c.animates ? 1 : 0);
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetTotalPos 1"), 0);
    }
}

TEST_F(CInstallThreadTest, AStopRequestIsAnsweredBetweenToolRuns) {
    struct Case {
        bool answer;
        bool duringSettings;  // the request comes while the settings file is written, not the install
        Lines argumentsAfterTheFirst;
        std::string last;
        int installed;
    };
    const std::string question[] = {"Are you sure you want to stop installation?",
                                    "Are you sure you want to stop the setting installation?"};
    const Case cases[] = {
        // No: the same computer's settings runs follow, then the next computer.
        {false,
         false,
         {"args [createinifile] [-inifile] [Vantor.ini]",
          "args [loadinifile] [-inifile] [Vantor.ini] [-computer] [slow]",
          "args [install] [-computer] [PC2] [-port] [5650] [-path] [C:\\Program Files\\Vantor]"},
         "args [install] [-computer] [PC2] [-port] [5650] [-path] [C:\\Program Files\\Vantor]",
         2},
        {true, false, {}, "Cancelled.", 1},
        // Yes after the settings file is written: its loading never runs.
        {true, true, {"args [createinifile] [-inifile] [Vantor.ini]"}, "Cancelled.", 1},
        {false,
         true,
         {"args [createinifile] [-inifile] [Vantor.ini]",
          "args [loadinifile] [-inifile] [Vantor.ini] [-computer] [PC1]",
          "args [install] [-computer] [PC2] [-port] [5650] [-path] [C:\\Program Files\\Vantor]"},
         "args [install] [-computer] [PC2] [-port] [5650] [-path] [C:\\Program Files\\Vantor]",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.answer) + (c.duringSettings ? " settings" : " install"));
        std::filesystem::remove(directory_.File("go"));
        std::filesystem::remove(directory_.File("settings.hold"));
        if (c.duringSettings)
            std::ofstream(directory_.File("settings.hold")).flush();
        test::RecordingInstallSink sink;
        sink.answers = {c.answer};
        std::vector<InstallTarget> targets{Target(c.duringSettings ? "PC1" : "slow", "C:\\V\\", 1), Target("PC2")};
        CInstallThread runner(processes_, targets, toolDirectory_, sink);
        // The request comes while the tool first waits; the question only once it has ended.
        sink.onDetails = [&, requested = false](const std::string& entry) mutable {
            if (entry == "waiting" && !std::exchange(requested, true)) {
                runner.GetStopEvent().Set();
                std::ofstream(directory_.File("go")).flush();
            }
        };
        ASSERT_TRUE(runner.Start());
        runner.Wait();
        Lines arguments = sink.ArgumentLines();
        arguments.erase(arguments.begin());
        EXPECT_EQ(arguments, c.argumentsAfterTheFirst);
        const Lines details = sink.Details();
        EXPECT_EQ(details.back(), c.last);
        EXPECT_NE(std::find(details.begin(), details.end(), "went"), details.end());
        const Lines calls = sink.Calls();
        const auto asked = std::find(calls.begin(), calls.end(), "AskToStop " + question[c.duringSettings ? 1 : 0]);
        ASSERT_NE(asked, calls.end());
        EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                                [](const std::string& call) { return call.rfind("AskToStop", 0) == 0; }),
                  1);
        EXPECT_EQ(*(asked - 1), "SetAnimating off");
        EXPECT_EQ(*(asked + 1), c.answer ? calls.back() : "SetAnimating on");
        EXPECT_EQ(calls.back(), "EndRun Vantor was installed on " + std::to_string(c.installed) + " computer(s).");
        EXPECT_EQ(runner.Completed(), !c.answer);
    }
}

// Whether the process has ended (gone, or a zombie nobody collected yet).
bool ProcessEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    return line.find(") Z") != std::string::npos;
}

TEST_F(CInstallThreadTest, EndingAHangingToolEndsItsGroupAndTheRunWithoutAQuestion) {
    targets_ = {Target("forever"), Target("PC2")};
    Event hanging(Event::Mode::ManualReset);
    sink_.onDetails = [&](const std::string& entry) {
        if (entry == "hanging")
            hanging.Set();
    };
    CInstallThread runner(processes_, targets_, toolDirectory_, sink_);
    ASSERT_TRUE(runner.Start());
    hanging.WaitForever();
    pid_t holder = 0;
    std::ifstream(directory_.File("holder.pid")) >> holder;
    ASSERT_GT(holder, 0);
    runner.EndTool();
    runner.Wait();
    EXPECT_EQ(sink_.Details().back(), "Cancelled.");
    const Lines calls = sink_.Calls();
    EXPECT_EQ(
        std::count_if(calls.begin(), calls.end(), [](const std::string& call) { return call.rfind("Ask", 0) == 0; }),
        0);
    EXPECT_EQ(sink_.ArgumentLines().size(), 1u);
    EXPECT_EQ(calls.back(), "EndRun Vantor was installed on 0 computer(s).");
    EXPECT_FALSE(runner.Completed());
    // The tool's child, which held the pipe, went with it.
    for (int i = 0; i < 500 && !ProcessEnded(holder); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(ProcessEnded(holder));
}

}  // namespace
}  // namespace vn

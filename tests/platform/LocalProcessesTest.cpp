#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/TempDirectory.h"
#include "platform/local/LocalProcesses.h"
#include "platform/local/LocalStatusCodes.h"

using namespace std::chrono_literals;

namespace vn {
namespace {

// Reads until the end of the output; the status that ended it in *end.
std::string ReadAll(ChildProcess& child, Status* end = nullptr) {
    std::string text;
    char buffer[7];  // small on purpose: many reads
    std::size_t read = 0;
    Status status;
    while ((status = child.ReadOutput(buffer, sizeof buffer, &read)) == ERROR_SUCCESS)
        text.append(buffer, read);
    if (end)
        *end = status;
    return text;
}

class LocalProcessesTest : public ::testing::Test {
protected:
    std::unique_ptr<LocalChildProcess> Start(std::string_view program, std::string_view commandLine,
                                             std::string_view directory = "") {
        std::unique_ptr<LocalChildProcess> child;
        EXPECT_EQ(processes_.StartLocal(program, commandLine, directory, child), ERROR_SUCCESS) << commandLine;
        return child;
    }
    LocalProcesses processes_;
};

TEST_F(LocalProcessesTest, StandardInputAndOutputAreConnectedPipes) {
    auto cat = Start("/bin/cat", "cat");
    ASSERT_NE(cat, nullptr);
    const std::string text = "line one\r\nline two\n";
    ASSERT_EQ(cat->WriteInput(text.data(), text.size()), ERROR_SUCCESS);
    cat->CloseInput();  // cat ends only if no copy of this end leaked into it
    Status end = ERROR_SUCCESS;
    EXPECT_EQ(ReadAll(*cat, &end), text);
    EXPECT_EQ(end, ERROR_BROKEN_PIPE);
    std::size_t read = 1;
    char byte;
    EXPECT_EQ(cat->ReadOutput(&byte, 1, &read), ERROR_BROKEN_PIPE);
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(cat->Wait(), 0u);
    EXPECT_EQ(cat->WriteInput("x", 1), ERROR_INVALID_HANDLE);
}

TEST_F(LocalProcessesTest, StandardErrorJoinsTheOutputAndTheExitCodeComesBack) {
    auto shell = Start("/bin/sh", "sh -c \"echo out; echo err 1>&2; exit 3\"");
    EXPECT_EQ(ReadAll(*shell), "out\nerr\n");
    EXPECT_EQ(shell->Wait(), 3u);
    EXPECT_EQ(shell->Wait(), 3u);
}

TEST_F(LocalProcessesTest, ArgumentsReachTheProgramUninterpreted) {
    auto echo = Start("/bin/echo", "echo a;b $(id) `id` \"x  y\" 'q' \\\"z\\\" *");
    EXPECT_EQ(ReadAll(*echo), "a;b $(id) `id` x  y 'q' \"z\" *\n");
    EXPECT_EQ(echo->Wait(), 0u);

    // argv[0] is the command line's first argument, empty after a leading blank.
    auto shell = Start("/bin/sh", " -c \"echo [$0]\"");
    EXPECT_EQ(ReadAll(*shell), "[]\n");
}

TEST_F(LocalProcessesTest, WorkingDirectoryIsHonoured) {
    TempDirectory dir;
    auto pwd = Start("/bin/pwd", "pwd", dir.Path());
    EXPECT_EQ(ReadAll(*pwd), std::filesystem::canonical(dir.Path()).string() + "\n");
}

TEST_F(LocalProcessesTest, FailuresToStartGiveWindowsCodes) {
    std::unique_ptr<ChildProcess> child;
    EXPECT_EQ(processes_.Start("/nonexistent/Vantor.exe", " install", "", child), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(processes_.Start("/bin/no-such-program", "x", "", child), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(processes_.Start("/bin", "bin", "", child), ERROR_ACCESS_DENIED);
    EXPECT_EQ(processes_.Start("/bin/true", "true", "/no/such/dir", child), ERROR_DIRECTORY);
    EXPECT_EQ(processes_.Start("", "", "", child), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(child, nullptr);
    // An empty program runs the first argument found on PATH.
    EXPECT_EQ(processes_.Start("", "echo found", "", child), ERROR_SUCCESS);
    EXPECT_EQ(ReadAll(*child), "found\n");
}

TEST_F(LocalProcessesTest, NoDescriptorOfOursLeaksIntoTheChild) {
    // A descriptor opened elsewhere without close-on-exec.
    const int stray = fcntl(STDIN_FILENO, F_DUPFD, 50);
    ASSERT_GE(stray, 0);
    const std::string check =
        "sh -c \"if [ -e /proc/self/fd/" + std::to_string(stray) + " ]; then echo leaked; else echo clean; fi\"";
    auto shell = Start("/bin/sh", check);
    EXPECT_EQ(ReadAll(*shell), "clean\n");
    close(stray);
}

TEST_F(LocalProcessesTest, OutputEndsWithTheProgramEvenWhenItsChildHoldsThePipe) {
    const auto started = std::chrono::steady_clock::now();
    auto shell = Start("/bin/sh", "sh -c \"sleep 3 & echo started\"");
    Status end = ERROR_SUCCESS;
    EXPECT_EQ(ReadAll(*shell, &end), "started\n");
    EXPECT_EQ(end, ERROR_BROKEN_PIPE);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
}

TEST_F(LocalProcessesTest, TerminateEndsTheProgramAtOnce) {
    const auto started = std::chrono::steady_clock::now();
    auto sleeper = Start("/bin/sleep", "sleep 30");
    sleeper->Terminate();
    EXPECT_EQ(sleeper->Wait(), 128u + 9u);
    EXPECT_EQ(ReadAll(*sleeper), "");
    sleeper->Terminate();  // after the end: nothing happens
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

// Whether the process has ended (gone, or a zombie nobody collected yet).
bool ProcessEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const std::size_t nameEnd = line.rfind(')');
    return nameEnd != std::string::npos && line.compare(nameEnd, 3, ") Z") == 0;
}

TEST_F(LocalProcessesTest, TheProgramLeadsAGroupThatTerminateEndsWhole) {
    auto shell = Start("/bin/sh", "sh -c \"sleep 30 & echo $!; wait\"");
    std::string line;
    char c = 0;
    std::size_t read = 0;
    while (shell->ReadOutput(&c, 1, &read) == ERROR_SUCCESS && c != '\n')
        line += c;
    const pid_t grandchild = std::stoi(line);
    EXPECT_EQ(getpgid(shell->Pid()), shell->Pid());
    EXPECT_EQ(getpgid(grandchild), shell->Pid());

    shell->Terminate();
    EXPECT_EQ(shell->Wait(), 128u + 9u);
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!ProcessEnded(grandchild) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_TRUE(ProcessEnded(grandchild));
}

TEST_F(LocalProcessesTest, AProgramThatOutlivesItsHandleIsCollectedWhenItEnds) {
    pid_t pid = 0;
    {
        auto sleeper = Start("/bin/sleep", "sleep 0.2");
        pid = sleeper->Pid();
    }
    // Once collected, the pid no longer names a process of ours (no zombie).
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (waitid(P_PID, static_cast<id_t>(pid), nullptr, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    EXPECT_EQ(kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST_F(LocalProcessesTest, ClosingOutputAfterTheEndKeepsWhatWasWritten) {
    // The deploy runner's waiter closes the output once the tool has ended,
    // possibly before the reader has read everything.
    auto echo = Start("/bin/echo", "echo last words");
    EXPECT_EQ(echo->Wait(), 0u);
    echo->CloseInput();
    echo->CloseOutput();
    EXPECT_EQ(ReadAll(*echo), "last words\n");
}

TEST_F(LocalProcessesTest, ClosingOutputReleasesABlockedReader) {
    auto sleeper = Start("/bin/sleep", "sleep 30");
    Status end = ERROR_SUCCESS;
    std::thread reader([&] { ReadAll(*sleeper, &end); });
    std::this_thread::sleep_for(100ms);
    sleeper->CloseOutput();
    reader.join();
    EXPECT_EQ(end, ERROR_BROKEN_PIPE);
    sleeper->Terminate();
    sleeper->Wait();
}

TEST_F(LocalProcessesTest, WaitOnOneThreadAndReadOnAnotherAsTheDeployRunnerDoes) {
    for (int run = 0; run < 3; ++run) {
        auto shell = Start("/bin/sh", "sh -c \"for i in 1 2 3 4 5; do echo line $i; done\"");
        std::string text;
        std::thread reader([&] { text = ReadAll(*shell); });
        std::thread waiter([&] {
            shell->Wait();
            shell->CloseInput();
            shell->CloseOutput();
        });
        waiter.join();
        reader.join();
        EXPECT_EQ(text, "line 1\nline 2\nline 3\nline 4\nline 5\n");
    }
}

TEST_F(LocalProcessesTest, WritingToAProgramThatStoppedReadingGivesBrokenPipe) {
    auto truth = Start("/bin/true", "true");
    truth->Wait();
    const std::string text(100000, 'x');
    EXPECT_EQ(truth->WriteInput(text.data(), text.size()), ERROR_BROKEN_PIPE);
}

}  // namespace
}  // namespace vn

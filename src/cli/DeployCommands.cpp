#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <unordered_set>

#include "cli/Commands.h"
#include "cli/DeployProgressSink.h"
#include "cli/DeployTextSink.h"
#include "cli/Interrupt.h"
#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "deploy/CInstallThread.h"
#include "deploy/DestinationPathSetting.h"
#include "deploy/TargetNameFile.h"
#include "deploy/ToolCommandLines.h"
#include "deploy/ToolDirectory.h"
#include "platform/NameFolding.h"
#include "platform/SystemErrorText.h"

namespace vn::cli {
namespace {

constexpr std::int32_t kDefaultPort = 2002;
// A Ctrl+C interrupts the wait at once; this only bounds a signal that
// arrives just before the wait begins.
constexpr int kInterruptCheckMilliseconds = 100;

// Both ends of a pipe that tells the waiting thread that the run has ended.
struct EndPipe {
    int fds[2] = {-1, -1};
    EndPipe() {
        if (pipe2(fds, O_CLOEXEC) != 0)
            fds[0] = fds[1] = -1;
    }
    ~EndPipe() {
        for (int fd : fds)
            if (fd >= 0)
                close(fd);
    }
    void Signal() const {
        const char byte = 1;
        if (fds[1] >= 0 && write(fds[1], &byte, 1) < 0) {
            // The reader waits for this only while the run lasts.
        }
    }
};

bool ParsePort(const std::string& text, std::int32_t& port) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, port);
    return error == std::errc() && stop == end && port >= 0 && port <= 65535;
}

// Asked on a terminal; without one the answer is Yes, since nobody could
// give another.
bool AskOnTerminal(std::ostream& err, const std::string& question) {
    if (!isatty(STDIN_FILENO))
        return true;
    err << TerminalText(question) << " [y/n] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return true;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

// The targets the command line names, each once. Empty with the exit status
// set when they cannot be had.
std::vector<InstallTarget> CommandTargets(CommandContext& context, int& failure) {
    const CommandLine& line = context.line;
    std::vector<InstallTarget> targets;
    if (context.operands.empty() == !line.file) {
        failure = context.BadUsage(line.file ? "computer names and --file exclude each other" : "missing argument");
        return {};
    }
    InstallTarget model;
    model.port = kDefaultPort;
    if (line.port && !ParsePort(*line.port, model.port)) {
        failure = context.BadUsage("option --port takes a number from 0 to 65535");
        return {};
    }
    std::vector<std::string> names = context.operands;
    if (line.file && !ReadTargetNames(*line.file, names)) {
        failure = context.Fail("could not open file \"" + *line.file + "\".");
        return {};
    }
    if (names.empty()) {
        failure = context.Fail(*line.file + ": no computer names");
        return {};
    }
    for (const std::string& name : names) {
        if (const std::string problem = HostNameProblem(name); !problem.empty()) {
            failure = context.BadUsage(problem);
            return {};
        }
    }
    model.destinationPath = line.path ? *line.path : ReadDefaultDestinationPath(context.host.platform().registry());
    model.useLocalSettings = line.settings ? 1 : 0;
    std::unordered_set<std::string> listed;  // folded names, for a check in linear time
    listed.reserve(names.size());
    targets.reserve(names.size());
    for (std::string& name : names) {
        if (!listed.insert(FoldRegistryName(name)).second) {
            context.Warn(name + ": The specified computer already exists");
            continue;
        }
        targets.push_back(model);
        targets.back().hostName = std::move(name);
    }
    return targets;
}

}  // namespace

int RunDeploy(CommandContext& context) {
    int failure = kExitDone;
    const std::vector<InstallTarget> targets = CommandTargets(context, failure);
    if (targets.empty())
        return failure;
    Platform& platform = context.host.platform();
    const std::string toolDirectory = ReadToolDirectory(platform.registry());

    EndPipe ended;
    std::ostream& err = context.host.err();
    DeployTextSink sink(
        context.host.out(), err, context.line.verbose,
        [&err](const std::string& question) { return AskOnTerminal(err, question); }, [&ended] { ended.Signal(); });
    ProgressLine line(err, context.ProgressColumns(), "");
    DeployProgressSink progress(sink, line);
    CInstallThread runner(platform.processes(), targets, toolDirectory, progress);
    {
        InterruptCatcher interrupts;
        runner.Start();
        // Ctrl+C asks to stop after the tool's current run; a second one
        // before that question ends a tool that hangs.
        while (runner.IsRunning()) {
            pollfd end{ended.fds[0], POLLIN, 0};
            const int ready = poll(&end, 1, kInterruptCheckMilliseconds);
            if (interrupts.TakeRequest()) {
                if (sink.stopPending.exchange(true)) {
                    line.Beside([&] { context.Warn("ending the deployment tool"); });
                    runner.EndTool();
                } else {
                    line.Beside([&] {
                        context.Warn("stopping after the tool's current run (Ctrl+C again ends the tool now)");
                    });
                    runner.GetStopEvent().Set();
                }
            } else if (ready != 0 && !(ready < 0 && errno == EINTR)) {
                break;
            }
            line.Draw();
        }
        runner.Wait();
    }
    return sink.Errors() || !runner.Completed() ? kExitIncomplete : kExitDone;
}

int RunDeployTool(CommandContext& context) {
    Registry& registry = context.host.platform().registry();
    if (!context.operands.empty()) {
        std::error_code error;
        std::filesystem::path program = std::filesystem::absolute(context.operands.front(), error);
        if (std::filesystem::is_directory(program, error))
            program /= kToolFileName;
        if (program.filename() != kToolFileName)
            return context.BadUsage("the deployment tool's file is named " + std::string(kToolFileName));
        if (!std::filesystem::is_regular_file(program, error))
            return context.Fail(program.string() + ": no such file");
        if (const Status status = RecordToolProgram(registry, program.string()); status != ERROR_SUCCESS)
            return context.Fail("could not record the tool in this computer's machine hive: " +
                                SystemErrorText(status));
    }
    const std::string directory = ReadToolDirectory(registry);
    if (directory.empty())
        return context.Fail("no deployment tool is recorded; record one with: netwarden deploy-tool PATH");
    JsonObjectWriter(context.host.out())
        .String("tool", directory + std::string(kToolFileName))
        .String("directory", directory);
    return kExitDone;
}

}  // namespace vn::cli

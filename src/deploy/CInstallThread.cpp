#include "deploy/CInstallThread.h"

#include <chrono>

#include "core/StatusSink.h"
#include "deploy/ToolCommandLines.h"
#include "deploy/ToolDirectory.h"
#include "platform/Status.h"

namespace vn {
namespace {

constexpr const char* kInstallStopQuestion = "Are you sure you want to stop installation?";
constexpr const char* kSettingsStopQuestion = "Are you sure you want to stop the setting installation?";
constexpr const char* kCancelled = "Cancelled.";
// The start's answer when no descriptors are left for the two pipes.
constexpr Status kTooManyOpenFiles = 4;

}  // namespace

CInstallThread::CInstallThread(Processes& processes, const std::vector<InstallTarget>& targets,
                               const std::string& toolDirectory, InstallStatusSink& sink)
    : processes_(processes),
      targets_(targets),
      toolDirectory_(toolDirectory),
      sink_(sink) {}

CInstallThread::~CInstallThread() { Wait(); }

bool CInstallThread::Start() { return StartThread(); }

void CInstallThread::EndTool() {
    {
        std::lock_guard lock(toolLock_);
        toolEnded_ = true;
        if (tool_)
            tool_->Terminate();
    }
    GetStopEvent().Set();
}

void CInstallThread::Run() {
    const int count = static_cast<int>(targets_.size());
    sink_.BeginRun(count);
    int installed = 0;
    if (toolDirectory_.empty()) {
        Report("Could not get the " + std::string(kToolProductName) + " path from the registry. ");
    } else {
        sink_.SetAnimating(true);
        bool ended = false;
        for (int k = 1; k <= count; ++k) {
            const InstallTarget& target = targets_[static_cast<std::size_t>(k - 1)];
            sink_.SetComputerLine(FormatText("Computer %d of %d (%s)", k, count, target.hostName));
            // A name no computer can have never reaches the tool's command line.
            if (const std::string problem = HostNameProblem(target.hostName); !problem.empty()) {
                Report("Error: " + problem + " The computer is skipped.");
            } else {
                bool done = false;
                const bool goOn = Deploy(target, done);
                installed += done ? 1 : 0;
                if (!goOn) {
                    ended = true;
                    break;
                }
            }
            sink_.SetTotalPos(k);
        }
        completed_ = !ended;
    }
    sink_.EndRun(FormatText("%s was installed on %d computer(s).", std::string(kToolProductName), installed),
                 errorsReported_);
}

bool CInstallThread::Deploy(const InstallTarget& target, bool& installed) {
    ToolOutcome outcome = RunTool(InstallCommandLine(target), kInstallStopQuestion, installed);
    if (outcome == ToolOutcome::Done && target.useLocalSettings != 0) {
        bool ran = false;
        outcome = RunTool(CreateSettingsCommandLine(), kSettingsStopQuestion, ran);
        if (outcome == ToolOutcome::Done)
            outcome = RunTool(LoadSettingsCommandLine(target.hostName), kSettingsStopQuestion, ran);
    }
    return outcome == ToolOutcome::Done;
}

CInstallThread::ToolOutcome CInstallThread::RunTool(const std::string& commandLine, const std::string& stopQuestion,
                                                    bool& succeeded) {
    if (ToolEnded()) {
        Report(kCancelled);
        return ToolOutcome::Stopped;
    }
    if (const ToolOutcome started = StartTool(commandLine); started != ToolOutcome::Done)
        return started;
    // From here to the waiter's end only the reading touches the tool's output.
    waiter_.Start(*tool_);
    const bool printedError = ReadToolOutput(*tool_);
    waiter_.Stop();
    {
        std::lock_guard lock(toolLock_);
        tool_.reset();
    }
    // An ended tool did not finish its work, and its status is our doing.
    const bool ran = !ToolEnded();
    const std::uint32_t exitStatus = waiter_.ExitStatus();
    if (ran && exitStatus != 0)
        Report(FormatText("Error: %s ended with exit status %u", std::string(kToolFileName), exitStatus));
    succeeded = ran && exitStatus == 0 && !printedError;
    return AnswerStopRequest(stopQuestion);
}

CInstallThread::ToolOutcome CInstallThread::StartTool(const std::string& commandLine) {
    std::unique_ptr<ChildProcess> tool;
    const Status status =
        processes_.Start(toolDirectory_ + std::string(kToolFileName), commandLine, toolDirectory_, tool);
    if (status == kTooManyOpenFiles) {
        Report("Could not create pipe.");
        return ToolOutcome::NoPipe;
    }
    if (status != ERROR_SUCCESS) {
        Report("Could not start " + std::string(kToolFileName));
        return ToolOutcome::StartFailed;
    }
    std::lock_guard lock(toolLock_);
    if (toolEnded_)
        tool->Terminate();  // EndTool came while it started
    tool_ = std::move(tool);
    return ToolOutcome::Done;
}

bool CInstallThread::ReadToolOutput(ChildProcess& tool) {
    bool error = false;
    std::vector<std::string> lines;
    // The lines of one block go to the sink in one text: its entries are
    // the same as line by line, at one call.
    const auto add = [&] {
        std::string text;
        for (const std::string& line : lines) {
            if (&line != &lines.front())
                text += '\n';
            text += line;
        }
        lines.clear();
        error = Report(text) || error;
    };
    while (lines_.ReadLines(tool, lines)) {
        if (!lines.empty())
            add();
    }
    // A last line without its line feed is still the tool's word.
    if (std::string line; lines_.TakeUnfinishedLine(line)) {
        lines.push_back(std::move(line));
        add();
    }
    return error;
}

CInstallThread::ToolOutcome CInstallThread::AnswerStopRequest(const std::string& stopQuestion) {
    if (!GetStopEvent().Wait(std::chrono::milliseconds(0)))
        return ToolOutcome::Done;
    bool stop = ToolEnded();
    if (!stop) {
        sink_.SetAnimating(false);
        stop = sink_.AskToStop(stopQuestion) || ToolEnded();
    }
    if (stop) {
        Report(kCancelled);
        return ToolOutcome::Stopped;
    }
    sink_.SetAnimating(true);
    return ToolOutcome::Done;
}

bool CInstallThread::Report(const std::string& text) {
    const bool error = DetailsShowErrors(DetailEntries(text));
    errorsReported_ = errorsReported_ || error;
    sink_.AddDetails(text);
    return error;
}

bool CInstallThread::ToolEnded() {
    std::lock_guard lock(toolLock_);
    return toolEnded_;
}

}  // namespace vn

#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "deploy/CProcessWaiter.h"
#include "deploy/InstallStatusSink.h"
#include "deploy/InstallTarget.h"
#include "deploy/ToolOutputLines.h"
#include "platform/Processes.h"
#include "platform/WorkerThread.h"

namespace vn {

// Runs the deployment tool for every target in list order: once to install,
// and twice more to copy this computer's settings when the target asks for
// it. Every tool line goes to the sink as it arrives; a stop request (the
// stop event) is answered between two tool runs with the sink's question.
// Whether any entry told of an error is noted as the entries pass, so the
// sink may keep as few of them as it likes.
// Started at most once; the targets and the tool directory must not change
// while it runs.
class CInstallThread : public WorkerThread {
public:
    enum class ToolOutcome { Done, Stopped, StartFailed, NoPipe };

    CInstallThread(Processes& processes, const std::vector<InstallTarget>& targets, const std::string& toolDirectory,
                   InstallStatusSink& sink);
    ~CInstallThread() override;

    bool Start();

    // For closing the program while a tool run hangs: ends the tool run under
    // way with everything it started, and ends the deployment at the next
    // step without asking (the details say "Cancelled.").
    void EndTool();

    // After the run: whether it went over every target (neither stopped nor
    // ended by a failure to run the tool).
    bool Completed() const { return completed_.load(); }

protected:
    void Run() override;

private:
    // succeeded: the tool ran to its end (EndTool did not end it) with exit
    // status 0 and printed no error line.
    ToolOutcome RunTool(const std::string& commandLine, const std::string& stopQuestion, bool& succeeded);
    ToolOutcome StartTool(const std::string& commandLine);
    // Whether any line the tool printed told of an error.
    bool ReadToolOutput(ChildProcess& tool);
    ToolOutcome AnswerStopRequest(const std::string& stopQuestion);
    // Adds text to the details; whether it tells of an error.
    bool Report(const std::string& text);
    // Installs on one target; false when the run has to end. installed: the
    // install run of the tool succeeded.
    bool Deploy(const InstallTarget& target, bool& installed);
    bool ToolEnded();

    Processes& processes_;
    const std::vector<InstallTarget>& targets_;
    const std::string& toolDirectory_;
    InstallStatusSink& sink_;
    CProcessWaiter waiter_;
    ToolOutputLines lines_;

    std::mutex toolLock_;  // around tool_ where EndTool may use it
    std::unique_ptr<ChildProcess> tool_;
    bool toolEnded_ = false;  // EndTool was called
    bool errorsReported_ = false;
    std::atomic<bool> completed_{false};
};

}  // namespace vn

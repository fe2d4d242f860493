#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "deploy/InstallStatusSink.h"

namespace vn::test {

// Records every call as one line of text, keeps the details, answers the stop
// questions from a script (No when it runs out) and calls onDetails with each
// entry, so a test can act at a chosen point of the tool's output.
class RecordingInstallSink : public InstallStatusSink {
public:
    void BeginRun(int count) override {
        Log("BeginRun " + std::to_string(count));
        std::lock_guard lock(mutex_);
        details_.clear();
    }
    void SetAnimating(bool on) override { Log(on ? "SetAnimating on" : "SetAnimating off"); }
    void SetComputerLine(const std::string& text) override { Log("SetComputerLine " + text); }
    void AddDetails(const std::string& text) override {
        for (const std::string& entry : DetailEntries(text)) {
            {
                std::lock_guard lock(mutex_);
                details_.push_back(entry);
            }
            if (onDetails)
                onDetails(entry);
        }
    }
    void SetTotalPos(int position) override { Log("SetTotalPos " + std::to_string(position)); }
    bool AskToStop(const std::string& question) override {
        Log("AskToStop " + question);
        std::lock_guard lock(mutex_);
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void EndRun(const std::string& summary, bool errors) override {
        Log("EndRun " + summary + (errors ? " errors" : ""));
    }

    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    std::vector<std::string> Details() {
        std::lock_guard lock(mutex_);
        return details_;
    }
    // The details that are not the stand-in tool's echo of its arguments.
    std::vector<std::string> ToolText() {
        std::vector<std::string> text;
        for (const std::string& line : Details())
            if (line.rfind("args ", 0) != 0)
                text.push_back(line);
        return text;
    }
    std::vector<std::string> ArgumentLines() {
        std::vector<std::string> lines;
        for (const std::string& line : Details())
            if (line.rfind("args ", 0) == 0)
                lines.push_back(line);
        return lines;
    }

    std::deque<bool> answers;
    std::function<void(const std::string&)> onDetails;

private:
    void Log(std::string call) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(call));
    }

    std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<std::string> details_;
};

}  // namespace vn::test

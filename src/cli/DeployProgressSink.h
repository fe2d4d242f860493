#pragma once

#include "cli/ProgressLine.h"
#include "deploy/InstallStatusSink.h"

namespace vn::cli {

// Puts a deployment on a progress line (computers done of all, the computer
// under way) while the text sink it wraps prints everything else, with the
// line taken away for each of its writes.
class DeployProgressSink final : public InstallStatusSink {
public:
    DeployProgressSink(InstallStatusSink& text, ProgressLine& line) : text_(text), line_(line) {}

    void BeginRun(int count) override;
    void SetAnimating(bool on) override { text_.SetAnimating(on); }
    void SetComputerLine(const std::string& text) override;
    void AddDetails(const std::string& text) override;
    void SetTotalPos(int position) override;
    bool AskToStop(const std::string& question) override;
    void EndRun(const std::string& summary, bool errors) override;

private:
    InstallStatusSink& text_;
    ProgressLine& line_;
    int count_ = 0;
};

}  // namespace vn::cli

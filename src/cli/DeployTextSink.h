#pragma once

#include <atomic>
#include <functional>
#include <ostream>
#include <string>

#include "deploy/InstallStatusSink.h"

namespace vn::cli {

// The deployment as text: every entry of the details on standard output the
// moment it comes (and nowhere else: the output is the record), the computer
// lines on standard error when verbose, the summary on standard output at
// the end. The stop question goes to ask.
class DeployTextSink final : public InstallStatusSink {
public:
    // ended runs after the summary is out.
    DeployTextSink(std::ostream& out, std::ostream& err, bool verbose, std::function<bool(const std::string&)> ask,
                   std::function<void()> ended)
        : out_(out),
          err_(err),
          verbose_(verbose),
          ask_(std::move(ask)),
          ended_(std::move(ended)) {}

    void BeginRun(int) override {}
    void SetAnimating(bool) override {}
    void SetComputerLine(const std::string& text) override;
    void AddDetails(const std::string& text) override;
    void SetTotalPos(int) override {}
    bool AskToStop(const std::string& question) override;
    void EndRun(const std::string& summary, bool errors) override;

    // Whether EndRun reported errors; read once the run has ended.
    bool Errors() const { return errors_; }
    // Whether a stop request waits for its question (set by the caller).
    std::atomic<bool> stopPending{false};

private:
    std::ostream& out_;
    std::ostream& err_;
    const bool verbose_;
    std::function<bool(const std::string&)> ask_;
    std::function<void()> ended_;
    bool errors_ = false;
};

}  // namespace vn::cli

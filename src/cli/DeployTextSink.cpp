#include "cli/DeployTextSink.h"

#include "cli/TerminalText.h"

namespace vn::cli {

void DeployTextSink::BeginRun(int) {
    std::lock_guard lock(mutex_);
    details_.clear();
}

void DeployTextSink::SetComputerLine(const std::string& text) {
    if (verbose_)
        err_ << TerminalText(text) << '\n' << std::flush;
}

void DeployTextSink::AddDetails(const std::string& text) {
    std::lock_guard lock(mutex_);
    for (std::string& entry : DetailEntries(text)) {
        out_ << TerminalText(entry) << '\n';
        details_.push_back(std::move(entry));
    }
    out_ << std::flush;
}

bool DeployTextSink::AskToStop(const std::string& question) {
    stopPending = false;
    return ask_(question);
}

std::vector<std::string> DeployTextSink::DetailLines() {
    std::lock_guard lock(mutex_);
    return details_;
}

void DeployTextSink::EndRun(const std::string& summary, bool errors) {
    errors_ = errors;
    out_ << TerminalText(summary) << '\n' << std::flush;
    if (ended_)
        ended_();
}

}  // namespace vn::cli

#include "cli/DeployTextSink.h"

#include "cli/TerminalText.h"

namespace vn::cli {

void DeployTextSink::SetComputerLine(const std::string& text) {
    if (verbose_)
        err_ << TerminalText(text) << '\n' << std::flush;
}

void DeployTextSink::AddDetails(const std::string& text) {
    for (const std::string& entry : DetailEntries(text))
        out_ << TerminalText(entry) << '\n';
    out_ << std::flush;
}

bool DeployTextSink::AskToStop(const std::string& question) {
    stopPending = false;
    return ask_(question);
}

void DeployTextSink::EndRun(const std::string& summary, bool errors) {
    errors_ = errors;
    out_ << TerminalText(summary) << '\n' << std::flush;
    if (ended_)
        ended_();
}

}  // namespace vn::cli

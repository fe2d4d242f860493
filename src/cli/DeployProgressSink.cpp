#include "cli/DeployProgressSink.h"

namespace vn::cli {

void DeployProgressSink::BeginRun(int count) {
    count_ = count;
    line_.SetProgress(0, count);
    text_.BeginRun(count);
}

void DeployProgressSink::SetComputerLine(const std::string& text) {
    line_.SetNow(text);
    line_.Beside([&] { text_.SetComputerLine(text); });
}

void DeployProgressSink::AddDetails(const std::string& text) {
    line_.Beside([&] { text_.AddDetails(text); });
}

void DeployProgressSink::SetTotalPos(int position) {
    line_.SetProgress(position, count_);
    text_.SetTotalPos(position);
}

bool DeployProgressSink::AskToStop(const std::string& question) {
    // The answer is typed on the terminal: no line may be drawn meanwhile.
    line_.Hold(true);
    const bool stop = text_.AskToStop(question);
    line_.Hold(false);
    return stop;
}

void DeployProgressSink::EndRun(const std::string& summary, bool errors) {
    line_.Finish();
    text_.EndRun(summary, errors);
}

}  // namespace vn::cli

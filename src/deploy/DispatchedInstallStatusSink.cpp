#include "deploy/DispatchedInstallStatusSink.h"

namespace vn {

void DispatchedInstallStatusSink::BeginRun(int count) {
    dispatcher_.Call([&] { target_.BeginRun(count); });
}

void DispatchedInstallStatusSink::SetAnimating(bool on) {
    dispatcher_.Call([&] { target_.SetAnimating(on); });
}

void DispatchedInstallStatusSink::SetComputerLine(const std::string& text) {
    dispatcher_.Call([&] { target_.SetComputerLine(text); });
}

void DispatchedInstallStatusSink::AddDetails(const std::string& text) {
    dispatcher_.Call([&] { target_.AddDetails(text); });
}

void DispatchedInstallStatusSink::SetTotalPos(int position) {
    dispatcher_.Call([&] { target_.SetTotalPos(position); });
}

bool DispatchedInstallStatusSink::AskToStop(const std::string& question) {
    // A page that is gone before it could answer stops the run.
    bool stop = true;
    dispatcher_.Call([&] { stop = target_.AskToStop(question); });
    return stop;
}

void DispatchedInstallStatusSink::EndRun(const std::string& summary, bool errors) {
    dispatcher_.Call([&] { target_.EndRun(summary, errors); });
}

}  // namespace vn

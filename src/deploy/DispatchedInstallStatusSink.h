#pragma once

#include "core/BlockingCallDispatcher.h"
#include "deploy/InstallStatusSink.h"

namespace vn {

// An InstallStatusSink for the runner whose calls are carried out on the
// thread of the progress page (target) while the runner waits.
class DispatchedInstallStatusSink final : public InstallStatusSink {
public:
    DispatchedInstallStatusSink(BlockingCallDispatcher dispatcher, InstallStatusSink& target)
        : dispatcher_(std::move(dispatcher)),
          target_(target) {}

    void BeginRun(int count) override;
    void SetAnimating(bool on) override;
    void SetComputerLine(const std::string& text) override;
    void AddDetails(const std::string& text) override;
    void SetTotalPos(int position) override;
    bool AskToStop(const std::string& question) override;
    void EndRun(const std::string& summary, bool errors) override;

private:
    BlockingCallDispatcher dispatcher_;
    InstallStatusSink& target_;
};

}  // namespace vn

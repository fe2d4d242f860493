#pragma once

#include "core/BlockingCallDispatcher.h"
#include "core/StatusSink.h"

namespace vn {

// A StatusSink for workers whose calls are carried out on the thread of the
// status display (target), one at a time, while the worker waits.
class DispatchedStatusSink final : public StatusSink {
public:
    DispatchedStatusSink(BlockingCallDispatcher dispatcher, StatusSink& target)
        : dispatcher_(std::move(dispatcher)),
          target_(target) {}

    void Reset() override;
    void Show(bool show) override;
    void ShowIdle() override;
    bool IsShown() override;
    void SetStatusText(const std::string& text) override;
    void SetRange(int upper) override;
    void Step() override;
    void SetPos(int position) override;

private:
    BlockingCallDispatcher dispatcher_;
    StatusSink& target_;
};

}  // namespace vn

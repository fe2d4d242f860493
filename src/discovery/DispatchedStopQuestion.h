#pragma once

#include "core/BlockingCallDispatcher.h"
#include "discovery/StopQuestion.h"

namespace vn {

// Asks another StopQuestion on the thread of the dispatcher's target (the
// window's), while the scan waits. When that thread's receiver is gone and
// nobody can answer, the scan stops.
class DispatchedStopQuestion final : public StopQuestion {
public:
    DispatchedStopQuestion(BlockingCallDispatcher dispatcher, StopQuestion& target)
        : dispatcher_(std::move(dispatcher)),
          target_(target) {}

    bool ConfirmStop(std::string_view caption, std::string_view text) override;

private:
    BlockingCallDispatcher dispatcher_;
    StopQuestion& target_;
};

}  // namespace vn

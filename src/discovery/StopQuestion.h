#pragma once

#include <string_view>

namespace vn {

// How a scan makes sure that a stop request is meant before it stops: the
// window asks the user, the command line takes Ctrl+C itself as the answer.
// Asked on the scan's own thread.
class StopQuestion {
public:
    virtual ~StopQuestion() = default;
    // True when the scan is to stop.
    virtual bool ConfirmStop(std::string_view caption, std::string_view text) = 0;
};

// Asks with a Yes/No question box of the current message-box service, on the
// calling thread.
class MessageBoxStopQuestion final : public StopQuestion {
public:
    bool ConfirmStop(std::string_view caption, std::string_view text) override;
};

}  // namespace vn

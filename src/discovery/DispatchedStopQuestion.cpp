#include "discovery/DispatchedStopQuestion.h"

namespace vn {

bool DispatchedStopQuestion::ConfirmStop(std::string_view caption, std::string_view text) {
    bool stop = true;
    dispatcher_.Call([&] { stop = target_.ConfirmStop(caption, text); });
    return stop;
}

}  // namespace vn

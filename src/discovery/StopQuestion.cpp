#include "discovery/StopQuestion.h"

#include "core/MessageBoxService.h"

namespace vn {

bool MessageBoxStopQuestion::ConfirmStop(std::string_view caption, std::string_view text) {
    return ShowMessage(caption, text, MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace vn

#include "RecordingMessageBoxService.h"

#include <cstdio>

namespace vn {

MessageAnswer RecordingMessageBoxService::Show(std::string_view caption, std::string_view text, MessageIcon,
                                               MessageButtons buttons) {
    ++count_;
    std::fprintf(stderr, "netwarden_screens: message box \"%.*s\": %.*s\n", static_cast<int>(caption.size()),
                 caption.data(), static_cast<int>(text.size()), text.data());
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

}  // namespace vn

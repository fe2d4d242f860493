#include "support/ScriptedMessageBoxService.h"

namespace vn::test {

ScriptedMessageBoxService::ScriptedMessageBoxService() : previous_(InstallMessageBoxService(this)) {}

ScriptedMessageBoxService::~ScriptedMessageBoxService() { InstallMessageBoxService(previous_); }

void ScriptedMessageBoxService::QueueAnswer(MessageAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
}

std::vector<ScriptedMessageBoxService::Box> ScriptedMessageBoxService::Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

MessageAnswer ScriptedMessageBoxService::Show(std::string_view caption, std::string_view text, MessageIcon icon,
                                              MessageButtons buttons) {
    std::lock_guard lock(mutex_);
    boxes_.push_back(Box{std::string(caption), std::string(text), icon, buttons});
    if (!answers_.empty()) {
        MessageAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    switch (buttons) {
    case MessageButtons::Ok: return MessageAnswer::Ok;
    case MessageButtons::YesNo: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

}  // namespace vn::test

#pragma once

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "core/MessageBoxService.h"

namespace vn::test {

// A message-box service for tests: records every box and answers from a
// queue; with the queue empty it answers as a dismissed box would (OK, No or
// Cancel). While alive it is the current service.
class ScriptedMessageBoxService final : public MessageBoxService {
public:
    struct Box {
        std::string caption;
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    ScriptedMessageBoxService();
    ~ScriptedMessageBoxService() override;

    void QueueAnswer(MessageAnswer answer);
    std::vector<Box> Boxes() const;

    MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    mutable std::mutex mutex_;
    std::deque<MessageAnswer> answers_;
    std::vector<Box> boxes_;
    MessageBoxService* previous_;
};

}  // namespace vn::test

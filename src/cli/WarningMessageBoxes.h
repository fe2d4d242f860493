#pragma once

#include "cli/CommandContext.h"
#include "core/MessageBoxService.h"

namespace vn::cli {

// What the window program would show in a message box goes to standard
// error as a warning; questions are answered as if dismissed.
class WarningMessageBoxes final : public MessageBoxService {
public:
    explicit WarningMessageBoxes(const CommandContext& context) : context_(context) {}

    MessageAnswer Show(std::string_view, std::string_view text, MessageIcon, MessageButtons buttons) override {
        context_.Warn(text);
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }

private:
    const CommandContext& context_;
};

}  // namespace vn::cli

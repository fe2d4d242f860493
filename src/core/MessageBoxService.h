#pragma once

#include <string>
#include <string_view>

namespace vn {

enum class MessageIcon { None, Stop, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Every message box of the program goes through the current service: the
// window program installs one that shows real boxes, the scripting front end
// one that writes to standard error, and tests a scripted one.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

// The caption that message boxes carry unless another is named.
inline constexpr std::string_view kAppCaption = "Vantor Netwarden";

MessageBoxService& CurrentMessageBoxService();

// Makes service current (null restores the default) and gives the previous one.
MessageBoxService* InstallMessageBoxService(MessageBoxService* service);

// Shorthand for CurrentMessageBoxService().Show.
MessageAnswer ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon,
                          MessageButtons buttons = MessageButtons::Ok);

}  // namespace vn

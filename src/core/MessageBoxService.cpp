#include "core/MessageBoxService.h"

#include <atomic>
#include <cstdio>

namespace vn {
namespace {

// Without a user interface: the text goes to standard error and the box is
// answered as if dismissed (No, Cancel or OK).
class StderrMessageBoxService final : public MessageBoxService {
public:
    MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon, MessageButtons buttons) override {
        std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(caption.size()), caption.data(),
                     static_cast<int>(text.size()), text.data());
        switch (buttons) {
        case MessageButtons::YesNo: return MessageAnswer::No;
        case MessageButtons::Ok: return MessageAnswer::Ok;
        default: return MessageAnswer::Cancel;
        }
    }
};

StderrMessageBoxService g_stderrService;
std::atomic<MessageBoxService*> g_current{&g_stderrService};

}  // namespace

MessageBoxService& CurrentMessageBoxService() { return *g_current.load(); }

MessageBoxService* InstallMessageBoxService(MessageBoxService* service) {
    return g_current.exchange(service ? service : &g_stderrService);
}

MessageAnswer ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon, MessageButtons buttons) {
    return CurrentMessageBoxService().Show(caption, text, icon, buttons);
}

}  // namespace vn

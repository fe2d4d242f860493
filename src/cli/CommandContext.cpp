#include "cli/CommandContext.h"

#include "cli/TerminalText.h"

namespace vn::cli {
namespace {

std::string_view WithoutLineEnd(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

int CommandContext::BadUsage(std::string_view reason) const {
    host.err() << "netwarden: " << TerminalText(reason) << "\n\n" << usage << std::flush;
    return kExitUsage;
}

int CommandContext::Fail(std::string_view message) const {
    Warn(message);
    return kExitIncomplete;
}

void CommandContext::Warn(std::string_view message) const {
    host.err() << "netwarden: " << TerminalText(WithoutLineEnd(message)) << '\n' << std::flush;
}

void CommandContext::Status(std::string_view text) const {
    if (line.verbose)
        host.err() << TerminalText(WithoutLineEnd(text)) << '\n' << std::flush;
}

}  // namespace vn::cli

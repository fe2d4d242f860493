#pragma once

#include <string>
#include <string_view>

namespace vn::cli {

// text made safe for a terminal: status lines and messages carry names that
// came from the network, the registry or files. Windows line ends become
// "\n"; other control characters (C0, DEL, C1) and bytes that are not UTF-8
// are written as "\xNN", so no escape sequence reaches the terminal.
std::string TerminalText(std::string_view text);

}  // namespace vn::cli

#pragma once

#include <string>
#include <string_view>

namespace vn::cli {

// Asks for a password on the controlling terminal (not standard input, which
// a pipeline may own) without echoing it. False when there is no terminal or
// the answer was not given.
bool ReadPasswordFromTerminal(std::string_view prompt, std::string& password);

}  // namespace vn::cli

#pragma once

#include <string>

namespace vn::cli {

// A bash completion script for netwarden, made from the command and option
// tables: command words, each command's options, and file names where a
// command or option takes a FILE or LIST.
std::string BashCompletionScript();

}  // namespace vn::cli

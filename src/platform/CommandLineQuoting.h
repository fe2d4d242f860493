#pragma once

#include <string>
#include <string_view>

namespace vn {

// One argument written for a Windows command line so that splitting the line
// by the Windows rules (as CommandLineToArgvW does, for any argument but the
// program) gives back exactly this text as one argument: left bare when it
// is not empty and holds no blank, tab, line break or double quote, otherwise
// in double quotes with every backslash run before a quote (and before the
// closing quote) doubled and every quote escaped.
std::string QuoteCommandLineArgument(std::string_view argument);

}  // namespace vn

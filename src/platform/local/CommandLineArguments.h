#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vn {

// Splits a Windows command line into arguments exactly as CommandLineToArgvW
// does. The first argument (the program) ends at the next blank or tab, or,
// when it begins with a double quote, at the next double quote; backslashes
// mean nothing in it, and a line that begins with a blank gives an empty
// first argument. In the arguments after it:
// - blanks and tabs outside quotes separate arguments;
// - 2n backslashes before a double quote give n backslashes and the quote
//   opens or closes quoting; 2n+1 give n backslashes and a literal quote;
//   backslashes not before a quote are literal;
// - a run of double quotes counts from 1 when quoting was already open:
//   every third quote of the run is a literal quote, and quoting is open
//   after the run only when the count leaves a remainder of 1 (so "" inside
//   quotes gives one quote and closes them).
// An empty command line gives the single argument emptyLineProgram (the
// program itself, as the system gives its own path).
std::vector<std::string> SplitCommandLine(std::string_view commandLine, std::string_view emptyLineProgram);

}  // namespace vn

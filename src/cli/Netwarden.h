#pragma once

#include <string>
#include <vector>

#include "cli/CliHost.h"

namespace vn::cli {

// One run of netwarden with its arguments (without the program name): reads
// the command line, answers --help, sets up credentials for the commands
// that reach other computers, and runs the command. Gives the exit status.
int RunNetwarden(const std::vector<std::string>& arguments, CliHost& host);

}  // namespace vn::cli

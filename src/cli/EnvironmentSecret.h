#pragma once

#include <string>

namespace vn::cli {

// Takes a secret out of the environment into secret: afterwards the variable
// is gone from the environment and its text wiped where the process kept it,
// so neither a program started later nor a look at this process's memory
// finds it there. False when the variable is not set.
bool TakeEnvironmentSecret(const char* name, std::string& secret);

}  // namespace vn::cli

#pragma once

#include <string>
#include <string_view>

#include "deploy/InstallTarget.h"

namespace vn {

// The command lines given to the deployment tool. Each begins with a blank
// and does not repeat the program name. Every value is quoted so that it
// reaches the tool as exactly one argument, whatever it holds.

// " install -computer HOST -port PORT -path PATH", the path less one trailing
// backslash.
std::string InstallCommandLine(const InstallTarget& target);
// " createinifile -inifile Vantor.ini"
std::string CreateSettingsCommandLine();
// " loadinifile -inifile Vantor.ini -computer HOST"
std::string LoadSettingsCommandLine(std::string_view hostName);

// Empty when hostName can be a computer's name; otherwise why it cannot, as a
// sentence for the user. No computer name is empty, longer than 255 bytes,
// begins with "-" (the tool would read an option) or holds a blank, a quote
// or a control character.
std::string HostNameProblem(std::string_view hostName);

}  // namespace vn

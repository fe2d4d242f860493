#pragma once

#include <string>
#include <string_view>

namespace vn {

// This computer's name as Windows' GetComputerName gives it (the NetBIOS
// form): the host name up to its first dot, in capitals. It is not cut to
// NetBIOS' 15 characters, so that the name still resolves to this computer.
bool ReadLocalComputerName(std::string& name);

// The same rule applied to a given host name.
std::string ComputerNameFromHostName(std::string_view hostName);

}  // namespace vn

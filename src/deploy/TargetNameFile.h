#pragma once

#include <string>
#include <vector>

namespace vn {

// The computer names of a deployment import file: one a line, blanks and
// tabs around it removed, empty lines skipped, in file order. False when the
// file cannot be opened.
bool ReadTargetNames(const std::string& path, std::vector<std::string>& names);

}  // namespace vn

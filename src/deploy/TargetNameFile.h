#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vn {

// Bytes kept of a line of an import file: one more than any computer name
// has, so that a longer line still reads as a name too long to be one (see
// HostNameProblem) and never as a shorter, different name.
inline constexpr std::size_t kTargetLineLimit = 256;

// The computer names of a deployment import file: one a line, blanks and
// tabs around it removed, empty lines skipped, in file order; of a line at
// most kTargetLineLimit bytes are kept, and a zero byte ends its text (as the
// inventory's list files are read). False when the file cannot be opened.
bool ReadTargetNames(const std::string& path, std::vector<std::string>& names);

}  // namespace vn

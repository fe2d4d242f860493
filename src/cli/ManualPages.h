#pragma once

#include <string>
#include <string_view>

namespace vn::cli {

// The manual pages of both programs, in man(7) format, made from the tables
// that --help prints (commands, options) and the one list of the files and
// environment variables the programs read, so the pages cannot drift from the
// programs. version goes into the page's footer.
std::string NetwardenManualPage(std::string_view version);
std::string WindowProgramManualPage(std::string_view version);

}  // namespace vn::cli

#pragma once

#include <string_view>

namespace vn {

// This program's own version, in the form the web service answers with.
inline constexpr std::string_view kProgramVersion = "2.01.12";

// True when the service's answer names a later version than this program's:
// the text after the answer's first ":" (all of it when there is none),
// untrimmed, compares greater byte by byte than kProgramVersion.
bool AnnouncesNewerVersion(const char* answer);

}  // namespace vn
